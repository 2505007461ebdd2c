#include "html/layout/TSourceRuns.h"

#include <algorithm>

void TSourceRuns::Assign(const Run* from, const Run* to)
{
    size_t count = size_t(to - from);
    std::unique_ptr<Run[]> more;
    if (count > 1) {
        more = std::make_unique<Run[]>(count);
        std::copy(from, to, more.get());
    }
    FFirst = count == 1 ? *from : Run{};
    FMore = std::move(more);
    FCount = uint32_t(count);
}
