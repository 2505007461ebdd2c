#pragma once
// A frame-set document laid out as the frame viewer shows it: each frame's
// document in its own rectangle, with borders between the frames.
#include <memory>
#include <string>
#include <vector>

#include "RenderDocument.h"
#include "gfx/TCanvas.h"

struct TRenderedFrame {
    std::string name;
    std::string source;                     // the file, relative names resolved
    TRect rect;
    std::unique_ptr<TRenderedDocument> doc; // null when the file cannot be read
};

struct TRenderedFrameSet {
    std::string title;
    std::vector<TRenderedFrame> frames; // in document order
    std::vector<TRect> borders;         // the gaps between neighbouring frames
};

// When the file is a frame-set document, lays out every frame of it in a
// window of width x height, at zoom percent, and answers true; false for any
// other document.
bool LoadFrameSet(const std::string& path, TCanvas& canvas, int width, int height, int zoom, TRenderedFrameSet& out);
