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
    // Draws the images queued from position first on (those of a clipped
    // box, while its clip is in force) and takes them off the list.
    void DrawFrom(TCanvas& canvas, size_t first);
    size_t Count() const { return FItems.size(); }

private:
    struct TImageRec {
        TFloatingObj* obj;
        int x;
        int y;
    };
    std::vector<TImageRec> FItems;
};
