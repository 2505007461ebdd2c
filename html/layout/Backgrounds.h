#pragma once
// Background images of blocks, table cells, rows and the body: where the
// tiles go in the area they cover (its padding box) and their painting.
#include <cstdint>
#include <string>

#include "gfx/TCanvas.h"
#include "html/layout/TObjectStyle.h"

class TSectionList;
struct TBlockStyle;
struct TImageFetch;
struct TPaintContext;

enum class TBackgroundRepeatKind : uint8_t { None = 0, Horizontal = 1, Vertical = 2, Both = 3 };

// Left, top, centre, bottom and right come as percentages 0, 50 and 100.
struct TBackgroundPlacement {
    TStyleLength x;
    TStyleLength y;
    TBackgroundRepeatKind repeat = TBackgroundRepeatKind::Both;
};

// The tiles along one direction: the first at `start` (relative to the
// area), `count` of them `step` apart, each `size` long (an image 1 pixel
// long and repeated is stretched over the area as one tile).
struct TTileRun {
    int start = 0;
    int count = 0;
    int step = 0;
    int size = 0;
};

// The placement a block's style gives.
TBackgroundPlacement BackgroundPlacementOf(const TBlockStyle& style);

// The start offset of an image of `image` pixels in an area of `area`
// pixels for a position, clamped to [-image, area].
int BackgroundOffset(int area, int image, const TStyleLength& position);
// The tiles of one direction, limited to those that reach [visibleFrom,
// visibleTo) (relative to the area) so a tiny tile over a huge area costs
// only what shows.
TTileRun PlanTiles(int area, int image, const TStyleLength& position, bool repeat, int visibleFrom, int visibleTo);

// Tiles the picture of a fetch over area (window pixels) within the canvas clip.
void PaintBackgroundImage(TCanvas& canvas, const TRect& area, const TImageFetch& image,
                          const TBackgroundPlacement& placement);
// A block's, cell's or row's background: the image is loaded once per
// document; missing ones are left out; printing skips it unless backgrounds print.
void PaintBlockBackground(TPaintContext& pc, TSectionList& document, const std::string& name, const TRect& area,
                          const TBackgroundPlacement& placement);
// The body's background over the document area (document pixels) scrolled
// to pc.yOffset; the viewer calls it before painting the document. A fixed
// background covers the window (viewHeight pixels high) instead.
void PaintDocumentBackground(TPaintContext& pc, TSectionList& document, const TRect& documentArea, int viewHeight = 0);
