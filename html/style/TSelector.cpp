#include "html/style/TSelector.h"

#include <algorithm>
#include <charconv>

namespace {

bool IsNameByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// Numbers of an+b beyond this are no place an element can have.
constexpr long MaxNth = 1000000000;

class TSelectorReader {
public:
    explicit TSelectorReader(std::string_view text) : FText(text) {}

    std::optional<std::vector<TCompoundSelector>> readSelector();
    // A compound; nested says it is the argument of :not().
    std::optional<TCompoundSelector> readCompound(bool nested);

    bool atEnd() const { return FPos >= FText.size(); }

private:
    char peek() const { return atEnd() ? '\0' : FText[FPos]; }
    bool skipSpaces();
    std::string readName();
    bool readAttribute(TCompoundSelector& compound);
    bool readPseudo(TCompoundSelector& compound, bool nested);
    std::optional<std::string_view> readArgument();

    std::string_view FText;
    size_t FPos = 0;
};

bool TSelectorReader::skipSpaces()
{
    const size_t start = FPos;
    while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r' || peek() == '\f'))
        ++FPos;
    return FPos > start;
}

std::string TSelectorReader::readName()
{
    const size_t start = FPos;
    while (!atEnd() && IsNameByte(peek()))
        ++FPos;
    return std::string(FText.substr(start, FPos - start));
}

bool TSelectorReader::readAttribute(TCompoundSelector& compound)
{
    ++FPos; // [
    skipSpaces();
    TAttributeTest test;
    test.name = readName();
    if (test.name.empty())
        return false;
    skipSpaces();
    if (peek() == ']') {
        ++FPos;
        compound.attributes.push_back(std::move(test));
        return true;
    }
    static constexpr std::pair<char, TAttributeOp> Operators[] = {
        {'~', TAttributeOp::Word}, {'|', TAttributeOp::DashPrefix}, {'^', TAttributeOp::Prefix},
        {'$', TAttributeOp::Suffix}, {'*', TAttributeOp::Contains},
    };
    test.op = TAttributeOp::Equals;
    for (const auto& [symbol, op] : Operators)
        if (peek() == symbol) {
            test.op = op;
            ++FPos;
        }
    if (peek() != '=')
        return false;
    ++FPos;
    skipSpaces();
    if (peek() == '"' || peek() == '\'') {
        const char quote = peek();
        const size_t close = FText.find(quote, FPos + 1);
        if (close == std::string_view::npos)
            return false;
        test.value = std::string(FText.substr(FPos + 1, close - FPos - 1));
        FPos = close + 1;
    } else {
        test.value = readName();
        if (test.value.empty())
            return false;
    }
    skipSpaces();
    if (peek() == 'i' || peek() == 's') { // the case flag: values are compared without case anyway
        ++FPos;
        skipSpaces();
    }
    if (peek() != ']')
        return false;
    ++FPos;
    compound.attributes.push_back(std::move(test));
    return true;
}

std::optional<std::string_view> TSelectorReader::readArgument()
{
    if (peek() != '(')
        return std::nullopt;
    const size_t close = FText.find(')', FPos);
    if (close == std::string_view::npos)
        return std::nullopt;
    std::string_view argument = FText.substr(FPos + 1, close - FPos - 1);
    FPos = close + 1;
    return argument;
}

std::optional<long> ReadInteger(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    long value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || value > MaxNth || value < -MaxNth)
        return std::nullopt;
    return value;
}

// "odd", "even", "3", "2n+1", "-n + 3".
bool ReadNth(std::string_view text, TPseudoTest& test)
{
    std::string compact;
    for (char c : text)
        if (c != ' ' && c != '\t')
            compact += c;
    if (compact == "odd") {
        test.a = 2, test.b = 1;
        return true;
    }
    if (compact == "even") {
        test.a = 2, test.b = 0;
        return true;
    }
    const size_t n = compact.find('n');
    if (n == std::string::npos) {
        std::string_view digits = compact;
        if (digits.starts_with("+"))
            digits.remove_prefix(1);
        auto b = ReadInteger(digits);
        if (!b)
            return false;
        test.a = 0, test.b = *b;
        return true;
    }
    std::string_view factor = std::string_view(compact).substr(0, n);
    if (factor.empty() || factor == "+")
        test.a = 1;
    else if (factor == "-")
        test.a = -1;
    else if (auto a = ReadInteger(factor.starts_with("+") ? factor.substr(1) : factor))
        test.a = *a;
    else
        return false;
    std::string_view offset = std::string_view(compact).substr(n + 1);
    if (offset.empty()) {
        test.b = 0;
        return true;
    }
    if (offset[0] != '+' && offset[0] != '-')
        return false;
    auto b = ReadInteger(offset[0] == '+' ? offset.substr(1) : offset);
    if (!b)
        return false;
    test.b = *b;
    return true;
}

