#include "html/layout/TLineList.h"

#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>

static_assert(std::is_trivially_copyable_v<LineRec> && std::is_trivially_destructible_v<LineRec>);
static_assert(alignof(LineRec) <= alignof(int));

void TLineList::TFree::operator()(int* block) const { ::operator delete(block); }

void TLineList::Assign(std::span<const LineRec> lines)
{
    FBlock.reset();
    if (lines.empty())
        return;
    void* raw = ::operator new(sizeof(int) + lines.size() * sizeof(LineRec));
    int* count = new (raw) int(int(lines.size()));
    std::uninitialized_copy(lines.begin(), lines.end(), reinterpret_cast<LineRec*>(count + 1));
    FBlock.reset(count);
}

const LineRec& TLineList::at(size_t i) const
{
    if (i >= size())
        throw std::out_of_range("line index");
    return Lines()[i];
}
