#pragma once
// Text of elements whose white-space keeps what the source has (pre,
// pre-wrap, break-spaces, pre-line) outside PRE: the reader hands the
// spaces and line ends on as read, and they go into the text section as
// spaces that are neither dropped nor merged and as line breaks.
#include <span>
#include <string_view>

class TProperties;
class TSection;

enum class TWhiteSpace : unsigned char { Normal, KeepLines, KeepAll, KeepAllWrapping };

TWhiteSpace WhiteSpaceOf(const TProperties& props);

// Adds a text run read while white space was kept: line ends become
// forced breaks; KeepAll spaces never merge or break, KeepAllWrapping
// ones may break after the last space of a run, KeepLines ones merge.
void AddPreservedText(TSection& section, std::u16string_view text, std::span<const int> sourceIndexes,
                      TWhiteSpace mode);
