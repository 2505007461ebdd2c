#pragma once
// The font runs of a text section, ordered by start position. Every
// section has a first run, held in place; the others follow in one block
// out of line. Runs move only while the section is being built: once it is
// finished the document's link list and a run's first-of-link point at them.
#include <cstdint>
#include <memory>
#include <utility>

#include "html/layout/TFontObj.h"

class TFontList {
public:
    TFontList() = default;
    TFontList(const TFontList&) = delete;
    TFontList& operator=(const TFontList&) = delete;
    ~TFontList();

    // Appends a run made from args (TFontObj's constructor arguments).
    template <typename... Args> TFontObj& Add(Args&&... args)
    {
        if (Empty())
            return FFirst = TFontObj(std::forward<Args>(args)...);
        return Append(TFontObj(std::forward<Args>(args)...));
    }
    // Makes room for count runs in all (copies know their count).
    void Reserve(size_t count);
    // The run in effect at a position (the last one with the greatest start <= pos).
    TFontObj* GetFontObjAt(int pos) const;
    size_t IndexAt(int pos) const;
    // Characters from pos until the next run starts, or until end.
    int GetFontCountAt(int pos, int end) const;
    bool Empty() const { return !FFirst.FFont; }
    size_t Count() const { return Empty() ? 0 : 1 + MoreCount(); }
    TFontObj& operator[](size_t i) const { return i == 0 ? FFirst : More()[i - 1]; }
    TFontObj& Last() const { return (*this)[Count() - 1]; }
    // Drops the runs after the first that start at or beyond end and so
    // cover no character (the font changes at the close of a link or a
    // bold element that ends its cell), stopping at a run for which
    // kept(run) holds, and gives the spare room back: no run is added after.
    template <typename Kept> void Close(int end, const Kept& kept)
    {
        while (MoreCount() > 0 && Last().Pos >= end && !kept(Last()))
            PopLast();
        Reserve(Count());
    }
    // Shifts the run starts through a position map (old -> new index).
    template <typename Map> void Remap(const Map& map)
    {
        for (size_t i = 0; i < Count(); ++i)
            (*this)[i].Pos = map((*this)[i].Pos);
    }

private:
    // The count and room of the block, then the runs.
    struct THeader {
        uint32_t count;
        uint32_t capacity;
    };
    size_t MoreCount() const { return FMore ? FMore->count : 0; }
    TFontObj* More() const { return FMore ? std::launder(reinterpret_cast<TFontObj*>(FMore + 1)) : nullptr; }
    TFontObj& Append(TFontObj&& run);
    void PopLast();
    // Moves the runs after the first into a block with room for capacity
    // of them (none: no block).
    void Resize(size_t capacity);

    // Mutable as the runs were when every one was held by pointer: a const
    // list still hands out runs to paint and hover. The first run has no
    // font while the list is empty.
    mutable TFontObj FFirst;
    THeader* FMore = nullptr;
};
