#include "search/SearchText.h"

#include <cstdint>

namespace {

struct TSymbol {
    uint8_t code; // Windows-1252 (and so Latin-1 and Unicode) code of the letter
    const char* text;
};

// Searched from the first row.
constexpr TSymbol SymbolTable[38] = {
    {0xC0, "&Agrave;"}, {0xE0, "&agrave;"}, {0xE1, "&aacute;"}, {0xC1, "&Aacute;"}, {0xE2, "&acirc;"},
    {0xE3, "&atilde;"}, {0xE5, "&aring;"},  {0xE4, "&auml;"},   {0xC4, "&Auml;"},   {0xE9, "&eacute;"},
    {0xEA, "&ecirc;"},  {0xE8, "&egrave;"}, {0xEB, "&euml;"},   {0xF0, "&eth;"},    {0xE7, "&ccedil;"},
    {0xEC, "&igrave"},  {0xED, "&iacute;"}, {0xEE, "&icirc;"},  {0xEF, "&iuml;"},   {0xF2, "&ograve;"},
    {0xF3, "&oacute;"}, {0xF4, "&ocirc;"},  {0xF5, "&otilde;"}, {0xF6, "&ouml;"},   {0xD6, "&Ouml;"},
    {0xF9, "&ugrave;"}, {0xFA, "&uacute;"}, {0xFB, "&ucirc;"},  {0xFC, "&uuml;"},   {0xDC, "&Uuml;"},
    {0xFD, "&yacute;"}, {0xFF, "&yuml;"},   {0xE6, "&aelig;"},  {0xFE, "&thorn;"},  {0xF8, "&oslash;"},
    {0xDF, "&szlig;"},  {0xA9, "&copy;"},   {0xA7, "&#167;"},
};

// Length of the valid UTF-8 sequence at text[pos] holding a non-ASCII character,
// with its code point; 0 when the byte there does not start one.
size_t Utf8Sequence(std::string_view text, size_t pos, unsigned& codePoint)
{
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
    } else {
        return 0;
    }
    if (pos + length > text.size())
        return 0;
    for (size_t i = 1; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[pos + i]);
        if ((c & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (c & 0x3Fu);
    }
    const unsigned minimum = length == 3 ? 0x800 : length == 4 ? 0x10000 : 0x80;
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

// Length of the character at text[pos]: a UTF-8 sequence, else one byte.
size_t CharacterLength(std::string_view text, size_t pos, unsigned& codePoint)
{
    const size_t length = Utf8Sequence(text, pos, codePoint);
    if (length > 0)
        return length;
    codePoint = static_cast<unsigned char>(text[pos]);
    return 1;
}

} // namespace

const char* SymbolTableText(char32_t codePoint)
{
    for (const TSymbol& row : SymbolTable) {
        if (row.code == codePoint)
            return row.text;
    }
    return nullptr;
}

size_t CharacterCount(std::string_view text)
{
    size_t count = 0;
    unsigned codePoint = 0;
    for (size_t pos = 0; pos < text.size(); ++count)
        pos += CharacterLength(text, pos, codePoint);
    return count;
}

std::string ConvertSymbols(std::string_view text)
{
    std::string result;
    size_t characters = 0;
    unsigned codePoint = 0;
    for (size_t pos = 0; pos < text.size() && characters < MaxSearchTextLength;) {
        const size_t length = CharacterLength(text, pos, codePoint);
        const char* replacement = SymbolTableText(codePoint);
        const std::string_view piece = replacement ? std::string_view(replacement) : text.substr(pos, length);
        // Entity texts are ASCII, one character per byte.
        const size_t pieceCharacters = replacement ? piece.size() : 1;
        if (characters + pieceCharacters > MaxSearchTextLength) {
            result += piece.substr(0, MaxSearchTextLength - characters);
            break;
        }
        result += piece;
        characters += pieceCharacters;
        pos += length;
    }
    return result;
}

void SplitWords(std::string_view text, char separator, std::vector<std::string>& list)
{
    if (text.empty() || text == " ")
        return;
    std::string token;
    for (char c : text) {
        if (c == separator || c == '"') {
            list.push_back(token);
            token.clear();
        } else {
            token += c;
        }
    }
    list.push_back(token);
}
