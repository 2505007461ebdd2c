#include "html/style/StyleSheetParser.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <string>
#include <optional>
#include <utility>
#include <vector>

#include "html/parse/HtmlReader.h"
#include "html/style/FlexShorthands.h"
#include "html/style/StyleValues.h"
#include "html/style/TProperties.h"
#include "html/style/TStyleList.h"

// ---------------------------------------------------------------- string source

char TStringStyleSource::translate(char c) const
{
    // Our sheets come with LF line ends: a line end separates words like a space.
    if (c == '\n' || c == '\t')
        return ' ';
    return c;
}

char TStringStyleSource::next()
{
    if (FPos >= FText.size())
        return EndOfSheet;
    return translate(FText[FPos++]);
}

char TStringStyleSource::peek()
{
    return FPos >= FText.size() ? EndOfSheet : translate(FText[FPos]);
}

// ---------------------------------------------------------------- reader source

char TReaderStyleSource::next() { return char(ReadChar()); }

char TReaderStyleSource::peek()
{
    const TReaderState& s = ReadState;
    if (s.ReadingInserted && s.InsertedPos < s.Inserted.size())
        return s.Inserted[s.InsertedPos];
    return s.DocPos < s.Doc.size() ? s.Doc[s.DocPos] : 0;
}

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameChar(char c) { return c == '-' || IsDigit(c) || IsLetter(c); }
bool IsSelectorChar(char c) { return c == ' ' || c == '#' || c == '.' || c == ':' || c == '_' || IsNameChar(c); }

// ---------------------------------------------------------------- url()

bool IsAbsoluteUrl(std::string_view url)
{
    size_t scheme = url.find("://");
    size_t slash = url.find('/');
    return (scheme != std::string_view::npos && scheme < slash) || url.starts_with("mailto:");
}

// Removes "/./" segments and "/../" with the segment before it (never the
// scheme and host). One pass over the segments.
std::string RemoveDotSegments(const std::string& url)
{
    size_t scheme = url.find("://");
    size_t start = scheme == std::string::npos ? 0 : url.find('/', scheme + 3);
    if (start == std::string::npos)
        return url;
    std::vector<std::string_view> kept;
    std::string_view path = std::string_view(url).substr(start + 1);
    for (;;) {
        size_t slash = path.find('/');
        std::string_view segment = path.substr(0, slash);
        const bool last = slash == std::string_view::npos;
        if (segment == "." && !last) {
            // dropped
        } else if (segment == ".." && !last) {
            if (!kept.empty())
                kept.pop_back();
        } else {
            kept.push_back(segment);
        }
        if (last)
            break;
        path.remove_prefix(slash + 1);
    }
    std::string result = url.substr(0, start);
    for (std::string_view segment : kept) {
        result += '/';
        result += segment;
    }
    return result;
}

std::string ResolveAgainst(std::string_view base, std::string_view url)
{
    if (Contains(base, "://")) {
        if (IsAbsoluteUrl(url))
            return std::string(url);
        if (url.starts_with("/")) {
            // Relative to the server's root.
            size_t host = base.find("://") + 3;
            size_t root = base.find('/', host);
            return RemoveDotSegments(std::string(base.substr(0, root)) + std::string(url));
        }
        size_t lastSlash = base.rfind('/');
        std::string_view path = lastSlash < base.find("://") + 3 ? base : base.substr(0, lastSlash + 1);
        std::string combined(path);
        if (!combined.ends_with("/"))
            combined += '/';
        return RemoveDotSegments(combined + std::string(url));
    }
    const bool hasDrive = url.size() >= 2 && url[1] == ':';
    if (hasDrive || url.starts_with("\\\\") || url.starts_with("/"))
        return std::string(url);
    std::string folder(base);
    if (!folder.empty() && !folder.ends_with("/") && !folder.ends_with("\\"))
        folder += '/';
    return folder + std::string(url);
}

} // namespace

std::string ResolveStyleUrl(std::string_view basePath, std::string_view value)
{
    size_t open = value.find("url(");
    if (open == std::string_view::npos || basePath.empty())
        return std::string(value);
    size_t close = value.find(')', open);
    std::string_view inside = value.substr(open + 4, close == std::string_view::npos ? std::string_view::npos : close - open - 4);
    std::string url = ResolveAgainst(basePath, Unquote(Trim(inside)));
    std::string result(value.substr(0, open));
    result += "url(" + url + ")";
    if (close != std::string_view::npos)
        result += value.substr(close + 1);
    return result;
}

