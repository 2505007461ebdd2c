#include "images/TGifStrip.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int MinimumDelayMs = 30;
}

int TGifStrip::playCount() const
{
    if (loopCount < 0)
        return 1;
    return loopCount == 0 ? 0 : loopCount + 1;
}

TBitmap TGifStrip::frame(int index) const
{
    if (index < 0 || index >= frameCount || frameWidth <= 0 || frameHeight <= 0)
        return {};
    TBitmap bitmap(frameWidth, frameHeight);
    if (strip.hasMask())
        bitmap.createMask();
    const size_t left = size_t(index) * size_t(frameWidth);
    const size_t width = size_t(frameWidth);
    for (size_t y = 0; y < size_t(frameHeight); ++y) {
        const size_t from = y * size_t(strip.width) + left;
        std::memcpy(&bitmap.pixels[y * width], &strip.pixels[from], width * sizeof(uint32_t));
        if (strip.hasMask())
            std::memcpy(&bitmap.mask[y * width], &strip.mask[from], width);
    }
    return bitmap;
}

TGifStrip TGifStrip::fromGif(const TGif& gif)
{
    TGifStrip result;
    result.strip = gif.renderStrip();
    result.frameCount = gif.imageCount();
    result.frameWidth = gif.screenWidth();
    result.frameHeight = gif.screenHeight();
    result.loopCount = gif.loopCount();
    for (int i = 0; i < gif.imageCount(); ++i) {
        result.frames.push_back({gif.disposal(i), gif.imageLeft(i), gif.imageTop(i), gif.imageWidth(i),
                                 gif.imageHeight(i), std::max(MinimumDelayMs, gif.delay(i) * 10)});
    }
    return result;
}

TGifStrip DecodeGifStrip(TByteSpan data, size_t maxPixels)
{
    TGif gif;
    gif.loadFromStream(data, maxPixels);
    return TGifStrip::fromGif(gif);
}
