#pragma once
// Images queued while the text is painted and drawn after it, so that text
// backgrounds never cover a picture.
#include <cstddef>
#include <vector>

class TCanvas;
class TFloatingObj;

class TDrawList {
public:
    void Clear() { FItems.clear(); }
    void Add(TFloatingObj* obj, int x, int y) { FItems.push_back({obj, x, y}); }
    // Draws every queued image in order and empties the list.
    void DrawAll(TCanvas& canvas);
    size_t Count() const { return FItems.size(); }

private:
    struct TImageRec {
        TFloatingObj* obj;
        int x;
        int y;
    };
    std::vector<TImageRec> FItems;
};