namespace {

// ---------------------------------------------------------------- shorthands

const std::array<std::string_view, 13> Shorthands = {
    "margin", "padding", "border-width", "border", "border-top", "border-right", "border-bottom",
    "border-left", "font", "background", "list-style", "border-color", "border-style",
};
enum TShorthand { shMargin, shPadding, shBorderWidth, shBorder, shBorderTop, shBorderRight, shBorderBottom,
                  shBorderLeft, shFont, shBackground, shListStyle, shBorderColor, shBorderStyle };

const std::array<std::string_view, 16> FontKeywords = {
    "italic", "oblique", "normal", "bolder", "lighter", "bold", "small-caps", "larger", "smaller",
    "xx-small", "x-small", "small", "medium", "large", "x-large", "xx-large",
};

int ShorthandIndex(std::string_view name)
{
    for (size_t i = 0; i < Shorthands.size(); ++i)
        if (Shorthands[i] == name)
            return int(i);
    return -1;
}

using TDeclarations = std::vector<std::pair<std::string, std::string>>;

// Reduces double spaces and drops the space after each comma.
std::string NormalizeSpaces(std::string_view value)
{
    std::string out;
    for (char c : Trim(value)) {
        if (c == ' ' && (out.ends_with(" ") || out.ends_with(",")))
            continue;
        out += c;
    }
    return out;
}

// Words at spaces; quoted parts stay in their word; "/" starts a new word.
std::vector<std::string> SplitWords(std::string_view value, size_t maxWords)
{
    std::vector<std::string> words;
    std::string word;
    char quote = 0;
    auto finish = [&] {
        if (!word.empty() && words.size() < maxWords)
            words.push_back(word);
        word.clear();
    };
    for (char c : NormalizeSpaces(value)) {
        if (quote) {
            word += c;
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
            word += c;
        } else if (c == ' ') {
            finish();
        } else if (c == '/' && !word.empty()) {
            finish();
            word = "/";
        } else {
            word += c;
        }
    }
    finish();
    return words;
}

// Takes every "rgb(...)" or "url(...)" group out of the value (each leaves
// a space behind).
std::vector<std::string> TakeGroups(std::string& value, std::string_view function)
{
    std::vector<std::string> groups;
    std::string rest;
    size_t pos = 0;
    for (size_t start; (start = value.find(function, pos)) != std::string::npos;) {
        size_t close = value.find(')', start);
        size_t end = close == std::string::npos ? value.size() : close + 1;
        rest.append(value, pos, start - pos);
        rest += ' ';
        groups.push_back(value.substr(start, end - start));
        pos = end;
    }
    rest.append(value, pos, std::string::npos);
    value = std::move(rest);
    return groups;
}

void ExpandBoxSides(std::string_view prefix, std::string_view suffix, std::string_view value, TDeclarations& out)
{
    static constexpr std::array<std::string_view, 4> Sides = {"top", "right", "bottom", "left"};
    std::vector<std::string> w = SplitWords(value, 4);
    if (w.empty())
        return;
    // top, right, bottom, left from one to four words
    std::array<std::string, 4> v;
    switch (w.size()) {
    case 1: v = {w[0], w[0], w[0], w[0]}; break;
    case 2: v = {w[0], w[1], w[0], w[1]}; break;
    case 3: v = {w[0], w[1], w[2], w[1]}; break;
    default: v = {w[0], w[1], w[2], w[3]}; break;
    }
    for (int side = 0; side < 4; ++side)
        out.emplace_back(std::string(prefix) + "-" + std::string(Sides[side]) + std::string(suffix), v[side]);
}

void ExpandBorder(std::string_view name, std::string_view value, TDeclarations& out)
{
    std::string rest(value);
    std::vector<std::string> words = TakeGroups(rest, "url(");
    for (std::string& g : TakeGroups(rest, "rgb("))
        words.push_back(std::move(g));
    for (std::string& w : SplitWords(rest, 7))
        words.push_back(std::move(w));
    const std::string base(name);
    for (const std::string& w : words) {
        if (ParseColor(w, THashRule::Required))
            out.emplace_back(base + "-color", w);
        else if (BorderStyleOf(w))
            out.emplace_back(base + "-style", w);
        else if (name == "border")
            for (std::string_view side : {"top", "right", "bottom", "left"})
                out.emplace_back("border-" + std::string(side) + "-width", w);
        else
            out.emplace_back(base + "-width", w);
    }
}

void ExpandFont(std::string_view value, TDeclarations& out)
{
    std::string family;
    for (const std::string& w : SplitWords(value, 7)) {
        int keyword = -1;
        for (size_t i = 0; i < FontKeywords.size(); ++i)
            if (FontKeywords[i] == w)
                keyword = int(i);
        if (w.starts_with("/"))
            out.emplace_back("line-height", w.substr(1));
        else if (keyword >= 0 && keyword <= 1)
            out.emplace_back("font-style", w);
        else if (keyword >= 2 && keyword <= 5)
            out.emplace_back("font-weight", w);
        else if (keyword == 6)
            out.emplace_back("font-variant", w);
        else if (keyword >= 7 || IsDigit(w[0]))
            out.emplace_back("font-size", w);
        else
            family += (family.empty() ? "" : " ") + w; // an unquoted name of several words
    }
    if (!family.empty())
        out.emplace_back("font-family", family);
}

void ExpandBackground(std::string_view value, std::string_view basePath, TDeclarations& out)
{
    std::string rest(value);
    std::vector<std::string> urls = TakeGroups(rest, "url(");
    for (std::string& g : TakeGroups(rest, "rgb("))
        out.emplace_back("background-color", g);
    for (const std::string& url : urls)
        out.emplace_back("background-image", basePath.empty() ? url : ResolveStyleUrl(basePath, url));
    std::vector<std::string> position;
    for (const std::string& w : SplitWords(rest, 7)) {
        if (w == "none")
            out.emplace_back("background-image", w);
        else if (ParseColor(w, THashRule::Required))
            out.emplace_back("background-color", w);
        else if (Contains(w, "repeat"))
            out.emplace_back("background-repeat", w);
        else if (w == "fixed" || w == "scroll")
            out.emplace_back("background-attachment", w);
        else
            position.push_back(w);
    }
    if (position.size() > 2)
        position.erase(position.begin(), position.end() - 2);
    if (!position.empty())
        out.emplace_back("background-position", position.size() == 1 ? position[0] : position[0] + " " + position[1]);
}

void ExpandListStyle(std::string_view value, std::string_view basePath, TDeclarations& out)
{
    for (const std::string& w : SplitWords(value, 7)) {
        // Markers are always drawn outside: the position word is not a type
        // (taken as one, "square outside" left the default marker).
        if (w == "inside" || w == "outside")
            continue;
        if (Contains(w, "url("))
            out.emplace_back("list-style-image", basePath.empty() ? w : ResolveStyleUrl(basePath, w));
        else
            out.emplace_back("list-style-type", w);
    }
}

// One declaration as properties: shorthands expanded, url() resolved. A
// shorthand whose value reads a var() stays whole: the words are known only
// for each element.
TDeclarations Expand(const std::string& name, const std::string& value, std::string_view basePath)
{
    TDeclarations out;
    if (name.starts_with("--") || (ShorthandIndex(name) >= 0 && Contains(value, "var("))) {
        out.emplace_back(name, value);
        return out;
    }
    if (ExpandFlexShorthand(name, value, out))
        return out;
    switch (ShorthandIndex(name)) {
    case shMargin: ExpandBoxSides("margin", "", value, out); break;
    case shPadding: ExpandBoxSides("padding", "", value, out); break;
    case shBorderWidth: ExpandBoxSides("border", "-width", value, out); break;
    case shBorderColor: ExpandBoxSides("border", "-color", value, out); break;
    case shBorderStyle: ExpandBoxSides("border", "-style", value, out); break;
    case shBorder: case shBorderTop: case shBorderRight: case shBorderBottom: case shBorderLeft:
        ExpandBorder(name, value, out);
        break;
    case shFont: ExpandFont(value, out); break;
    case shBackground: ExpandBackground(value, basePath, out); break;
    case shListStyle: ExpandListStyle(value, basePath, out); break;
    default:
        if (name == "opacity") {
            // Drawn opaque, except that nothing at all is drawn of an element
            // made fully transparent: it keeps its space as a hidden one does.
            double amount = 1;
            std::string_view v = Trim(value);
            if (!v.empty() && (std::isdigit(static_cast<unsigned char>(v[0])) || v[0] == '.' || v[0] == '-'))
                amount = std::strtod(std::string(v).c_str(), nullptr);
            if (amount <= 0)
                out.emplace_back("visibility", "hidden");
            break;
        }
        out.emplace_back(name, !basePath.empty() && Contains(value, "url(") ? ResolveStyleUrl(basePath, value) : value);
    }
    return out;
}

} // namespace

