#include "util/CharacterReferences.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "util/CodePage.h"
#include "util/TEntity.h"

namespace {

constexpr size_t MaxReferenceDigits = 8;
// Named references are short; a longer run after "&" is just text.
constexpr size_t LongestEntityName = 10;
constexpr char32_t NoBreakSpace = 0xA0;

const std::array<char32_t, 256>& Windows1252Table()
{
    static const std::array<char32_t, 256> table = [] {
        std::string bytes(256, '\0');
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = char(i);
        const std::u16string text = CodePage::ToUtf16(CodePage::Ansi, bytes);
        std::array<char32_t, 256> result{};
        for (size_t i = 0; i < result.size(); ++i)
            result[i] = i < text.size() ? text[i] : char32_t(i);
        return result;
    }();
    return table;
}

int DigitValue(char c, bool hex)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (!hex)
        return -1;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsCharacter(char32_t c)
{
    return c > 0 && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

// The character the reference at text[pos] names, with the position after
// it; 0 when there is none there.
char32_t ReferenceAt(std::string_view text, size_t pos, size_t& end)
{
    char32_t c = 0;
    if (ParseNumericReference(text.data(), text.size(), pos, c, end)) {
        // Pages written on Windows number its code page's punctuation.
        if (c >= 0x80 && c <= 0x9F)
            c = Windows1252ToCodePoint(static_cast<unsigned char>(c));
        return IsCharacter(c) ? c : 0;
    }
    const size_t semicolon = text.find(';', pos + 1);
    if (semicolon == std::string_view::npos || semicolon - pos - 1 > LongestEntityName)
        return 0;
    const auto value = LookupEntity(text.substr(pos + 1, semicolon - pos - 1));
    end = semicolon + 1;
    return value ? char32_t(*value) : 0;
}

} // namespace

char32_t Windows1252ToCodePoint(unsigned char byte)
{
    return Windows1252Table()[byte];
}

bool ParseNumericReference(const char* data, size_t length, size_t pos, char32_t& codePoint, size_t& end)
{
    if (pos + 2 >= length || data[pos] != '&' || data[pos + 1] != '#')
        return false;
    size_t i = pos + 2;
    const bool hex = data[i] == 'x' || data[i] == 'X';
    if (hex)
        ++i;
    const size_t digits = i;
    uint64_t value = 0;
    for (int d; i < length && i - digits < MaxReferenceDigits && (d = DigitValue(data[i], hex)) >= 0; ++i)
        value = value * (hex ? 16 : 10) + uint64_t(d);
    if (i == digits || i >= length || DigitValue(data[i], hex) >= 0)
        return false;
    if (data[i] == ';')
        ++i;
    codePoint = char32_t(std::min<uint64_t>(value, 0xFFFFFFFF));
    end = i;
    return true;
}

void AppendUtf8(char32_t c, std::string& out)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

std::string DecodeReferences(std::string_view text, TReferenceScope scope, TNoBreakSpace noBreakSpace)
{
    const char32_t lowest = scope == TReferenceScope::All ? 1 : 0x80;
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        if (text[pos] != '&') {
            // The text up to the next reference as it stands, in one piece.
            const size_t amp = std::min(text.find('&', pos), text.size());
            out.append(text.substr(pos, amp - pos));
            pos = amp;
            continue;
        }
        size_t end = 0;
        const char32_t c = ReferenceAt(text, pos, end);
        if (c < lowest) {
            out += text[pos++];
            continue;
        }
        if (c == NoBreakSpace && noBreakSpace == TNoBreakSpace::AsSpace)
            out += ' ';
        else
            AppendUtf8(c, out);
        pos = end;
    }
    return out;
}
