#pragma once
// The text of a section: UTF-16 characters, up to six of them in place and
// more in a block of their own; 16 bytes where a std::u16string takes 32 (a
// document has hundreds of thousands of sections, most of them short).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

class TSectionText {
public:
    TSectionText() = default;
    TSectionText(const TSectionText& source);
    TSectionText& operator=(const TSectionText&) = delete;
    ~TSectionText();

    std::u16string_view view() const { return {data(), size()}; }
    operator std::u16string_view() const { return view(); }
    const char16_t* data() const { return OnHeap() ? Heap() : InPlace(); }
    char16_t* data() { return OnHeap() ? Heap() : InPlace(); }
    size_t size() const { return FBits & SizeMask; }
    bool empty() const { return size() == 0; }
    size_t capacity() const { return OnHeap() ? HeapCapacity() : InPlaceCount; }
    char16_t operator[](size_t i) const { return data()[i]; }
    char16_t& operator[](size_t i) { return data()[i]; }
    char16_t back() const { return data()[size() - 1]; }
    size_t find(char16_t c, size_t from = 0) const { return view().find(c, from); }

    void push_back(char16_t c);
    // Room for n characters at least (growing as a string grows).
    void reserve(size_t n);
    // Drops the characters from n on (n <= size()).
    void truncate(size_t n);
    // Room for exactly the characters held.
    void shrink_to_fit() { Reallocate(size()); }

private:
    static constexpr size_t InPlaceCount = 6;
    static constexpr uint32_t HeapBit = 0x80000000u;
    static constexpr uint32_t SizeMask = 0x7FFFFFFFu;
    bool OnHeap() const { return (FBits & HeapBit) != 0; }
    char16_t* InPlace() const { return reinterpret_cast<char16_t*>(const_cast<unsigned char*>(FStore)); }
    char16_t* Heap() const
    {
        char16_t* heap = nullptr;
        std::memcpy(&heap, FStore, sizeof heap);
        return heap;
    }
    uint32_t HeapCapacity() const
    {
        uint32_t capacity = 0;
        std::memcpy(&capacity, FStore + sizeof(char16_t*), sizeof capacity);
        return capacity;
    }
    // Moves the characters into room for capacity of them (>= size()).
    void Reallocate(size_t capacity);

    // In place: the characters. On the heap: their address, then the room.
    alignas(4) unsigned char FStore[sizeof(char16_t*) + sizeof(uint32_t)] = {};
    // The count, and HeapBit when the characters are on the heap.
    uint32_t FBits = 0;
};