bool IsShorthandName(std::string_view name) { return ShorthandIndex(name) >= 0; }

std::vector<std::pair<std::string, std::string>> ExpandShorthand(const std::string& name, const std::string& value)
{
    return Expand(name, value, {});
}

namespace {

// Takes a trailing "!important" off the value and says whether it was there.
TPriority TakeImportant(std::string& value)
{
    std::string_view v = Trim(value);
    constexpr std::string_view Word = "important";
    if (v.size() <= Word.size() || LowerCase(v.substr(v.size() - Word.size())) != Word)
        return TPriority::Normal;
    std::string_view rest = Trim(v.substr(0, v.size() - Word.size()));
    if (!rest.ends_with("!"))
        return TPriority::Normal;
    value = std::string(Trim(rest.substr(0, rest.size() - 1)));
    return TPriority::Important;
}

bool IsSimpleName(std::string_view name)
{
    if (name.empty())
        return false;
    for (char c : name)
        if (!IsNameChar(c) && c != '_')
            return false;
    return true;
}

// One simple selector in the order the style list keys use (tag, class, ID,
// pseudo-class), or nothing when it is not one this reader can match: a
// second class or ID, an empty part, or a pseudo-class other than the link
// states.
std::optional<std::string> CanonicalSimpleSelector(std::string_view text)
{
    std::string_view parts[4]; // tag, class, ID, pseudo-class
    size_t part = 0;
    size_t begin = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : '.';
        if (c != '.' && c != '#' && c != ':')
            continue;
        std::string_view name = text.substr(begin, i - begin);
        if (i > 0 || !name.empty()) {
            if (!IsSimpleName(name) || !parts[part].empty())
                return std::nullopt;
            parts[part] = name;
        }
        part = c == '.' ? 1 : c == '#' ? 2 : 3;
        begin = i + 1;
    }
    if (!parts[3].empty() && parts[3] != "link" && parts[3] != "visited" && parts[3] != "hover")
        return std::nullopt;
    std::string key(parts[0]);
    if (!parts[1].empty()) key.append(".").append(parts[1]);
    if (!parts[2].empty()) key.append("#").append(parts[2]);
    if (!parts[3].empty()) key.append(":").append(parts[3]);
    return key;
}

