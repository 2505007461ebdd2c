#include "search/TVisibleTextReader.h"

#include <algorithm>
#include <cstdint>

#include "search/CharacterForms.h"
#include "search/DisplayText.h"
#include "search/MarkupSkipping.h"
#include "util/CharacterReferences.h"
#include "util/CodePage.h"

namespace {

constexpr size_t npos = std::string_view::npos;

bool IsSpace(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// The same for a character below 0x80, with one test.
bool IsSpaceByte(char32_t c)
{
    constexpr uint64_t spaces = 1ull << ' ' | 1ull << '\t' | 1ull << '\r' | 1ull << '\n' | 1ull << '\f';
    return c <= ' ' && (spaces >> c & 1) != 0;
}

// Whether the bytes read the same in the code page as they stand: ASCII
// without references, in a code page that keeps ASCII as it is.
bool ReadsAsItStands(std::string_view bytes, int codePage)
{
    if (codePage != CodePage::Utf8 && codePage != CodePage::Ansi)
        return false;
    return std::none_of(bytes.begin(), bytes.end(),
        [](char c) { return static_cast<unsigned char>(c) >= 0x80 || c == '&'; });
}

} // namespace

TVisibleTextReader::TVisibleTextReader(std::string_view raw, int codePage, bool markup)
    : FRaw(raw)
    , FCodePage(codePage)
    , FMarkup(markup)
{
}

void TVisibleTextReader::CopyTextUntil(size_t rawEnd)
{
    rawEnd = std::min(rawEnd, FRaw.size());
    if (!FMarkup) {
        FPending.append(FRaw.substr(FPos, rawEnd - FPos));
        FPos = rawEnd;
        return;
    }
    while (FPos < rawEnd) {
        if (FRaw[FPos] != '<') {
            const size_t lt = std::min(FRaw.find('<', FPos), FRaw.size());
            FPending.append(FRaw.substr(FPos, lt - FPos));
            FPos = lt;
            continue;
        }
        // Whether a tag separates words matters only right after a word.
        if (FPending.empty() || IsSpace(static_cast<unsigned char>(FPending.back()))) {
            FPos = MarkupEnd(FRaw, FPos);
            continue;
        }
        const auto [end, separates] = SkipMarkup(FRaw, FPos);
        if (separates)
            FPending += ' ';
        FPos = end;
    }
}

size_t TVisibleTextReader::CutPoint(bool atEnd) const
{
    if (atEnd)
        return FPending.size();
    // White space ends every reference and character, in every code page a
    // page may declare: the text is decoded up to the last of it.
    const size_t space = FPending.find_last_of(" \t\r\n\f");
    return space == npos ? 0 : space + 1;
}

void TVisibleTextReader::AppendCollapsed(std::string_view decoded, std::u32string& text)
{
    // Every byte gives at most one character, and a space may come before
    // the first: the text is written in place, then cut to what was written.
    const size_t held = text.size();
    text.resize(held + decoded.size() + 1);
    char32_t* const begin = text.data();
    char32_t* out = begin + held;
    bool spaceDue = FSpaceDue;
    for (size_t pos = 0; pos < decoded.size();) {
        char32_t c = static_cast<unsigned char>(decoded[pos]);
        if (c < 0x80 && IsSpaceByte(c)) {
            spaceDue = true;
            ++pos;
            continue;
        }
        if (spaceDue && out != begin)
            *out++ = U' ';
        spaceDue = false;
        if (c >= 0x80) {
            pos += NextTypedCharacter(decoded, pos, c);
            *out++ = c;
            continue;
        }
        // A word of ASCII, the most of any page, in one go.
        do {
            *out++ = c;
            c = ++pos < decoded.size() ? static_cast<unsigned char>(decoded[pos]) : 0x80;
        } while (c < 0x80 && !IsSpaceByte(c));
    }
    FSpaceDue = spaceDue;
    text.resize(size_t(out - begin));
}

void TVisibleTextReader::ReadInto(std::u32string& text, size_t rawBytes)
{
    CopyTextUntil(FPos + std::max<size_t>(rawBytes, 1));
    const size_t cut = CutPoint(FPos >= FRaw.size());
    if (cut == 0)
        return;
    const std::string_view piece = std::string_view(FPending).substr(0, cut);
    if (ReadsAsItStands(piece, FCodePage))
        AppendCollapsed(piece, text);
    else
        AppendCollapsed(PlainText(piece, FCodePage), text);
    FPending.erase(0, cut);
}

void TVisibleTextReader::SkipTo(size_t pos)
{
    if (!FPending.empty() || pos <= FPos)
        return;
    FPos = std::min(pos, FRaw.size());
    FSpaceDue = true;
}

std::string TVisibleTextReader::AllOf(std::string_view raw, int codePage, bool markup)
{
    TVisibleTextReader reader(raw, codePage, markup);
    std::u32string text;
    while (!reader.AtEnd())
        reader.ReadInto(text, raw.size());
    std::string utf8;
    utf8.reserve(text.size());
    for (char32_t c : text)
        AppendUtf8(c, utf8);
    return utf8;
}
