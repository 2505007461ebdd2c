#pragma once
#include <vector>

#include "images/TBitmap.h"
#include "images/TGif.h"

// What an animated image keeps of one GIF frame.
struct TGifFrameInfo {
    int disposal = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int delayMs = 0; // max(30, GIF delay x 10)
};

// A decoded GIF as the animated image uses it: all composed frames side by
// side in one strip (with a mask strip when transparent), the frame list and
// the loop count.
struct TGifStrip {
    TBitmap strip;
    int frameCount = 0;
    int frameWidth = 0;
    int frameHeight = 0;
    std::vector<TGifFrameInfo> frames;
    int loopCount = -1; // -1: no loop extension; 0: forever; n: n extra passes

    // How many times the animation plays: 1 without a loop count, n + 1 for a
    // loop count n > 0, 0 (forever) for a loop count of 0.
    int playCount() const;
    bool hasMask() const { return strip.hasMask(); }
    // Frame `index` (0-based) cut out of the strip, with its mask.
    TBitmap frame(int index) const;

    static TGifStrip fromGif(const TGif& gif);
};

// Decodes GIF data into its strip. Raises EInvalidGraphicOperation.
TGifStrip DecodeGifStrip(TByteSpan data, size_t maxPixels = MaxImagePixels);