// The selector with every simple selector in key order and single spaces
// between them, or nothing when any part of it cannot be matched.
std::optional<std::string> SupportedSelector(std::string_view selector)
{
    std::string result;
    while (!selector.empty()) {
        size_t space = selector.find(' ');
        std::string_view word = selector.substr(0, space);
        selector = space == std::string_view::npos ? std::string_view() : selector.substr(space + 1);
        if (word.empty())
            continue;
        std::optional<std::string> simple = CanonicalSimpleSelector(word);
        if (!simple)
            return std::nullopt;
        if (!result.empty())
            result += ' ';
        result += *simple;
    }
    if (result.empty())
        return std::nullopt;
    return result;
}

// ---------------------------------------------------------------- the reader

// Sheets nested deeper than this in @media blocks are skipped.
constexpr int MaxBlockDepth = 16;
// An import chain deeper than this, or more imports than that for one
// sheet, are left out: a loop of imports or a crafted tree ends quickly.
constexpr size_t MaxImportDepth = 8;
constexpr int MaxImports = 64;

struct TImportState {
    TSheetLoader loader;
    std::vector<std::string> chain; // the sheets being read, outermost first
    int loaded = 0;
};

// A STYLE element's sheet ends at the next tag; a loaded sheet is plain CSS,
// where "<" is an ordinary character; inline declarations end with the text.
enum class TSheetKind : uint8_t { Element, Loaded, Inline };

class TSheetParser {
public:
    TSheetParser(TStyleSource& source, TSheetKind kind, std::string_view basePath)
        : FSource(source), FKind(kind), FBasePath(basePath)
    {
    }

    char parseSheet(TStyleList& styles, char current);
    enum class TRuleScope : uint8_t { Sheet, MediaBlock };
    void readRules(TStyleList& styles, TRuleScope scope);
    void readAtRule(TStyleList& styles);
    void readImport(TStyleList& styles, std::string_view rest);
    void parseInline(TProperties& target);
    void setImports(TImportState* imports) { FImports = imports; }

private:
    char take();
    void pushBack(char c) { FPushBack = c; }
    void advance();
    bool atEnd() const { return FCh == EndOfSheet; }
    bool stopsAtTag() const { return FKind == TSheetKind::Element; }
    bool atStop() const { return atEnd() || (FCh == '<' && stopsAtTag()); }
    void skipSpaces();
    bool isHtmlCommentMarker();
    void skipAtRule();
    std::vector<std::string> readSelectorTexts();
    void useSelectors(TStyleList& styles, std::vector<std::string> texts);
    std::string selectorKey(TStyleList& styles, const std::string& selector);
    using TStore = std::function<void(const std::string&, const std::string&, TPriority)>;
    void readDeclarations(const TStore& store);
    std::string readPreludeText();
    void readNestedRule(std::string prelude, const TStore& store);
    void readNestedAtRule(const TStore& store);
    void readDeclarationText(std::string_view text, const TStore& store);

