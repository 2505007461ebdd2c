#include "search/ContextPassages.h"

#include <algorithm>

#include "search/PassageReadingStart.h"
#include "search/TPassageCutter.h"
#include "search/TTextMatcher.h"
#include "search/TVisibleTextReader.h"

namespace {

size_t LongestLength(const std::vector<std::string>& strings)
{
    size_t longest = 0;
    for (const std::string& s : strings)
        longest = std::max(longest, s.size());
    return longest;
}

// Most pages show their words early: the bytes are read a piece at a time
// and only until the passages are settled.
TPassageCutter CutWhileReading(std::string_view raw, int codePage, bool markup,
    const std::vector<std::string>& searchStrings, const TPassageRules& rules)
{
    constexpr size_t Piece = 2048;
    TVisibleTextReader reader(raw, codePage, markup);
    TPassageCutter cutter(searchStrings, rules);
    if (raw.empty())
        cutter.Settled(true);
    while (!reader.AtEnd()) {
        reader.ReadInto(cutter.Text(), Piece);
        if (cutter.Settled(reader.AtEnd()))
            break;
    }
    return cutter;
}

} // namespace

std::string VisibleText(std::string_view raw, int codePage, bool markup)
{
    return TVisibleTextReader::AllOf(raw, codePage, markup);
}

std::vector<TPassage> FindPassages(
    std::string_view visible, const std::vector<std::string>& searchStrings, const TPassageRules& rules)
{
    TPassageCutter cutter(searchStrings, rules);
    cutter.Text() = CodePointsOf(visible);
    cutter.Settled(true);
    return cutter.Passages();
}

std::vector<TPassage> PagePassages(std::string_view raw, int codePage, bool markup,
    const std::vector<std::string>& searchStrings, const TPassageRules& rules)
{
    // Reading starts a good stretch of text before the first match spelled
    // out in the text; from the start when that leaves too little before it.
    const size_t context = 4 * (rules.Width + LongestLength(searchStrings));
    const size_t start = PassageReadingStart(raw, markup, searchStrings, rules.CaseSense, context);
    if (start == NoSpelledMatch)
        return {};
    if (start > 0) {
        const TPassageCutter later = CutWhileReading(raw.substr(start), codePage, markup, searchStrings, rules);
        if (!later.DependsOnTextBefore())
            return later.Passages();
    }
    return CutWhileReading(raw, codePage, markup, searchStrings, rules).Passages();
}
