#pragma once
// Byte-level matching: finding one search string in a block of file data under
// the matching rules. Data and pattern are compared as bytes; for a search that
// ignores case both are first brought to upper case (ASCII letters only, so
// accented letters are compared as they are).
#include <cstddef>
#include <string>
#include <string_view>

#include "search/SearchTypes.h"

// Copies n bytes, turning a..z into A..Z. Source and destination may be equal.
void UpperCaseAscii(char* dest, const char* source, size_t n);
std::string UpperCaseAscii(std::string_view text);

// First occurrence of the needle in the haystack, or nullptr. An empty needle is
// never found.
const char* FindBytes(const char* haystack, size_t length, std::string_view needle);

// Word-boundary rules of a search string.
struct TWordRules {
    TStringSearchType type = TStringSearchType::sst_Normal;
    const TCharSet* before = nullptr; // characters allowed just before a word match
    const TCharSet* after = nullptr;  // characters allowed just after it
};

// Whether the match at pos (matchLength bytes) of data[0, length) stands on the
// boundaries the rules ask for. The start and end of the data count as boundaries.
bool IsWholeWord(const char* data, size_t length, size_t pos, size_t matchLength, const TWordRules& rules);

// Whether the pattern occurs in data[0, length) under the rules. After an
// occurrence that fails the boundary test the search resumes right after it.
// Data and pattern must already be in comparison form (see UpperCaseAscii).
bool ContainsString(const char* data, size_t length, std::string_view pattern, const TWordRules& rules);