    TStyleSource& FSource;
    TSheetKind FKind;
    std::string_view FBasePath;
    char FCh = ' ';
    int FPushBack = -1;
    char FEndByte = EndOfSheet; // what the source ended with
    bool FSourceEnded = false;
    std::vector<std::string> FSelectors;     // keys of the rule being read
    std::vector<std::string> FSelectorTexts; // and its selectors as written
    TStyleList* FStyles = nullptr;           // where nested rules go
    // Rules or blocks came before: a later @import is not one (CSS ignores it).
    bool FRulesRead = false;
    int FBlockDepth = 0;
    TImportState* FImports = nullptr;
};

// A byte from the push-back or the source; CR becomes a space, 0 ends the text.
char TSheetParser::take()
{
    if (FPushBack >= 0) {
        char c = char(FPushBack);
        FPushBack = -1;
        if (c == 0)
            FEndByte = 0;
        return c == 0 ? EndOfSheet : c;
    }
    if (FSourceEnded)
        return EndOfSheet;
    char c = FSource.next();
    if (c == EndOfSheet || c == 0) {
        FEndByte = c;
        FSourceEnded = true;
        return EndOfSheet;
    }
    return c == '\r' ? ' ' : c;
}

// Next character, with comments skipped.
void TSheetParser::advance()
{
    for (;;) {
        FCh = take();
        if (FCh != '/')
            return;
        char following = take();
        if (following != '*') {
            pushBack(following);
            return;
        }
        // A comment ends after "*/" or at the end; in a STYLE element also at
        // a "<", which is kept so that the tag after an unclosed comment is
        // still read.
        char previous = 0;
        for (;;) {
            char c = take();
            if (c == EndOfSheet || (c == '<' && stopsAtTag())) {
                FCh = c;
                return;
            }
            if (previous == '*' && c == '/')
                break;
            previous = c;
        }
    }
}

void TSheetParser::skipSpaces()
{
    while (FCh == ' ')
        advance();
}

bool TSheetParser::isHtmlCommentMarker()
{
    char following = FPushBack >= 0 ? char(FPushBack) : FSourceEnded ? EndOfSheet : FSource.peek();
    return following == '!';
}

void TSheetParser::skipAtRule()
{
    while (!atStop() && FCh != ';' && FCh != '{')
        advance();
    if (FCh == ';') {
        advance();
        return;
    }
    int depth = 0;
    while (!atStop()) {
        if (FCh == '{')
            ++depth;
        else if (FCh == '}' && --depth == 0) {
            advance();
            return;
        }
        advance();
    }
}

std::string TSheetParser::selectorKey(TStyleList& styles, const std::string& selector)
{
    std::vector<std::string_view> words;
    std::string_view rest = selector;
    while (!rest.empty()) {
        size_t space = rest.find(' ');
        if (space != 0)
            words.push_back(rest.substr(0, space));
        rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
    }
    if (words.size() <= 1)
        return words.empty() ? std::string() : std::string(words[0]);
    // The element first, then the ancestor count, an ordinal that keeps keys
    // apart, and the ancestors from the nearest out.
    std::string key(words.back());
    key += ' ';
    key += std::to_string(words.size() - 1);
    key += styles.nextOrdinal();
    for (size_t i = words.size() - 1; i-- > 0;) {
        key += words[i];
        key += ' ';
    }
    return key;
}

std::vector<std::string> TSheetParser::readSelectorTexts()
{
    std::vector<std::string> texts;
    for (;;) {
        if (FCh == ',')
            advance();
        skipSpaces();
        // The whole selector is read, so that one this reader cannot match
        // ("p::first-line", "li:last-child") is dropped as a whole instead of
        // being cut short into a selector for other elements. Commas inside
        // brackets, parentheses and quotes belong to the selector.
        std::string selector;
        int depth = 0;
        char quote = 0;
        while (!atStop() && (quote || depth > 0 || (FCh != ',' && FCh != '{'))) {
            if (quote) {
                quote = FCh == quote ? 0 : quote;
            } else if (FCh == '"' || FCh == '\'') {
                quote = FCh;
            } else if (FCh == '(' || FCh == '[') {
                ++depth;
            } else if ((FCh == ')' || FCh == ']') && depth > 0) {
                --depth;
            } else if (depth > 0 && (FCh == '{' || FCh == '}')) {
                break; // an unclosed bracket does not swallow the rule
            }
            selector += FCh;
            advance();
        }
        texts.push_back(std::move(selector));
        if (FCh != ',')
            return texts;
    }
}

