#pragma once
// One entry of the image cache: a decoded picture shared by every image of
// every document of a viewer that names the same source.
#include <memory>

#include "images/ImageDecoder.h"
#include "images/TBitmap.h"

class TGIFImage;

struct TBitmapItem {
    // A still picture (its mask travels in the bitmap) or an animation.
    std::shared_ptr<const TBitmap> MImage;
    std::shared_ptr<TGIFImage> Animation;
    TTransparency Transp = TTransparency::None;
    int AccessCount = 0; // loads of other documents since this one was last used
    int UsageCount = 0;  // documents using it

    bool Empty() const { return !MImage && !Animation; }
};
