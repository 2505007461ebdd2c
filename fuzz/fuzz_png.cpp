// PNG data through the stream decoder (pre-scan, libpng, masks).
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "images/ImageDecoder.h"

// A small limit keeps each run fast; the limit check itself is the same code.
constexpr size_t FuzzMaxPixels = size_t(4) * 1024 * 1024;

// Mutations nearly always break a chunk's CRC, which libpng rejects at once;
// the CRCs are recomputed so the mutated contents reach the decoder.
static void FixChunkCrcs(std::vector<uint8_t>& bytes)
{
    size_t pos = 8;
    while (bytes.size() >= pos + 12) {
        const size_t length = (size_t(bytes[pos]) << 24) | (size_t(bytes[pos + 1]) << 16)
                              | (size_t(bytes[pos + 2]) << 8) | bytes[pos + 3];
        if (length > bytes.size() - pos - 12)
            return;
        const uLong crc = crc32(0, &bytes[pos + 4], uInt(length + 4));
        const size_t at = pos + 8 + length;
        for (int i = 0; i < 4; ++i)
            bytes[at + size_t(i)] = uint8_t(crc >> (24 - 8 * i));
        pos = at + 4;
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    (void)DecodeImageStream(bytes, TTransparency::LowerLeft, FuzzMaxPixels);
    FixChunkCrcs(bytes);
    (void)DecodeImageStream(bytes, TTransparency::LowerLeft, FuzzMaxPixels);
    return 0;
}
