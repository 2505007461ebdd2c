#include "search/PassageReadingStart.h"

#include <algorithm>
#include <array>

#include "search/MarkupSkipping.h"
#include "search/Matcher.h"

namespace {

constexpr size_t npos = std::string_view::npos;

constexpr size_t LongestPlainString = 200;

// A string whose matches are always spelled out in the bytes, barring
// references and tags inside a word: the bytes can be searched for it. (A
// space may stand for any run of white space or a tag, so none is allowed.)
bool IsPlainString(std::string_view s)
{
    const auto plain = [](char c) { return c > ' ' && c < 0x7F && c != '&' && c != '<' && c != '>'; };
    return !s.empty() && s.size() <= LongestPlainString && std::all_of(s.begin(), s.end(), plain);
}

// Finds the search strings in the bytes, in either ASCII case unless the
// case counts, a slice at a time so a page is upper-cased only as far as
// it is searched.
class TSpelledFinder {
public:
    TSpelledFinder(std::string_view raw, const std::vector<std::string>& strings, bool caseSense)
        : FRaw(raw)
        , FCaseSense(caseSense)
    {
        for (const std::string& s : strings) {
            FStrings.push_back(caseSense ? s : UpperCaseAscii(s));
            FLongest = std::max(FLongest, s.size());
        }
    }

    // The first place at or after from where a string starts; npos if none.
    size_t Next(size_t from)
    {
        constexpr size_t Slice = 4096;
        for (size_t start = from; start < FRaw.size(); start += Slice) {
            const size_t length = std::min(FRaw.size() - start, Slice + FLongest - 1);
            const char* bytes = FRaw.data() + start;
            if (!FCaseSense) {
                UpperCaseAscii(FSlice.data(), bytes, length);
                bytes = FSlice.data();
            }
            size_t first = npos;
            for (const std::string& s : FStrings) {
                const char* hit = FindBytes(bytes, std::min(length, Slice + s.size() - 1), s);
                if (hit)
                    first = std::min(first, size_t(hit - bytes));
            }
            if (first != npos)
                return start + first;
        }
        return npos;
    }

private:
    std::string_view FRaw;
    bool FCaseSense;
    std::vector<std::string> FStrings;
    size_t FLongest = 0;
    std::array<char, 4096 + LongestPlainString> FSlice {};
};

// Starts of text runs passed on the way, a few spread over the last stretch
// of text: enough to go back `context` bytes of text without keeping all.
class TRunStarts {
public:
    explicit TRunStarts(size_t context) : FSpacing(std::max<size_t>(context / 16, 1)) {}

    void Note(size_t rawPos, size_t textBefore)
    {
        if (FCount > 0 && textBefore - Last().textBefore < FSpacing)
            return;
        FRuns[(FFirst + FCount) % FRuns.size()] = { rawPos, textBefore };
        if (FCount < FRuns.size())
            ++FCount;
        else
            FFirst = (FFirst + 1) % FRuns.size();
    }

    // The latest start at least `context` bytes of text before textAt; 0 if
    // none is kept.
    size_t Before(size_t textAt, size_t context) const
    {
        for (size_t i = FCount; i-- > 0;) {
            const TRun& run = FRuns[(FFirst + i) % FRuns.size()];
            if (textAt - run.textBefore >= context)
                return run.rawPos;
        }
        return 0;
    }

private:
    struct TRun {
        size_t rawPos = 0;
        size_t textBefore = 0;
    };
    const TRun& Last() const { return FRuns[(FFirst + FCount - 1) % FRuns.size()]; }

    size_t FSpacing;
    std::array<TRun, 32> FRuns {};
    size_t FFirst = 0;
    size_t FCount = 0;
};

size_t MarkupReadingStart(std::string_view raw, TSpelledFinder& finder, size_t context)
{
    size_t spelled = finder.Next(0);
    TRunStarts starts(context);
    size_t text = 0; // bytes of text passed
    for (size_t pos = 0; pos < raw.size() && spelled != npos;) {
        if (raw[pos] != '<') {
            const size_t lt = std::min(raw.find('<', pos), raw.size());
            starts.Note(pos, text);
            if (spelled < lt)
                return starts.Before(text + (spelled - pos), context);
            text += lt - pos;
            pos = lt;
            continue;
        }
        pos = SkipMarkup(raw, pos).end;
        // Spelled inside a tag, a comment or a script: no match of the page's text.
        if (spelled < pos)
            spelled = finder.Next(pos);
    }
    return NoSpelledMatch;
}

size_t PlainReadingStart(std::string_view raw, TSpelledFinder& finder, size_t context)
{
    const size_t spelled = finder.Next(0);
    if (spelled == npos)
        return NoSpelledMatch;
    if (spelled < context)
        return 0;
    // White space ends every reference and character: reading starts after it.
    const size_t space = raw.find_first_of(" \t\r\n\f", spelled - context);
    return space < spelled ? space + 1 : 0;
}

} // namespace

size_t PassageReadingStart(std::string_view raw, bool markup, const std::vector<std::string>& searchStrings,
    bool caseSense, size_t context)
{
    if (searchStrings.empty() || !std::all_of(searchStrings.begin(), searchStrings.end(), IsPlainString))
        return 0;
    TSpelledFinder finder(raw, searchStrings, caseSense);
    return markup ? MarkupReadingStart(raw, finder, context) : PlainReadingStart(raw, finder, context);
}
