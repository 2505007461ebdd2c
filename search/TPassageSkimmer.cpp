#include "search/TPassageSkimmer.h"

#include <algorithm>
#include <array>

#include "search/ByteFinding.h"
#include "search/MarkupSkipping.h"
#include "search/Matcher.h"
#include "search/TOpenWord.h"
#include "search/TRunStarts.h"

namespace {

constexpr size_t npos = std::string_view::npos;

// A string whose matches are always spelled out in the bytes, barring
// references and tags inside a word: the bytes can be searched for it. (A
// space may stand for any run of white space or a tag, so none is allowed.)
bool IsPlainString(std::string_view s)
{
    const auto plain = [](char c) { return c > ' ' && c < 0x7F && c != '&' && c != '<' && c != '>'; };
    return !s.empty() && s.size() <= LongestSkimmedString && std::all_of(s.begin(), s.end(), plain);
}

// The strings in the form the bytes are compared in.
std::vector<std::string> ComparedForms(const std::vector<std::string>& strings, bool caseSense)
{
    std::vector<std::string> forms;
    for (const std::string& s : strings)
        forms.push_back(caseSense ? s : UpperCaseAscii(s));
    return forms;
}

} // namespace

TPassageSkimmer::TPassageSkimmer(std::string_view raw, bool markup, const std::vector<std::string>& searchStrings,
    bool caseSense, size_t context)
    : FRaw(raw)
    , FMarkup(markup)
    , FCaseSense(caseSense)
    , FEnabled(!searchStrings.empty() && std::all_of(searchStrings.begin(), searchStrings.end(), IsPlainString))
    , FContext(context)
    , FStrings(FEnabled ? ComparedForms(searchStrings, caseSense) : std::vector<std::string>())
    , FOpenWord(FStrings, caseSense)
{
    for (const std::string& s : FStrings)
        FLongest = std::max(FLongest, s.size());
}

// The first place at or after from where a string starts; npos if none. The
// bytes are upper-cased a slice at a time, only as far as they are searched,
// and the last slice is kept for the next search.
size_t TPassageSkimmer::NextSpelled(size_t from)
{
    for (size_t slice = from / Slice; slice * Slice < FRaw.size(); ++slice) {
        const size_t start = slice * Slice;
        const size_t length = std::min(FRaw.size() - start, Slice + FLongest - 1);
        const char* bytes = FRaw.data() + start;
        if (!FCaseSense && FUpper.size() == FRaw.size()) {
            bytes = FUpper.data() + start;
        } else if (!FCaseSense) {
            if (FSliceHeld != slice)
                UpperCaseAscii(FSlice.data(), bytes, length);
            FSliceHeld = slice;
            bytes = FSlice.data();
        }
        const size_t offset = std::max(from, start) - start;
        size_t first = npos;
        for (const std::string& s : FStrings) {
            // Only matches that start inside this slice; later ones the next finds.
            const size_t end = std::min(length, Slice + s.size() - 1);
            const char* hit = end > offset ? FindBytes(bytes + offset, end - offset, s) : nullptr;
            if (hit)
                first = std::min(first, size_t(hit - bytes));
        }
        if (first != npos)
            return start + first;
    }
    return npos;
}

size_t TPassageSkimmer::MarkupReadingStart(size_t from)
{
    size_t spelled = NextSpelled(from);
    TRunStarts starts(from, FContext / 8);
    TOpenWord& openWord = FOpenWord;
    openWord.Close();
    size_t text = 0;                 // bytes of text passed
    size_t firstText = FRaw.size();  // where the first text other than white space lies
    // Past the last spelled string the markup is still stepped through: a
    // string may run across tags.
    const char* const bytes = FRaw.data();
    for (size_t pos = from; pos < FRaw.size();) {
        if (bytes[pos] != '<') {
            const size_t lt = std::min(FindByteFrom(FRaw, pos, '<'), FRaw.size());
            const std::string_view run(bytes + pos, lt - pos);
            starts.Note(pos, text);
            if (firstText == FRaw.size() && run.find_first_not_of(" \t\r\n\f") != npos)
                firstText = pos;
            if (openWord.RunsInto(run))
                return StartBefore(starts.Before(text - std::min(text, openWord.Size()), FContext), firstText);
            if (spelled < lt)
                return StartBefore(starts.Before(text + (spelled - pos), FContext), firstText);
            openWord.Extend(run);
            text += run.size();
            pos = lt;
            continue;
        }
        if (openWord.IsOpen() && SeparatesWords(FRaw, pos))
            openWord.Close();
        pos = MarkupEnd(FRaw, pos);
        // Spelled inside a tag, a comment or a script: no match of the page's text.
        if (spelled < pos)
            spelled = NextSpelled(pos);
    }
    return NoSpelledMatch;
}

size_t TPassageSkimmer::StartBefore(size_t start, size_t firstText)
{
    FLeftOutText = start > firstText;
    return start;
}

size_t TPassageSkimmer::PlainReadingStart(size_t from)
{
    const size_t spelled = NextSpelled(from);
    if (spelled == npos)
        return NoSpelledMatch;
    if (spelled - from < FContext)
        return from;
    // White space ends every reference and character: reading starts after it.
    const size_t space = FRaw.find_first_of(" \t\r\n\f", spelled - FContext);
    FLeftOutText = space < spelled;
    return space < spelled ? space + 1 : from;
}

size_t TPassageSkimmer::ReadingStart(size_t from)
{
    FLeftOutText = false;
    if (!FEnabled)
        return from;
    return FMarkup ? MarkupReadingStart(from) : PlainReadingStart(from);
}
