#include "html/layout/TFontList.h"

#include <algorithm>

size_t TFontList::IndexAt(int pos) const
{
    // The last run starting at or before pos (the first when none does).
    size_t low = 0, high = Count();
    while (high - low > 1) {
        size_t mid = (low + high) / 2;
        if ((*this)[mid].Pos <= pos)
            low = mid;
        else
            high = mid;
    }
    return low;
}

TFontObj* TFontList::GetFontObjAt(int pos) const { return Empty() ? nullptr : &(*this)[IndexAt(pos)]; }

int TFontList::GetFontCountAt(int pos, int end) const
{
    if (Empty())
        return end - pos;
    size_t i = IndexAt(pos) + 1;
    while (i < Count() && (*this)[i].Pos <= pos)
        ++i;
    int next = i < Count() ? (*this)[i].Pos : end;
    return std::min(next, end) - pos;
}

TFontList::~TFontList() { Resize(0); }

void TFontList::Resize(size_t capacity)
{
    static_assert(sizeof(THeader) % alignof(TFontObj) == 0, "the runs follow the header aligned");
    size_t count = MoreCount();
    THeader* block = nullptr;
    if (capacity > 0) {
        void* raw = ::operator new(sizeof(THeader) + capacity * sizeof(TFontObj));
        block = new (raw) THeader{uint32_t(std::min(count, capacity)), uint32_t(capacity)};
        auto* to = reinterpret_cast<TFontObj*>(block + 1);
        for (size_t i = 0; i < block->count; ++i)
            new (to + i) TFontObj(std::move(More()[i]));
    }
    for (size_t i = 0; i < count; ++i)
        More()[i].~TFontObj();
    ::operator delete(FMore);
    FMore = block;
}

void TFontList::Reserve(size_t count)
{
    size_t more = count > 1 ? count - 1 : 0;
    if (more >= MoreCount() && more != (FMore ? FMore->capacity : 0))
        Resize(more);
}

TFontObj& TFontList::Append(TFontObj&& run)
{
    size_t count = MoreCount();
    if (!FMore || count == FMore->capacity)
        Resize(std::max<size_t>(2, count * 2));
    TFontObj* slot = new (More() + count) TFontObj(std::move(run));
    ++FMore->count;
    return *slot;
}

void TFontList::PopLast()
{
    More()[MoreCount() - 1].~TFontObj();
    if (--FMore->count == 0)
        Resize(0);
}
