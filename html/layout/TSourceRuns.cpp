#include "html/layout/TSourceRuns.h"

#include <algorithm>

void TSourceRuns::Assign(const Run* from, const Run* to)
{
    size_t count = size_t(to - from);
    std::unique_ptr<Run[]> more;
    if (count > 1) {
        more = std::make_unique<Run[]>(count + 1);
        more[0] = Run{int(count), 0};
        std::copy(from, to, more.get() + 1);
    }
    FFirst = count == 1 ? *from : Run{-1, 0};
    FMore = std::move(more);
}
