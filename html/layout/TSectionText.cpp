#include "html/layout/TSectionText.h"

#include <algorithm>

static_assert(sizeof(TSectionText) == 16);

TSectionText::TSectionText(const TSectionText& source)
{
    if (source.size() > InPlaceCount)
        Reallocate(source.size());
    std::copy_n(source.data(), source.size(), data());
    FBits = (FBits & HeapBit) | uint32_t(source.size());
}

TSectionText::~TSectionText()
{
    if (OnHeap())
        delete[] Heap();
}

void TSectionText::Reallocate(size_t capacity)
{
    size_t n = size();
    bool toHeap = capacity > InPlaceCount;
    if (!toHeap && !OnHeap())
        return;
    if (toHeap && OnHeap() && capacity == HeapCapacity())
        return;
    char16_t* old = OnHeap() ? Heap() : nullptr;
    if (toHeap) {
        auto* heap = new char16_t[capacity];
        std::copy_n(data(), n, heap);
        auto room = uint32_t(capacity);
        std::memcpy(FStore, &heap, sizeof heap);
        std::memcpy(FStore + sizeof heap, &room, sizeof room);
        FBits = HeapBit | uint32_t(n);
    } else {
        std::copy_n(old, n, InPlace());
        FBits = uint32_t(n);
    }
    delete[] old;
}

void TSectionText::reserve(size_t n)
{
    if (n > capacity())
        Reallocate(std::max(n, capacity() * 2));
}

void TSectionText::push_back(char16_t c)
{
    reserve(size() + 1);
    data()[size()] = c;
    ++FBits;
}

void TSectionText::truncate(size_t n)
{
    if (n < size())
        FBits = (FBits & HeapBit) | uint32_t(n);
}
