#pragma once
// ROWS and COLS of a frame set: the list of sizes and how a length is shared
// out among them.
#include <cstdint>
#include <string_view>
#include <vector>

// A positive value is a size in pixels (1 to 5000); -1 to -99 a relative
// weight; -101 to -1000 a percentage (value = -(100 + percent)).
using FrameSpec = int16_t;

constexpr size_t MaxFrameSpecs = 20;

inline bool IsPixelSpec(FrameSpec s) { return s > 0; }
inline bool IsWeightSpec(FrameSpec s) { return s < 0 && s >= -99; }
inline bool IsPercentSpec(FrameSpec s) { return s <= -100; }

// Parses a ROWS or COLS value; at most MaxFrameSpecs entries.
std::vector<FrameSpec> ParseFrameSpecs(std::string_view value);

// Shares the length among the entries: pixel sizes first, percentages of
// the length out of what is left, weights take the rest. When the pixel
// sizes alone do not fit they are scaled down and the others get 0.
std::vector<int> LayoutFrameSpecs(const std::vector<FrameSpec>& specs, int length);