void TSheetParser::useSelectors(TStyleList& styles, std::vector<std::string> texts)
{
    FSelectors.clear();
    FSelectorTexts.clear();
    for (const std::string& selector : texts) {
        const bool readable = std::all_of(selector.begin(), selector.end(), IsSelectorChar);
        std::string text = LowerCase(Trim(selector));
        if (std::optional<std::string> key = readable ? SupportedSelector(text) : std::nullopt)
            FSelectors.push_back(selectorKey(styles, *key));
        else if (std::optional<std::string> newer = styles.selectorKey(text))
            FSelectors.push_back(std::move(*newer));
        FSelectorTexts.push_back(std::move(text));
    }
}

// A character no declaration starts with but a nested rule may.
bool StartsNestedRule(char c) { return c != 0 && std::string_view("@&.#>+~:[*").find(c) != std::string_view::npos; }

// Rules nested in a rule's declarations ("pre code { ... }", "&:hover
// { ... }", "> li { ... }", "@media ... { ... }") apply to what the outer
// selectors and their own select together; a declaration list without them
// reads as it always did.
void TSheetParser::readDeclarations(const TStore& store)
{
    const bool inlineText = FKind == TSheetKind::Inline;
    const bool nesting = !inlineText && FStyles;
    for (;;) {
        skipSpaces();
        if (nesting && FCh == '@') {
            readNestedAtRule(store);
            continue;
        }
        if (nesting && StartsNestedRule(FCh)) {
            readNestedRule({}, store);
            continue;
        }
        std::string name;
        while (IsNameChar(FCh)) {
            name += FCh;
            advance();
        }
        const bool spaceAfterName = FCh == ' ';
        skipSpaces();
        if (nesting && !name.empty() && FCh != ':' && FCh != '=' && FCh != ';' && FCh != '}' && !atStop()) {
            readNestedRule(name + (spaceAfterName ? " " : ""), store);
            continue;
        }
        name = LowerCase(Trim(name));
        if (FCh == ':' || FCh == '=') {
            const char separator = FCh;
            advance();
            std::string value;
            char quote = 0;
            while (!atEnd() && FCh != ';' && (inlineText || ((FCh != '<' || !stopsAtTag()) && FCh != '}'))) {
                if (quote)
                    quote = FCh == quote ? 0 : quote;
                else if (FCh == '"' || FCh == '\'')
                    quote = FCh;
                else if (nesting && FCh == '{')
                    break; // "a:hover {": a nested rule after all
                value += FCh;
                advance();
            }
            if (nesting && FCh == '{') {
                readNestedRule(name + separator + value, store);
                continue;
            }
            const TPriority priority = TakeImportant(value);
            value = LowerCase(Unquote(Trim(value)));
            for (const auto& [property, text] : Expand(name, value, FBasePath))
                if (property.starts_with("--") || IsUsableDeclaration(PropertyIndex(property), text))
                    store(property, text, priority);
        }
        skipSpaces();
        if (FCh == ';')
            advance();
        while (!atEnd() && FCh != '-' && !IsDigit(FCh) && !IsLetter(FCh) && !(nesting && StartsNestedRule(FCh)) &&
               (inlineText || (!atStop() && FCh != '}')))
            advance();
        if (atEnd() || (!inlineText && (atStop() || FCh == '}')))
            return;
    }
}

// The rest of a nested rule's prelude, up to its "{" or to the ";" or "}"
// that shows it was no rule. Quotes and brackets are not followed: what
// turns out to be no rule must end where a declaration always ended (an
// unclosed quote in a value must not swallow the declarations after it).
std::string TSheetParser::readPreludeText()
{
    std::string text;
    while (!atStop() && FCh != '{' && FCh != ';' && FCh != '}') {
        text += FCh;
        advance();
    }
    return text;
}

// Joins a nested selector to an outer one: in place of each "&", else after
// it as a descendant (or with the combinator it starts with).
std::string NestedSelector(std::string_view outer, std::string_view nested)
{
    std::string joined;
    if (nested.find('&') == std::string_view::npos) {
        joined.append(outer).append(" ").append(nested);
        return joined;
    }
    for (char c : nested) {
        if (c == '&')
            joined.append(outer);
        else
            joined += c;
    }
    return joined;
}

