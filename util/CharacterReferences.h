#pragma once
// Character references ("&eacute;", "&#233;", "&#xE9;") and the small UTF-8
// helpers their decoding needs. One decoder for every part of the program that
// turns a page's text into characters: the results page's titles and passages
// and the plain-text export read a reference alike.
#include <cstddef>
#include <string>
#include <string_view>

// The code point of a byte in Windows-1252 (bytes below 0x80 are ASCII).
char32_t Windows1252ToCodePoint(unsigned char byte);

// The longest numeric reference ParseNumericReference accepts, in bytes.
inline constexpr size_t MaxNumericReferenceLength = 12;

// Recognises a numeric character reference at data[pos]: "&#", an optional "x"
// or "X", up to eight decimal or hexadecimal digits in either case, and an
// optional ";". Without the ";" the reference ends at the first byte that is no
// digit; digits running up to the end of the data are not taken, since the
// reference may go on in the next block. The code point is the number as
// written (see DecodeReferences for what it names).
bool ParseNumericReference(const char* data, size_t length, size_t pos, char32_t& codePoint, size_t& end);

// Appends the UTF-8 bytes of a code point.
void AppendUtf8(char32_t codePoint, std::string& out);

// Which references a decoding replaces by their characters.
enum class TReferenceScope {
    All,         // every reference ("&lt;b&gt;" becomes "<b>")
    OutsideAscii // only those naming characters outside ASCII: the text keeps its meaning as HTML
};
// What becomes of a reference to the space that does not break.
enum class TNoBreakSpace { Keep, AsSpace };

// The UTF-8 text with its references replaced by the characters they name, in
// one left-to-right pass ("&amp;lt;" becomes the text "&lt;"). Numbers 128 to
// 159 name the punctuation of Windows pages ("&#150;" an en dash), as browsers
// read them; references that name nothing (NUL, surrogates, unknown names)
// stay as written.
std::string DecodeReferences(std::string_view text, TReferenceScope scope,
                             TNoBreakSpace noBreakSpace = TNoBreakSpace::Keep);
