#include "search/ContextPassages.h"

#include <algorithm>

#include "search/TPassageCutter.h"
#include "search/TPassageSkimmer.h"
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

// The bytes are read a piece at a time and only until the passages are
// settled; with a skimmer, the stretches before the first match and between
// matches are stepped over.
TPassageCutter CutWhileReading(std::string_view raw, int codePage, bool markup,
    const std::vector<std::string>& searchStrings, const TPassageRules& rules, TPassageSkimmer* skimmer)
{
    constexpr size_t Piece = 512;
    TVisibleTextReader reader(raw, codePage, markup);
    TPassageCutter cutter(searchStrings, rules);
    const auto skipToNextMatch = [&] {
        const size_t start = skimmer->ReadingStart(reader.Position());
        if (start == NoSpelledMatch)
            return false;
        if (start > reader.Position()) {
            if (skimmer->LeftOutText())
                cutter.MarkGap();
            reader.SkipTo(start);
        }
        return true;
    };
    if (raw.empty() || (skimmer && !skipToNextMatch())) {
        cutter.Settled(true);
        return cutter;
    }
    while (!reader.AtEnd()) {
        reader.ReadInto(cutter.Text(), Piece);
        if (cutter.Settled(reader.AtEnd()))
            break;
        if (skimmer && reader.GaveAllRead() && cutter.AwaitsNextMatch() && !skipToNextMatch())
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
    const std::vector<std::string>& searchStrings, const TPassageRules& rules, std::string_view upper)
{
    // Reading starts a good stretch of text before the first match spelled
    // out in the text, and skips from match to match; all is read when that
    // leaves too little text before a match.
    const size_t context = rules.Width + LongestLength(searchStrings);
    TPassageSkimmer skimmer(raw, markup, searchStrings, rules.CaseSense, context);
    if (upper.size() == raw.size())
        skimmer.UseUpperCased(upper);
    if (skimmer.Enabled()) {
        const TPassageCutter skimmed = CutWhileReading(raw, codePage, markup, searchStrings, rules, &skimmer);
        if (skimmed.GapsLeftNoMark())
            return skimmed.Passages();
    }
    return CutWhileReading(raw, codePage, markup, searchStrings, rules, nullptr).Passages();
}