// Selectors a nested rule may make from the outer rule's and its own, so
// that crafted nesting cannot multiply them without end.
constexpr size_t MaxNestedSelectors = 256;

void TSheetParser::readNestedRule(std::string prelude, const TStore& store)
{
    prelude += readPreludeText();
    if (FCh != '{') {
        // No rule: what was read is read as the declarations it was taken for.
        readDeclarationText(prelude, store);
        if (FCh == ';')
            advance();
        return;
    }
    std::vector<std::string> outerKeys = FSelectors, outerTexts = FSelectorTexts;
    std::vector<std::string> joined;
    TStringStyleSource source(prelude);
    TSheetParser reader(source, TSheetKind::Loaded, {});
    reader.advance();
    for (const std::string& own : reader.readSelectorTexts())
        for (const std::string& outer : outerTexts)
            if (joined.size() < MaxNestedSelectors)
                joined.push_back(NestedSelector(outer, Trim(own)));
    advance();
    if (FBlockDepth < MaxBlockDepth) {
        useSelectors(*FStyles, std::move(joined));
        ++FBlockDepth;
        readDeclarations(store);
        --FBlockDepth;
    } else {
        FSelectors.clear();
        readDeclarations(store);
    }
    FSelectors = std::move(outerKeys);
    FSelectorTexts = std::move(outerTexts);
    if (FCh == '}')
        advance();
}

// An @media block inside a rule holds declarations for the rule's own
// selectors; other @-rules there are skipped.
void TSheetParser::readNestedAtRule(const TStore& store)
{
    std::string prelude = readPreludeText();
    const std::string lower = LowerCase(Trim(prelude));
    const bool media = lower.starts_with("@media") && lower.size() > 6 && (lower[6] == ' ' || lower[6] == '(');
    if (FCh != '{' || !media || FBlockDepth >= MaxBlockDepth || !FStyles->mediaApplies(Trim(lower.substr(6)))) {
        if (FCh == '{') {
            int depth = 0;
            while (!atStop()) {
                if (FCh == '{')
                    ++depth;
                else if (FCh == '}' && --depth == 0)
                    break;
                advance();
            }
        }
        if (FCh == ';' || FCh == '}')
            advance();
        return;
    }
    advance();
    ++FBlockDepth;
    readDeclarations(store);
    --FBlockDepth;
    if (FCh == '}')
        advance();
}

// Declarations read from text already taken from the sheet, as a list
// without nesting would have read them.
void TSheetParser::readDeclarationText(std::string_view text, const TStore& store)
{
    std::string copy(text);
    TStringStyleSource source(copy);
    TSheetParser reader(source, TSheetKind::Inline, FBasePath);
    reader.advance();
    reader.readDeclarations(store);
}

char TSheetParser::parseSheet(TStyleList& styles, char current)
{
    pushBack(current == '\r' ? ' ' : current);
    FCh = ' ';
    // The HTML comment markers put around sheets are skipped; a "<" that
    // does not open one is the next tag (an empty STYLE element).
    while (FCh == ' ' || FCh == '!' || FCh == '-' || FCh == '>' || (FCh == '<' && isHtmlCommentMarker()))
        advance();
    readRules(styles, TRuleScope::Sheet);
    return atEnd() ? FEndByte : FCh;
}

void TSheetParser::readRules(TStyleList& styles, TRuleScope scope)
{
    auto store = [this, &styles](const std::string& name, const std::string& value, TPriority priority) {
        for (const std::string& key : FSelectors)
            styles.addProperty(key, name, value, priority);
    };
    while (!atStop() && !(scope == TRuleScope::MediaBlock && FCh == '}')) {
        if (FCh == '@') {
            readAtRule(styles);
        } else {
            FRulesRead = true;
            FStyles = &styles;
            useSelectors(styles, readSelectorTexts());
            if (FCh == '{') {
                advance();
                readDeclarations(store);
                if (FCh == '}')
                    advance();
            }
        }
        while (FCh == ' ' || FCh == '-' || FCh == '>')
            advance();
    }
}

