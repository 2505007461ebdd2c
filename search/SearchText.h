#pragma once
// Turning the typed search text into search strings.
#include <string>
#include <string_view>
#include <vector>

// The longest search text, in characters, that the preparation accepts.
constexpr size_t MaxSearchTextLength = 255;

// Replaces each accented letter of the symbol table (and "©", "§") by its entity
// text, so that the search finds pages that write those letters as entities. The
// text may be UTF-8 or single-byte Windows-1252; the result is cut at 255
// characters.
std::string ConvertSymbols(std::string_view text);

// The entity text ConvertSymbols puts for the character, or nullptr when the
// symbol table has no row for it.
const char* SymbolTableText(char32_t codePoint);

// Appends the tokens of the text to the list. The separator and the double-quote
// character each end a token, which is added even when empty; a text that is
// empty or a single space yields nothing.
void SplitWords(std::string_view text, char separator, std::vector<std::string>& list);

// Number of characters of a UTF-8 text (bytes that are not valid UTF-8 count one each).
size_t CharacterCount(std::string_view text);
