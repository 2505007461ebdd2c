#pragma once
// The boxes of position: fixed in a document. They are laid out once,
// against the viewport, and stay in the window while the document scrolls:
// painted after the document at their place in the window, and asked first
// by hit tests. Printing paints them once, where they are laid out (at the
// top of the document), with the rest of the content.
#include <vector>

#include "html/layout/LayoutTypes.h"

class TBlock;
class TCanvas;
class TFloatingObj;

class TFixedLayer {
public:
    // A layout pass starts: the boxes register again as they are laid out.
    void Clear() { FBoxes.clear(); }
    void Add(TBlock* box);
    bool Empty() const { return FBoxes.empty(); }

    // Paints every box at its place in the window (lowest z-index first).
    void Paint(TPaintContext& pc) const;
    // The topmost box under window point (x, y), or null.
    TBlock* BoxAt(int x, int windowY) const;

private:
    std::vector<TBlock*> FBoxes; // in z-order, document order among equals
};