// An @media block whose media apply is read like the sheet around it, an
// @import at the start of a sheet reads the sheet it names in its place;
// every other @-rule is skipped.
void TSheetParser::readAtRule(TStyleList& styles)
{
    std::string prelude;
    char quote = 0;
    while (!atStop() && (quote || (FCh != ';' && FCh != '{'))) {
        if (quote)
            quote = FCh == quote ? 0 : quote;
        else if (FCh == '"' || FCh == '\'')
            quote = FCh;
        prelude += FCh;
        advance();
    }
    prelude = std::string(Trim(prelude));
    const std::string lower = LowerCase(prelude);
    if (FCh != '{' && lower.starts_with("@import") && !FRulesRead) {
        skipAtRule();
        readImport(styles, std::string_view(prelude).substr(7));
        return;
    }
    const bool media = lower.starts_with("@media") && lower.size() > 6 && (lower[6] == ' ' || lower[6] == '(');
    FRulesRead = true;
    if (FCh != '{' || !media || FBlockDepth >= MaxBlockDepth || !styles.mediaApplies(Trim(lower.substr(6)))) {
        skipAtRule();
        return;
    }
    advance();
    ++FBlockDepth;
    readRules(styles, TRuleScope::MediaBlock);
    --FBlockDepth;
    if (FCh == '}')
        advance();
}

// "url(name) media" or "'name' media".
void TSheetParser::readImport(TStyleList& styles, std::string_view rest)
{
    rest = Trim(rest);
    std::string_view name;
    if (LowerCase(rest.substr(0, 4)) == "url(") {
        size_t close = rest.find(')');
        if (close == std::string_view::npos)
            return;
        name = Unquote(Trim(rest.substr(4, close - 4)));
        rest.remove_prefix(close + 1);
    } else if (!rest.empty() && (rest[0] == '"' || rest[0] == '\'')) {
        size_t close = rest.find(rest[0], 1);
        if (close == std::string_view::npos)
            return;
        name = rest.substr(1, close - 1);
        rest.remove_prefix(close + 1);
    } else {
        return;
    }
    if (name.empty() || !FImports || !FImports->loader || !styles.mediaApplies(Trim(rest)))
        return;
    TImportState& state = *FImports;
    std::string resolved = FBasePath.empty() ? std::string(name) : ResolveAgainst(FBasePath, name);
    if (resolved.starts_with("/"))
        resolved = RemoveDotSegments(resolved); // one name for one sheet, so that loops are seen
    if (state.chain.size() >= MaxImportDepth || state.loaded >= MaxImports)
        return;
    for (const std::string& open : state.chain)
        if (open == resolved)
            return; // a sheet that imports itself, directly or round about
    std::string text, basePath;
    ++state.loaded;
    if (!state.loader(resolved, text, basePath))
        return;
    state.chain.push_back(resolved);
    TStringStyleSource source(text);
    TSheetParser nested(source, TSheetKind::Loaded, basePath);
    nested.FImports = FImports;
    nested.parseSheet(styles, ' ');
    state.chain.pop_back();
}

void TSheetParser::parseInline(TProperties& target)
{
    advance();
    readDeclarations([&target](const std::string& name, const std::string& value, TPriority priority) {
        target.setPropertyByName(name, value, priority);
    });
}

} // namespace

char ParseStyleSheet(TStyleList& styles, char current, TStyleSource& source, std::string_view basePath,
                     const TSheetLoader& loader)
{
    TImportState imports{loader, {}, 0};
    TSheetParser parser(source, TSheetKind::Element, basePath);
    parser.setImports(&imports);
    return parser.parseSheet(styles, current);
}

void ParseStyleElement(TStyleList& styles)
{
    TReaderStyleSource source;
    ParseStyleSheet(styles, char(ReadState.Ch), source);
}

void ParseStyleSheetText(TStyleList& styles, std::string_view text, std::string_view basePath,
                         const TSheetLoader& loader, std::string_view name)
{
    TImportState imports{loader, {}, 0};
    if (!name.empty())
        imports.chain.emplace_back(name);
    TStringStyleSource source(text);
    TSheetParser parser(source, TSheetKind::Loaded, basePath);
    parser.setImports(&imports);
    parser.parseSheet(styles, ' ');
}

void ParsePropertyDeclarations(std::string_view text, TProperties& target)
{
    std::string lower = LowerCase(text);
    TStringStyleSource source(lower);
    TSheetParser(source, TSheetKind::Inline, {}).parseInline(target);
}

std::unique_ptr<TProperties> ParsePropertyDeclarations(std::string_view text)
{
    auto props = std::make_unique<TProperties>();
    ParsePropertyDeclarations(text, *props);
    return props;
}

std::unique_ptr<TProperties, void (*)(TProperties*)> NewInlineStyleProperties(const std::string& declarations)
{
    return {ParsePropertyDeclarations(declarations).release(), [](TProperties* props) { delete props; }};
}
