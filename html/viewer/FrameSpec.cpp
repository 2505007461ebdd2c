#include "html/viewer/FrameSpec.h"

#include <algorithm>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// a * b / c rounded to the nearest integer (c > 0).
int MulDivRound(long long a, long long b, long long c)
{
    long long p = a * b;
    return int(p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c));
}

} // namespace

std::vector<FrameSpec> ParseFrameSpecs(std::string_view value)
{
    std::vector<FrameSpec> specs;
    size_t i = 0, n = value.size();
    while (specs.size() < MaxFrameSpecs) {
        while (i < n && !IsDigit(value[i]) && value[i] != '*' && value[i] != ',')
            ++i;
        if (i >= n || value[i] == '*' || value[i] == ',') {
            specs.push_back(-1);
            if (i < n && value[i] == '*')
                ++i;
        } else {
            long long number = 0;
            while (i < n && IsDigit(value[i])) {
                number = std::min<long long>(number * 10 + (value[i] - '0'), 1000000);
                ++i;
            }
            while (i < n && value[i] != '*' && value[i] != '%' && value[i] != ',')
                ++i;
            if (i < n && value[i] == '*')
                specs.push_back(FrameSpec(-std::min<long long>(99, std::max<long long>(1, number))));
            else if (i < n && value[i] == '%')
                specs.push_back(FrameSpec(-std::min<long long>(1000, number + 100)));
            else
                specs.push_back(FrameSpec(std::clamp<long long>(number, 1, 5000)));
        }
        while (i < n && value[i] != ',')
            ++i;
        if (i >= n)
            break;
        ++i; // past the comma
    }
    return specs;
}

std::vector<int> LayoutFrameSpecs(const std::vector<FrameSpec>& specs, int length)
{
    long long fixed = 0, percentSum = 0, weightSum = 0;
    for (FrameSpec s : specs) {
        if (IsPixelSpec(s))
            fixed += s;
        else if (IsPercentSpec(s))
            percentSum += -s - 100;
        else
            weightSum += -s;
    }
    long long free = length - fixed;
    std::vector<int> sizes(specs.size(), 0);
    if (free > 0) {
        long long percentSpace = percentSum > 0 ? std::min<long long>(free, MulDivRound(length, percentSum, 100)) : 0;
        long long unit = weightSum > 0 ? (free - percentSpace) / weightSum : 0;
        for (size_t k = 0; k < specs.size(); ++k) {
            FrameSpec s = specs[k];
            if (IsPixelSpec(s))
                sizes[k] = s;
            else if (IsPercentSpec(s))
                sizes[k] = percentSum > 0 ? MulDivRound(-s - 100, percentSpace, percentSum) : 0; // "0%" entries
            else
                sizes[k] = int(-s * unit);
        }
    } else if (fixed > 0) {
        for (size_t k = 0; k < specs.size(); ++k)
            if (IsPixelSpec(specs[k]))
                sizes[k] = MulDivRound(specs[k], std::max(length, 0), fixed);
    }
    return sizes;
}
