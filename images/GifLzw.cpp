#include "images/GifLzw.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "images/TGif.h"

namespace {

constexpr int MaxCodeWidth = 12;
constexpr int TableSize = 1 << MaxCodeWidth;

// Codes are packed least significant bit first. A 64-bit buffer is refilled a
// byte at a time; once the data is used up the stream counts as exhausted as
// soon as a whole code can no longer be formed.
class CodeReader {
public:
    explicit CodeReader(TByteSpan data) : FNext(data.data()), FEnd(data.data() + data.size()) {}

    bool hasCode(int width)
    {
        if (FCount < width)
            refill();
        return FCount >= width;
    }
    int take(int width)
    {
        const int code = int(FBits & ((uint64_t(1) << width) - 1));
        FBits >>= width;
        FCount -= width;
        return code;
    }

private:
    void refill()
    {
        while (FCount <= 56 && FNext < FEnd) {
            FBits |= uint64_t(*FNext++) << FCount;
            FCount += 8;
        }
    }
    const uint8_t* FNext;
    const uint8_t* FEnd;
    uint64_t FBits = 0;
    int FCount = 0;
};

// The string table: each code is its prefix code plus one suffix byte. The
// first byte and length of every string are kept too, so a string can be
// written straight into the output from its last byte back to its first.
struct StringTable {
    uint16_t prefix[TableSize];
    uint8_t suffix[TableSize];
    uint8_t first[TableSize];
    uint16_t length[TableSize];

    explicit StringTable(int literals)
    {
        for (int code = 0; code < literals; ++code) {
            prefix[code] = 0;
            suffix[code] = uint8_t(code);
            first[code] = uint8_t(code);
            length[code] = 1;
        }
    }
    void add(int code, int previous, uint8_t last)
    {
        prefix[code] = uint16_t(previous);
        suffix[code] = last;
        first[code] = first[previous];
        length[code] = uint16_t(length[previous] + 1);
    }
};

class PixelSink {
public:
    PixelSink(uint8_t* pixels, size_t size) : FPixels(pixels), FSize(size) {}

    void write(const StringTable& table, int code)
    {
        const size_t length = table.length[code];
        if (FPos + length <= FSize) {
            uint8_t* out = FPixels + FPos + length;
            for (size_t i = 0; i < length; ++i) {
                *--out = table.suffix[code];
                code = table.prefix[code];
            }
        } else {
            // The data says more than the image holds: keep what fits.
            for (size_t i = length; i-- > 0;) {
                if (FPos + i < FSize)
                    FPixels[FPos + i] = table.suffix[code];
                code = table.prefix[code];
            }
        }
        FPos = std::min(FPos + length, FSize + 1);
    }

private:
    uint8_t* FPixels;
    size_t FSize;
    size_t FPos = 0;
};

[[noreturn]] void invalidData() { throw EInvalidGraphicOperation(TGifErrors::InvalidLzwData); }

void decodeSequential(TByteSpan data, int minimumCodeSize, uint8_t* pixels, size_t size)
{
    const int clearCode = 1 << minimumCodeSize;
    const int endCode = clearCode + 1;
    const auto table = std::make_unique<StringTable>(clearCode);
    CodeReader reader(data);
    PixelSink sink(pixels, size);

    int width = minimumCodeSize + 1;
    int nextFree = endCode + 1;
    int widthLimit = 1 << width;
    int previous = -1;
    while (reader.hasCode(width)) {
        int code = reader.take(width);
        if (code == clearCode) {
            width = minimumCodeSize + 1;
            nextFree = endCode + 1;
            widthLimit = 1 << width;
            do {
                if (!reader.hasCode(width))
                    return;
                code = reader.take(width);
            } while (code == clearCode);
            if (code == endCode)
                invalidData();
            if (code >= nextFree)
                code = 0;
            sink.write(*table, code);
            previous = code;
            continue;
        }
        if (code == endCode)
            return;
        bool added = false;
        if (code < nextFree) {
            if (previous >= 0 && nextFree < TableSize) {
                table->add(nextFree++, previous, table->first[code]);
                added = true;
            }
        } else if (code == nextFree && previous >= 0) {
            table->add(nextFree++, previous, table->first[previous]);
            added = true;
        } else {
            invalidData();
        }
        sink.write(*table, code);
        previous = code;
        if (added && nextFree >= widthLimit && width < MaxCodeWidth) {
            ++width;
            widthLimit <<= 1;
        }
    }
}

// Interlaced rows arrive in four passes: every 8th row from 0, every 8th from
// 4, every 4th from 2, every 2nd from 1.
void reorderInterlaced(const uint8_t* decoded, uint8_t* pixels, size_t width, size_t height)
{
    static constexpr struct { size_t start, step; } passes[] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    size_t source = 0;
    for (const auto& pass : passes) {
        for (size_t row = pass.start; row < height; row += pass.step) {
            std::memcpy(pixels + row * width, decoded + source * width, width);
            ++source;
        }
    }
}

} // namespace

void DecodeGifLzw(TByteSpan data, int minimumCodeSize, uint8_t* pixels, int width, int height,
                  TGifRowOrder order)
{
    if (minimumCodeSize < 0 || minimumCodeSize + 1 > MaxCodeWidth)
        throw EInvalidGraphicOperation(TGifErrors::InvalidLzwCodeSize);
    const size_t size = size_t(std::max(width, 0)) * size_t(std::max(height, 0));
    if (order == TGifRowOrder::Sequential || size == 0) {
        decodeSequential(data, minimumCodeSize, pixels, size);
        return;
    }
    std::vector<uint8_t> decoded(size, 0);
    decodeSequential(data, minimumCodeSize, decoded.data(), size);
    reorderInterlaced(decoded.data(), pixels, size_t(width), size_t(height));
}
