#include "html/layout/TSourceRuns.h"

#include <algorithm>

void TSourceRuns::Free()
{
    if (FWord != 0 && !Single())
        delete[] Many();
    FWord = 0;
}

void TSourceRuns::Assign(const std::vector<Run>& runs)
{
    Free();
    if (runs.size() == 1 && runs[0].first == 0) {
        FWord = (uintptr_t(uint32_t(runs[0].second)) << 32) | 1;
    } else if (!runs.empty()) {
        auto* many = new Run[runs.size() + 1];
        many[0] = Run{int(runs.size()), 0};
        std::copy(runs.begin(), runs.end(), many + 1);
        FWord = reinterpret_cast<uintptr_t>(many);
    }
}

size_t TSourceRuns::size() const { return FWord == 0 ? 0 : Single() ? 1 : size_t(Many()[0].first); }

TSourceRuns::Run TSourceRuns::operator[](size_t i) const
{
    return Single() ? Run{0, int(uint32_t(FWord >> 32))} : Many()[i + 1];
}

std::vector<TSourceRuns::Run> TSourceRuns::ToVector() const
{
    std::vector<Run> out(size());
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = (*this)[i];
    return out;
}

size_t TSourceRuns::RunAt(int offset) const
{
    size_t n = size();
    if (n == 0)
        return 0;
    if (Single())
        return offset >= 0 ? 0 : n;
    const Run* first = Many() + 1;
    const Run* it = std::upper_bound(first, first + n, offset, [](int v, const Run& r) { return v < r.first; });
    return it == first ? n : size_t(it - first - 1);
}
