#pragma once
// One search string prepared for scanning. A string of plain bytes is sought as
// it stands; a word holding characters outside ASCII can instead be sought in
// every form those characters may be stored in (see CharacterForms.h), all forms
// in the same pass over the data.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "search/CharacterForms.h"
#include "search/Matcher.h"

// Whether a search string's characters outside ASCII are sought as typed or in
// every stored form.
enum class TStoredForms { Typed, All };

class TSearchPattern {
public:
    // The text is the typed search string (UTF-8; a byte that is not UTF-8 is
    // read as Windows-1252 when all forms are sought). With TLetterCase::Fold the
    // pattern is kept in comparison form (ASCII upper case), and the data it is
    // sought in must be too (see UpperCaseAscii).
    TSearchPattern(std::string_view text, TLetterCase letterCase, TStoredForms forms);

    // The string in comparison form, as the buffer-scan events show it.
    const std::string& Text() const { return FText; }
    // The longest run of bytes a match can cover: the tail a block carries over
    // so a match crossing the border is found.
    size_t MaxLength() const { return FMaxLength; }

    // Whether the pattern occurs in data[0, length) under the word rules. A match
    // never spans a NUL.
    bool Find(const char* data, size_t length, const TWordRules& rules) const;

private:
    // One piece of the pattern: a run of ASCII bytes (one literal), or one
    // character in its stored forms.
    struct TElement {
        std::vector<std::string> Literals;
        std::vector<char32_t> CodePoints; // named by a numeric reference
        size_t MinLength = 0;
        size_t MaxLength = 0;
    };

    void AddAscii(char c);
    void AddForms(const TCharacterForms& forms, TLetterCase letterCase);
    void ChooseAnchor();
    bool FindWithAnchor(const char* data, size_t length, const TWordRules& rules) const;
    bool FindByFirstByte(const char* data, size_t length, const TWordRules& rules) const;
    bool MatchesAt(const char* data, size_t length, size_t start, size_t pos, size_t element,
                   const TWordRules& rules) const;

    std::string FText;
    bool FPlain = true; // sought as FText alone
    std::vector<TElement> FElements;
    size_t FMaxLength = 0;
    // The longest ASCII run, sought first; the match then starts between
    // FMaxBefore and FMinBefore bytes before it. SIZE_MAX when there is none.
    size_t FAnchor = size_t(-1);
    size_t FMinBefore = 0;
    size_t FMaxBefore = 0;
    // Bytes that can begin a match, as a list and as a table.
    std::vector<unsigned char> FFirstBytes;
    std::array<bool, 256> FIsFirstByte{};
};
