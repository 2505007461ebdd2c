#pragma once
// The byte forms in which a character outside ASCII can be stored in a page: a
// collection written over many years mixes named references, numeric
// references, UTF-8 and Windows-1252 bytes for the same letter.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "util/CharacterReferences.h"

// Whether a search tells the cases of a letter apart.
enum class TLetterCase { Exact, Fold };

struct TCharacterForms {
    // The character and, when folding, its other cases (É, é): what a numeric
    // reference may name.
    std::vector<char32_t> CodePoints;
    // For each of them: "&name;" for every entity name, the search page's own
    // symbol text, the UTF-8 bytes and the Windows-1252 byte when there is one.
    // Numeric references have too many spellings to list (decimal, hexadecimal,
    // either case of x and of the digits, leading zeros); ParseNumericReference
    // recognises them.
    std::vector<std::string> Literals;
};

TCharacterForms StoredForms(char32_t codePoint, TLetterCase letterCase);

// The character with every other case of it, the character first.
std::vector<char32_t> CaseVariants(char32_t codePoint);
// The upper-case ASCII letter among the case variants of a character outside
// ASCII (K for the Kelvin sign), or 0 when they hold none. Unlike
// CaseVariants it needs no table of every letter.
char32_t AsciiCaseVariant(char32_t codePoint);

// The next character of a typed text: a UTF-8 sequence, else one byte read as
// Windows-1252. Returns its length in bytes.
size_t NextTypedCharacter(std::string_view text, size_t pos, char32_t& codePoint);
