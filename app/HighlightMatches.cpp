#include "app/HighlightMatches.h"

#include <algorithm>

#include "html/layout/THighlightRanges.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"
#include "search/TFileScan.h"
#include "search/TTextMatcher.h"

namespace {

// Text is matched in pieces of this many characters, so a document of one
// enormous line costs no more memory than a page.
constexpr size_t PieceLength = 1 << 16;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The characters of text[first, last) as the matcher reads them, with the
// offset of each in text: a forced line break reads as a space, pictures
// and controls as a character no word holds.
std::u32string CharactersOf(std::u16string_view text, size_t first, size_t last, std::vector<size_t>& offsets)
{
    std::u32string out;
    offsets.clear();
    for (size_t i = first; i < last; ++i) {
        char32_t c = text[i];
        offsets.push_back(i);
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c == BreakChar) {
            c = U' ';
        } else if (c == ImageChar || c == ControlChar) {
            c = 0;
        }
        out.push_back(c);
    }
    offsets.push_back(last);
    return out;
}

// Adds the matches of one section's text that start in [first, last), with
// a character of context before and the longest string after.
void MatchPiece(TTextMatcher& matcher, int position, std::u16string_view text, size_t first, size_t last,
                std::vector<std::pair<int, int>>& ranges, size_t limit)
{
    const size_t from = first > 0 ? first - 2 : 0;
    const size_t to = std::min(text.size(), last + 2 * matcher.LongestString() + 2);
    std::vector<size_t> offsets;
    const std::u32string folded = matcher.Fold(CharactersOf(text, from, to, offsets));
    const auto indexAt = [&](size_t offset) {
        return size_t(std::lower_bound(offsets.begin(), offsets.end(), offset) - offsets.begin());
    };
    for (const TTextMatch& m : matcher.Find(folded, indexAt(first), indexAt(last), limit - ranges.size())) {
        ranges.emplace_back(position + int(offsets[m.pos]), position + int(offsets[m.pos + m.length]));
        if (ranges.size() >= limit)
            return;
    }
}

} // namespace

THighlightRequest RequestOfSearch(const TFileScan& scan)
{
    THighlightRequest request;
    request.Strings = scan.SearchStrings;
    request.CaseSense = scan.CaseSense;
    request.FoldAllLetters = scan.SearchForms == TStoredForms::All;
    request.WordType = scan.SearchStringType;
    request.Before = scan.BeforeSet;
    request.After = scan.AfterSet;
    return request;
}

THighlightRequest RequestOfFind(const std::string& text, bool matchCase)
{
    THighlightRequest request;
    request.Strings = {text};
    request.CaseSense = matchCase;
    return request;
}

std::vector<std::pair<int, int>> MatchRanges(TSectionList& document, const THighlightRequest& request, size_t limit)
{
    TTextMatcher matcher(request.Strings,
                         {request.CaseSense, request.FoldAllLetters, {request.WordType, &request.Before, &request.After}});
    std::vector<std::pair<int, int>> ranges;
    if (matcher.Empty() || limit == 0)
        return ranges;
    document.VisitText([&](int position, std::u16string_view text) {
        size_t first = 0;
        while (first < text.size() && ranges.size() < limit) {
            size_t last = std::min(text.size(), first + PieceLength);
            // A piece never ends between the halves of a character.
            if (last < text.size() && IsLowSurrogate(text[last]))
                ++last;
            MatchPiece(matcher, position, text, first, last, ranges, limit);
            first = last;
        }
    });
    THighlightRanges joined;
    joined.Assign(std::move(ranges));
    return joined.Ranges();
}