bool TSelectorReader::readPseudo(TCompoundSelector& compound, bool nested)
{
    ++FPos; // :
    if (peek() == ':')
        return false; // pseudo-elements are not built
    const std::string name = readName();
    TPseudoTest test;
    static constexpr std::pair<std::string_view, TPseudoClass> Plain[] = {
        {"first-child", TPseudoClass::FirstChild}, {"first-of-type", TPseudoClass::FirstOfType},
        {"root", TPseudoClass::Root}, {"link", TPseudoClass::Link}, {"visited", TPseudoClass::Visited},
        {"hover", TPseudoClass::Hover}, {"last-child", TPseudoClass::LastChild},
        {"only-child", TPseudoClass::OnlyChild}, {"last-of-type", TPseudoClass::LastOfType},
        {"only-of-type", TPseudoClass::OnlyOfType}, {"empty", TPseudoClass::Empty},
    };
    for (const auto& [known, kind] : Plain)
        if (name == known) {
            test.kind = kind;
            compound.pseudos.push_back(test);
            return true;
        }
    static constexpr std::pair<std::string_view, TPseudoClass> Counted[] = {
        {"nth-child", TPseudoClass::NthChild},
        {"nth-of-type", TPseudoClass::NthOfType},
        {"nth-last-child", TPseudoClass::NthLastChild},
        {"nth-last-of-type", TPseudoClass::NthLastOfType},
    };
    const auto counted = std::find_if(std::begin(Counted), std::end(Counted),
                                      [&name](const auto& entry) { return entry.first == name; });
    if (counted != std::end(Counted)) {
        test.kind = counted->second;
        auto argument = readArgument();
        if (!argument || !ReadNth(*argument, test))
            return false;
        compound.pseudos.push_back(test);
        return true;
    }
    if (name == "not" && !nested && peek() == '(') {
        ++FPos;
        skipSpaces();
        auto inner = readCompound(true);
        skipSpaces();
        if (!inner || peek() != ')')
            return false;
        ++FPos;
        test.kind = TPseudoClass::Not;
        test.negated = std::make_shared<const TCompoundSelector>(std::move(*inner));
        compound.pseudos.push_back(test);
        return true;
    }
    return false;
}

std::optional<TCompoundSelector> TSelectorReader::readCompound(bool nested)
{
    TCompoundSelector compound;
    bool any = false;
    if (peek() == '*') {
        ++FPos;
        any = true;
    } else if (IsNameByte(peek())) {
        compound.tag = readName();
        any = true;
    }
    for (;;) {
        const char c = peek();
        if (c == '.' || c == '#') {
            ++FPos;
            std::string name = readName();
            if (name.empty() || (c == '#' && !compound.id.empty() && compound.id != name))
                return std::nullopt;
            if (c == '.')
                compound.classes.push_back(std::move(name));
            else
                compound.id = std::move(name);
        } else if (c == '[') {
            if (!readAttribute(compound))
                return std::nullopt;
        } else if (c == ':') {
            if (!readPseudo(compound, nested))
                return std::nullopt;
        } else {
            break;
        }
        any = true;
    }
    if (!any)
        return std::nullopt;
    return compound;
}

std::optional<std::vector<TCompoundSelector>> TSelectorReader::readSelector()
{
    // A selector longer than this is no page's: it is not matched.
    constexpr size_t MaxCompounds = 64;
    std::vector<TCompoundSelector> compounds;
    skipSpaces();
    while (!atEnd()) {
        TCombinator combinator = compounds.empty() ? TCombinator::None : TCombinator::Descendant;
        if (peek() == '>' || peek() == '+' || peek() == '~') {
            if (compounds.empty())
                return std::nullopt;
            combinator = peek() == '>' ? TCombinator::Child : peek() == '+' ? TCombinator::Adjacent : TCombinator::Sibling;
            ++FPos;
            skipSpaces();
        }
        auto compound = readCompound(false);
        if (!compound || compounds.size() >= MaxCompounds)
            return std::nullopt;
        compound->combinator = combinator;
        compounds.push_back(std::move(*compound));
        skipSpaces();
    }
    if (compounds.empty())
        return std::nullopt;
    return compounds;
}

