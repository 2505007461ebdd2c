#include "search/DisplayText.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "search/CharacterForms.h"
#include "util/CharacterReferences.h"
#include "util/CodePage.h"

namespace {

constexpr size_t npos = std::string_view::npos;

// Code pages of the character set names pages declare (upper-cased).
int CodePageOfCharset(std::string_view name)
{
    if (name == "UTF-8" || name == "UTF8")
        return CodePage::Utf8;
    if (name.substr(0, 8) == "WINDOWS-" || name.substr(0, 2) == "CP")
        return std::atoi(std::string(name.substr(name[0] == 'C' ? 2 : 8)).c_str());
    if (name.substr(0, 9) == "ISO-8859-") {
        const int part = std::atoi(std::string(name.substr(9)).c_str());
        // Pages that declare Latin-1 are written in its Windows superset.
        return part <= 1 ? CodePage::Ansi : 28590 + part;
    }
    if (name == "SHIFT_JIS" || name == "SHIFT-JIS" || name == "SJIS")
        return CodePage::ShiftJis;
    if (name == "GB2312" || name == "GBK")
        return 936;
    if (name == "BIG5")
        return 950;
    if (name == "EUC-KR" || name == "KS_C_5601-1987")
        return 949;
    if (name == "KOI8-R")
        return 20866;
    return 0;
}

std::string_view DeclaredCharset(std::string_view upper)
{
    size_t pos = upper.find("CHARSET=");
    if (pos == npos)
        return {};
    pos += 8;
    while (pos < upper.size() && (upper[pos] == '"' || upper[pos] == '\'' || upper[pos] == ' '))
        ++pos;
    size_t end = pos;
    while (end < upper.size() && (std::isalnum(static_cast<unsigned char>(upper[end])) || upper[end] == '-' ||
                                  upper[end] == '_'))
        ++end;
    return upper.substr(pos, end - pos);
}

// The text without a UTF-8 sequence that the end of the text cuts short.
std::string_view WithoutCutCharacter(std::string_view text)
{
    for (size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto c = static_cast<unsigned char>(text[text.size() - back]);
        if ((c & 0xC0) == 0x80)
            continue; // a continuation byte: look further back for its lead
        const size_t needed = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return needed > back ? text.substr(0, text.size() - back) : text;
    }
    return text;
}

// The UTF-8 text of the raw bytes in the code page.
std::string DecodedBytes(std::string_view raw, int codePage)
{
    if (codePage == CodePage::Utf8)
        raw = WithoutCutCharacter(raw);
    // Most pages are ASCII or well-formed UTF-8 already: they stay as they are.
    const bool ascii = std::all_of(raw.begin(), raw.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if ((codePage == CodePage::Utf8 && CodePage::IsValidUtf8(raw)) || (codePage == CodePage::Ansi && ascii))
        return std::string(raw);
    return CodePage::FromUtf16(CodePage::Utf8, CodePage::ToUtf16(codePage, raw));
}

// Appends the text with every character outside ASCII as a numeric reference.
void AppendAsciiHtml(std::string_view text, std::string& out, bool escapeMarkup)
{
    const auto standsAsItIs = [escapeMarkup](char b) {
        return static_cast<unsigned char>(b) < 0x80 && !(escapeMarkup && (b == '&' || b == '<' || b == '>' || b == '"'));
    };
    for (size_t pos = 0; pos < text.size();) {
        // Most of a text needs nothing replaced: its runs are copied whole.
        const size_t runEnd = size_t(std::find_if_not(text.begin() + ptrdiff_t(pos), text.end(), standsAsItIs) - text.begin());
        out.append(text, pos, runEnd - pos);
        pos = runEnd;
        if (pos == text.size())
            break;
        char32_t c = static_cast<unsigned char>(text[pos]);
        const size_t length = c < 0x80 ? 1 : NextTypedCharacter(text, pos, c);
        if (c >= 0x80)
            out += "&#" + std::to_string(unsigned(c)) + ";";
        else if (escapeMarkup && c == '&')
            out += "&amp;";
        else if (escapeMarkup && c == '<')
            out += "&lt;";
        else if (escapeMarkup && c == '>')
            out += "&gt;";
        else if (escapeMarkup && c == '"')
            out += "&quot;";
        else
            out += text[pos];
        pos += length;
    }
}

} // namespace

int DeclaredCodePage(std::string_view upper)
{
    return std::max(CodePageOfCharset(DeclaredCharset(upper)), 0);
}

int GuessedCodePage(std::string_view raw)
{
    return CodePage::LooksLikeUtf8(WithoutCutCharacter(raw)) ? CodePage::Utf8 : CodePage::Ansi;
}

int DocumentCodePage(std::string_view raw, std::string_view upper)
{
    const int declared = DeclaredCodePage(upper);
    return declared > 0 ? declared : GuessedCodePage(raw);
}

std::string DisplayText(std::string_view raw, int codePage)
{
    return DecodeReferences(DecodedBytes(raw, codePage), TReferenceScope::OutsideAscii);
}

std::string PlainText(std::string_view raw, int codePage)
{
    return DecodeReferences(DecodedBytes(raw, codePage), TReferenceScope::All);
}

std::string AsciiHtml(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    AppendAsciiHtml(text, out, false);
    return out;
}

void AppendTextAsAsciiHtml(std::string_view text, std::string& out)
{
    AppendAsciiHtml(text, out, true);
}

std::string TextAsAsciiHtml(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    AppendAsciiHtml(text, out, true);
    return out;
}
