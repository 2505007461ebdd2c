// JPEG data through the stream decoder, masks included.
#include <cstdint>
#include <cstddef>

#include "images/ImageDecoder.h"

// A small limit keeps each run fast; the limit check itself is the same code.
constexpr size_t FuzzMaxPixels = size_t(4) * 1024 * 1024;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    (void)DecodeImageStream(TByteSpan(data, size), TTransparency::LowerLeft, FuzzMaxPixels);
    return 0;
}
