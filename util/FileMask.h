#pragma once
// Wildcard name masks ("*.htm", "data??.txt") matched the way collections authored
// on case-insensitive systems expect: letter case is ignored, and a mask whose
// extension is three plain characters also matches longer extensions that start
// with them ("*.htm" finds "a.html").
#include <string_view>

// "*" matches any run of characters, "?" any one character. "*.*" and "*" match
// every name, also one without a dot. An empty mask matches nothing.
bool MatchesMask(std::string_view name, std::string_view mask);
