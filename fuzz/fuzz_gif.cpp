// GIF data through the whole decoder: blocks, LZW, strip rendering, frames.
#include <cstdint>
#include <cstddef>

#include "images/ImageDecoder.h"

// A small limit keeps each run fast; the limit check itself is the same code.
constexpr size_t FuzzMaxPixels = size_t(4) * 1024 * 1024;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const TDecodedImage image = DecodeImageData(TByteSpan(data, size), TTransparency::LowerLeft, FuzzMaxPixels);
    if (image.animated()) {
        for (int i = 0; i < image.animation->frameCount; ++i)
            (void)image.animation->frame(i);
    }
    return 0;
}