uint32_t Pack(uint32_t ids, uint32_t classes, uint32_t tags)
{
    return std::min(ids, 1023u) << 20 | std::min(classes, 1023u) << 10 | std::min(tags, 1023u);
}

void Count(const TCompoundSelector& c, uint32_t& ids, uint32_t& classes, uint32_t& tags)
{
    ids += !c.id.empty();
    classes += uint32_t(c.classes.size() + c.attributes.size());
    tags += !c.tag.empty();
    for (const TPseudoTest& p : c.pseudos) {
        if (p.negated)
            Count(*p.negated, ids, classes, tags);
        else
            ++classes;
    }
}

bool ReadsLater(const TCompoundSelector& c)
{
    for (const TPseudoTest& p : c.pseudos)
        if (p.negated ? ReadsLater(*p.negated) : ReadsLaterSiblings(p.kind))
            return true;
    return false;
}

bool ReadsFacts(const TCompoundSelector& c)
{
    if (!c.attributes.empty() || ReadsLater(c))
        return true;
    for (const TPseudoTest& p : c.pseudos) {
        if (p.negated ? ReadsFacts(*p.negated)
                      : p.kind == TPseudoClass::FirstChild || p.kind == TPseudoClass::NthChild ||
                            p.kind == TPseudoClass::FirstOfType || p.kind == TPseudoClass::NthOfType)
            return true;
    }
    return c.combinator == TCombinator::Adjacent || c.combinator == TCombinator::Sibling;
}

} // namespace

bool ReadsLaterSiblings(TPseudoClass kind)
{
    switch (kind) {
    case TPseudoClass::LastChild:
    case TPseudoClass::OnlyChild:
    case TPseudoClass::NthLastChild:
    case TPseudoClass::LastOfType:
    case TPseudoClass::OnlyOfType:
    case TPseudoClass::NthLastOfType:
    case TPseudoClass::Empty: return true;
    default: return false;
    }
}

std::optional<TSelector> TSelector::parse(std::string_view text)
{
    TSelectorReader reader(text);
    auto compounds = reader.readSelector();
    if (!compounds)
        return std::nullopt;
    TSelector selector;
    selector.FCompounds = std::move(*compounds);
    uint32_t ids = 0, classes = 0, tags = 0;
    const auto& all = selector.FCompounds;
    for (size_t i = 0; i < all.size(); ++i) {
        Count(all[i], ids, classes, tags);
        selector.FNeedsFacts = selector.FNeedsFacts || ReadsFacts(all[i]);
        selector.FNeedsLater = selector.FNeedsLater || ReadsLater(all[i]);
        const bool ancestor = i + 1 < all.size() && (all[i + 1].combinator == TCombinator::Descendant ||
                                                     all[i + 1].combinator == TCombinator::Child);
        if (ancestor) {
            selector.FAncestorKeys.add(TAncestorFilter::TKey::Tag, all[i].tag);
            selector.FAncestorKeys.add(TAncestorFilter::TKey::ID, all[i].id);
            for (const std::string& cls : all[i].classes)
                selector.FAncestorKeys.add(TAncestorFilter::TKey::Class, cls);
        }
    }
    selector.FSpecificity = Pack(ids, classes, tags);
    return selector;
}

uint32_t SpecificityOfKey(std::string_view key)
{
    uint32_t ids = 0, classes = 0, tags = 0;
    // A descendant key: the element, the count and ordinal, then the ancestors.
    size_t space = key.find(' ');
    std::string_view element = key.substr(0, space);
    std::vector<std::string_view> parts{element};
    if (space != std::string_view::npos) {
        std::string_view rest = key.substr(space + 1);
        while (!rest.empty() && rest[0] >= '0' && rest[0] <= '9')
            rest.remove_prefix(1);
        while (!rest.empty()) {
            size_t end = rest.find(' ');
            parts.push_back(rest.substr(0, end));
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        }
    }
    for (std::string_view part : parts) {
        if (part.empty())
            continue;
        tags += part[0] != '.' && part[0] != '#' && part[0] != ':';
        for (char c : part) {
            ids += c == '#';
            classes += c == '.' || c == ':';
        }
    }
    return Pack(ids, classes, tags);
}
