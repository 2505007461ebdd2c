#pragma once
// The font runs of a text section, ordered by start position.
#include <memory>
#include <vector>

#include "html/layout/TFontObj.h"

class TFontList {
public:
    TFontObj& Add(std::unique_ptr<TFontObj> run);
    // The run in effect at a position (the last one with the greatest start <= pos).
    TFontObj* GetFontObjAt(int pos) const;
    size_t IndexAt(int pos) const;
    // Characters from pos until the next run starts, or until end.
    int GetFontCountAt(int pos, int end) const;
    bool Empty() const { return FRuns.empty(); }
    size_t Count() const { return FRuns.size(); }
    TFontObj& operator[](size_t i) const { return *FRuns[i]; }
    TFontObj& Last() const { return *FRuns.back(); }
    // Shifts the run starts through a position map (old -> new index).
    template <typename Map> void Remap(const Map& map)
    {
        for (auto& r : FRuns)
            r->Pos = map(r->Pos);
    }

private:
    std::vector<std::unique_ptr<TFontObj>> FRuns;
};
