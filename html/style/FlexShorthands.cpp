#include "html/style/FlexShorthands.h"

#include <charconv>

#include "html/style/StyleValues.h"

namespace {

std::vector<std::string> Words(std::string_view value)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < value.size()) {
        while (i < value.size() && value[i] == ' ')
            ++i;
        size_t start = i;
        while (i < value.size() && value[i] != ' ')
            ++i;
        if (i > start)
            words.emplace_back(value.substr(start, i - start));
    }
    return words;
}

// A plain number without a unit (flex-grow and flex-shrink).
bool IsPlainNumber(const std::string& word)
{
    if (word.empty())
        return false;
    double v = 0;
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, v);
    return ec == std::errc() && ptr == end;
}

void ExpandFlex(std::string_view value, TExpandedDeclarations& out)
{
    std::vector<std::string> w = Words(value);
    auto set = [&](std::string grow, std::string shrink, std::string basis) {
        out.emplace_back("flex-grow", std::move(grow));
        out.emplace_back("flex-shrink", std::move(shrink));
        out.emplace_back("flex-basis", std::move(basis));
    };
    if (w.size() == 1 && w[0] == "none")
        return set("0", "0", "auto");
    if (w.size() == 1 && w[0] == "auto")
        return set("1", "1", "auto");
    // A number alone, or numbers and a basis: an omitted basis is 0 and an
    // omitted shrink factor 1; a basis alone grows and shrinks by 1.
    std::vector<std::string> numbers;
    std::string basis;
    for (const std::string& word : w) {
        if (IsPlainNumber(word) && numbers.size() < 2 && basis.empty())
            numbers.push_back(word);
        else if (basis.empty() && IsUsableDeclaration(piFlexBasis, word))
            basis = word;
        else
            return; // not a flex value: dropped as a whole
    }
    if (numbers.empty() && basis.empty())
        return;
    set(numbers.empty() ? "1" : numbers[0], numbers.size() > 1 ? numbers[1] : "1", basis.empty() ? "0%" : basis);
}

void ExpandFlexFlow(std::string_view value, TExpandedDeclarations& out)
{
    for (const std::string& word : Words(value)) {
        if (word.starts_with("row") || word.starts_with("column"))
            out.emplace_back("flex-direction", word);
        else if (word.find("wrap") != std::string::npos)
            out.emplace_back("flex-wrap", word);
    }
}

void ExpandGap(std::string_view value, TExpandedDeclarations& out)
{
    std::vector<std::string> w = Words(value);
    if (w.empty() || w.size() > 2)
        return;
    out.emplace_back("row-gap", w[0]);
    out.emplace_back("column-gap", w.size() > 1 ? w[1] : w[0]);
}

} // namespace

bool ExpandFlexShorthand(std::string_view name, std::string_view value, TExpandedDeclarations& out)
{
    if (name == "flex")
        ExpandFlex(value, out);
    else if (name == "flex-flow")
        ExpandFlexFlow(value, out);
    else if (name == "gap" || name == "grid-gap")
        ExpandGap(value, out);
    else
        return false;
    return true;
}
