#pragma once
// The font runs of a text section, ordered by start position. Most
// sections have a single run, held in place; runs never move (the document's
// link list and a run's first-of-link point at them).
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "html/layout/TFontObj.h"

class TFontList {
public:
    TFontList() = default;
    TFontList(const TFontList&) = delete;
    TFontList& operator=(const TFontList&) = delete;

    // Appends a run made from args (TFontObj's constructor arguments).
    template <typename... Args> TFontObj& Add(Args&&... args)
    {
        if (!FFirst)
            return FFirst.emplace(std::forward<Args>(args)...);
        if (!FMore)
            FMore = std::make_unique<std::vector<std::unique_ptr<TFontObj>>>();
        FMore->push_back(std::make_unique<TFontObj>(std::forward<Args>(args)...));
        return *FMore->back();
    }
    // The run in effect at a position (the last one with the greatest start <= pos).
    TFontObj* GetFontObjAt(int pos) const;
    size_t IndexAt(int pos) const;
    // Characters from pos until the next run starts, or until end.
    int GetFontCountAt(int pos, int end) const;
    bool Empty() const { return !FFirst; }
    size_t Count() const { return FFirst ? 1 + (FMore ? FMore->size() : 0) : 0; }
    TFontObj& operator[](size_t i) const { return i == 0 ? *FFirst : *(*FMore)[i - 1]; }
    TFontObj& Last() const { return FMore ? *FMore->back() : *FFirst; }
    // Drops the runs after the first that start at or beyond end and so
    // cover no character (the font changes at the close of a link or a
    // bold element that ends its cell), stopping at a run for which
    // pinned(run) holds (the document's link list points at it).
    template <typename Pinned> void DropEmptyTail(int end, const Pinned& pinned)
    {
        while (FMore && FMore->back()->Pos >= end && !pinned(*FMore->back())) {
            FMore->pop_back();
            if (FMore->empty())
                FMore.reset();
        }
        if (FMore && FMore->capacity() > FMore->size())
            FMore->shrink_to_fit();
    }
    // Shifts the run starts through a position map (old -> new index).
    template <typename Map> void Remap(const Map& map)
    {
        for (size_t i = 0; i < Count(); ++i)
            (*this)[i].Pos = map((*this)[i].Pos);
    }

private:
    // Mutable as the runs were when every one was held by pointer: a const
    // list still hands out runs to paint and hover.
    mutable std::optional<TFontObj> FFirst;
    // The runs after the first, made when there is a second.
    std::unique_ptr<std::vector<std::unique_ptr<TFontObj>>> FMore;
};
