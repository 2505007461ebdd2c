#pragma once
// Conversion between byte text in a Windows-style code page and UTF-16.
//
// Code page numbers are the ones document character sets map to: 1250-1258, 874,
// 932, 936, 949, 950, 1361, 28592, 65001 (UTF-8), 0 (the system's default ANSI
// code page, which is Windows-1252 here), 1 (the OEM code page: 437, the US OEM
// page) and 2 (the Macintosh code page: Mac Roman). Any other number is tried as
// "CP<n>". A code page that cannot be converted falls back to Windows-1252.
//
// Single-byte pages convert through a 256-entry table built once through iconv;
// multi-byte pages keep one iconv descriptor per code page; UTF-8 is decoded here.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace CodePage {

inline constexpr int SystemDefault = 0;
inline constexpr int Oem = 1;
inline constexpr int Macintosh = 2;
inline constexpr int Ansi = 1252;
inline constexpr int ShiftJis = 932;
inline constexpr int Utf8 = 65001;
// The page code page 1 stands for.
inline constexpr int OemPage = 437;

// The code page that is really used for `codePage`: 0 becomes 1252, 1 becomes
// 437, and a page iconv does not know becomes 1252.
int Resolve(int codePage);

// True for code pages in which a lead byte starts a two-byte character.
bool IsDoubleByte(int codePage);

// Number of bytes of the character that starts at `pos` (the code-page-aware step
// to the next character): 2 for a DBCS lead byte followed by a non-NUL byte, the
// sequence length of a well-formed UTF-8 character, else 1. 0 at the end.
size_t CharLength(int codePage, std::string_view bytes, size_t pos);

// Bytes to UTF-16. Bytes that do not form a character of the page become U+FFFD
// (single-byte pages map their unassigned bytes to the same code point, as the
// original platform does). When `firstByte` is given it receives, for every
// UTF-16 unit of the result, the offset of the first byte of its character.
std::u16string ToUtf16(int codePage, std::string_view bytes, std::vector<size_t>* firstByte = nullptr);

// UTF-16 to bytes; characters the page cannot hold become "?".
std::string FromUtf16(int codePage, std::u16string_view text);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view bytes);
// True when the bytes are well-formed UTF-8 and at least one is above 0x7F.
bool LooksLikeUtf8(std::string_view bytes);

} // namespace CodePage
