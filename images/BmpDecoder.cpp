#include "images/BmpDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

namespace {

enum Compression : uint32_t { BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3, BiAlphaBitfields = 6 };

constexpr size_t FileHeaderSize = 14;
constexpr size_t CoreHeaderSize = 12;
constexpr size_t InfoHeaderSize = 40;
constexpr uint32_t OpaqueBlack = 0xFF000000u;

uint32_t Read16(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8); }
uint32_t Read32(const uint8_t* p) { return Read16(p) | (Read16(p + 2) << 16); }

// One colour component of a bit-field pixel, widened to 8 bits by repeating
// its bits (5-bit 31 becomes 255) or narrowed to its top 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t m = 0) : mask(m)
    {
        if (mask == 0)
            return;
        shift = std::countr_zero(mask);
        bits = std::bit_width(mask >> shift);
    }
    uint32_t extract(uint32_t value, uint32_t absent) const
    {
        if (mask == 0)
            return absent;
        const uint32_t component = (value & mask) >> shift;
        if (bits >= 8)
            return (component >> (bits - 8)) & 0xFF;
        uint32_t widened = component << (8 - bits);
        for (int filled = bits; filled < 8; filled += bits)
            widened |= widened >> filled;
        return widened & 0xFF;
    }
};

struct BmpInfo {
    int64_t width = 0;
    int64_t height = 0;
    bool topDown = false;
    int bitCount = 0;
    uint32_t compression = BiRgb;
    uint32_t colorsUsed = 0;
    size_t headerSize = 0;
    uint32_t masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
    bool hasMasks = false;
    size_t paletteEntrySize = 4;
};

class BmpReader {
public:
    BmpReader(TByteSpan data, size_t maxPixels) : FData(data), FMaxPixels(maxPixels) {}

    TDecodeResult decode()
    {
        if (FData.size() < FileHeaderSize + 4 || FData[0] != 'B' || FData[1] != 'M')
            return fail(TDecodeStatus::Unsupported, "not BMP data");
        if (!readInfo())
            return FResult;
        if (!readPalette())
            return FResult;
        FBitmap = TBitmap(int(FInfo.width), int(FInfo.height), FPalette.empty() ? OpaqueBlack : FPalette[0]);
        const bool done = FInfo.compression == BiRle8 || FInfo.compression == BiRle4 ? decodeRle() : decodeRows();
        if (!done)
            return FResult;
        return TDecodeResult::success(std::move(FBitmap));
    }

private:
    bool failed(TDecodeStatus status, const char* reason)
    {
        FResult = TDecodeResult::failure(status, reason);
        return false;
    }
    static TDecodeResult fail(TDecodeStatus status, const char* reason) { return TDecodeResult::failure(status, reason); }

    bool readInfo()
    {
        FInfo.headerSize = Read32(&FData[FileHeaderSize]);
        const size_t headerEnd = FileHeaderSize + FInfo.headerSize;
        if (FInfo.headerSize < CoreHeaderSize || FInfo.headerSize > FData.size() - FileHeaderSize)
            return failed(TDecodeStatus::Truncated, "header cut short");
        const uint8_t* h = &FData[FileHeaderSize];
        if (FInfo.headerSize == CoreHeaderSize) {
            FInfo.width = Read16(h + 4);
            FInfo.height = Read16(h + 6);
            FInfo.bitCount = int(Read16(h + 10));
            FInfo.paletteEntrySize = 3;
        } else {
            if (FInfo.headerSize < 16)
                return failed(TDecodeStatus::Corrupt, "bad header size");
            FInfo.width = int32_t(Read32(h + 4));
            FInfo.height = int32_t(Read32(h + 8));
            FInfo.bitCount = int(Read16(h + 14));
            if (FInfo.headerSize >= 20)
                FInfo.compression = Read32(h + 16);
            if (FInfo.headerSize >= 36)
                FInfo.colorsUsed = Read32(h + 32);
            readMasks(h, headerEnd);
        }
        if (FInfo.height < 0) {
            FInfo.topDown = true;
            FInfo.height = -FInfo.height;
        }
        FPaletteStart = headerEnd + (FInfo.headerSize == InfoHeaderSize && FInfo.hasMasks ? 4 * maskCount() : 0);
        return checkFormat();
    }

    size_t maskCount() const { return FInfo.compression == BiAlphaBitfields ? 4 : 3; }

    // Bit-field masks sit in the larger headers, or just after a 40-byte one.
    void readMasks(const uint8_t* h, size_t headerEnd)
    {
        if (FInfo.compression != BiBitfields && FInfo.compression != BiAlphaBitfields) {
            // Version 4 and 5 headers may name an alpha mask for plain 32-bit data.
            if (FInfo.headerSize >= 56 && FInfo.compression == BiRgb && FInfo.bitCount == 32 && Read32(h + 52) != 0) {
                FInfo.masks[0] = 0x00FF0000;
                FInfo.masks[1] = 0x0000FF00;
                FInfo.masks[2] = 0x000000FF;
                FInfo.masks[3] = Read32(h + 52);
                FInfo.hasMasks = true;
            }
            return;
        }
        FInfo.hasMasks = true;
        if (FInfo.headerSize >= 52) {
            for (size_t i = 0; i < 3; ++i)
                FInfo.masks[i] = Read32(h + 40 + 4 * i);
            if (FInfo.headerSize >= 56)
                FInfo.masks[3] = Read32(h + 52);
            return;
        }
        if (FInfo.headerSize != InfoHeaderSize || FData.size() - headerEnd < 4 * maskCount())
            return;
        for (size_t i = 0; i < maskCount(); ++i)
            FInfo.masks[i] = Read32(&FData[headerEnd + 4 * i]);
    }

    bool checkFormat()
    {
        static constexpr int depths[] = {1, 4, 8, 16, 24, 32};
        if (std::find(std::begin(depths), std::end(depths), FInfo.bitCount) == std::end(depths))
            return failed(TDecodeStatus::Unsupported, "unsupported bit depth");
        switch (FInfo.compression) {
        case BiRgb:
            break;
        case BiRle8:
            if (FInfo.bitCount != 8)
                return failed(TDecodeStatus::Corrupt, "RLE8 needs 8 bits");
            break;
        case BiRle4:
            if (FInfo.bitCount != 4)
                return failed(TDecodeStatus::Corrupt, "RLE4 needs 4 bits");
            break;
        case BiBitfields:
        case BiAlphaBitfields:
            if (FInfo.bitCount != 16 && FInfo.bitCount != 32)
                return failed(TDecodeStatus::Corrupt, "bit fields need 16 or 32 bits");
            break;
        default:
            return failed(TDecodeStatus::Unsupported, "unsupported compression");
        }
        if (FInfo.width <= 0 || FInfo.height <= 0)
            return failed(TDecodeStatus::Corrupt, "empty picture");
        if (!FitsPixelLimit(size_t(FInfo.width), size_t(FInfo.height), FMaxPixels))
            return failed(TDecodeStatus::TooLarge, "image too large");
        return true;
    }

    bool readPalette()
    {
        if (FInfo.bitCount > 8)
            return true;
        const size_t full = size_t(1) << FInfo.bitCount;
        const size_t count = FInfo.colorsUsed == 0 ? full : std::min<size_t>(FInfo.colorsUsed, full);
        const size_t bytes = count * FInfo.paletteEntrySize;
        if (FPaletteStart > FData.size() || FData.size() - FPaletteStart < bytes)
            return failed(TDecodeStatus::Truncated, "palette cut short");
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* entry = &FData[FPaletteStart + i * FInfo.paletteEntrySize];
            FPalette.push_back(OpaqueBlack | (uint32_t(entry[2]) << 16) | (uint32_t(entry[1]) << 8) | entry[0]);
        }
        FPixelStart = FPaletteStart + bytes;
        return true;
    }

    // Where the pixels start: the file header says so; a zero or impossible
    // offset falls back to just after the palette.
    size_t pixelOffset() const
    {
        const size_t stated = Read32(&FData[10]);
        const size_t afterPalette = FPixelStart ? FPixelStart : FPaletteStart;
        return stated >= FileHeaderSize && stated < FData.size() ? stated : afterPalette;
    }

    int rowOf(int64_t line) const { return int(FInfo.topDown ? line : FInfo.height - 1 - line); }

    uint32_t paletteColor(uint32_t index) const { return index < FPalette.size() ? FPalette[index] : OpaqueBlack; }

    bool decodeRows()
    {
        const size_t width = size_t(FInfo.width);
        const size_t stride = (width * size_t(FInfo.bitCount) + 31) / 32 * 4;
        const size_t start = pixelOffset();
        const size_t needed = stride * size_t(FInfo.height);
        if (start > FData.size() || FData.size() - start < needed - (stride - (width * size_t(FInfo.bitCount) + 7) / 8))
            return failed(TDecodeStatus::Truncated, "pixel data cut short");
        const auto channels = channelsForDepth();
        for (int64_t line = 0; line < FInfo.height; ++line) {
            const uint8_t* row = &FData[start + size_t(line) * stride];
            uint32_t* out = &FBitmap.at(0, rowOf(line));
            decodeRow(row, out, width, channels);
        }
        return true;
    }

    std::array<Channel, 4> channelsForDepth() const
    {
        if (FInfo.hasMasks)
            return {Channel(FInfo.masks[0]), Channel(FInfo.masks[1]), Channel(FInfo.masks[2]), Channel(FInfo.masks[3])};
        if (FInfo.bitCount == 16)
            return {Channel(0x7C00), Channel(0x03E0), Channel(0x001F), Channel(0)};
        return {Channel(0x00FF0000), Channel(0x0000FF00), Channel(0x000000FF), Channel(0)};
    }

    void decodeRow(const uint8_t* row, uint32_t* out, size_t width, const std::array<Channel, 4>& channels) const
    {
        switch (FInfo.bitCount) {
        case 1:
        case 4:
        case 8: {
            const int bits = FInfo.bitCount;
            const uint32_t mask = (1u << bits) - 1;
            for (size_t x = 0; x < width; ++x) {
                const size_t bit = x * size_t(bits);
                const uint32_t index = (row[bit / 8] >> (8 - bits - int(bit % 8))) & mask;
                out[x] = paletteColor(index);
            }
            break;
        }
        case 24:
            for (size_t x = 0; x < width; ++x, row += 3)
                out[x] = OpaqueBlack | (uint32_t(row[2]) << 16) | (uint32_t(row[1]) << 8) | row[0];
            break;
        default: {
            const size_t bytes = size_t(FInfo.bitCount) / 8;
            for (size_t x = 0; x < width; ++x, row += bytes) {
                const uint32_t value = bytes == 2 ? Read16(row) : Read32(row);
                out[x] = (channels[3].extract(value, 255) << 24) | (channels[0].extract(value, 0) << 16)
                         | (channels[1].extract(value, 0) << 8) | channels[2].extract(value, 0);
            }
            break;
        }
        }
    }

    // Run-length data: pairs (count, colour) or escapes 0 0 end of line,
    // 0 1 end of picture, 0 2 dx dy move, 0 n n literal pixels (word padded).
    bool decodeRle()
    {
        const bool four = FInfo.compression == BiRle4;
        size_t pos = pixelOffset();
        int64_t x = 0, line = 0;
        const auto put = [&](uint32_t index) {
            if (x < FInfo.width && line < FInfo.height)
                FBitmap.at(int(x), rowOf(line)) = paletteColor(index);
            ++x;
        };
        for (;;) {
            if (line >= FInfo.height)
                return true;
            if (FData.size() - std::min(pos, FData.size()) < 2)
                return failed(TDecodeStatus::Truncated, "run-length data cut short");
            const uint8_t count = FData[pos], value = FData[pos + 1];
            pos += 2;
            if (count > 0) {
                for (int i = 0; i < count; ++i)
                    put(four ? (i % 2 == 0 ? value >> 4 : value & 15) : value);
                continue;
            }
            switch (value) {
            case 0:
                x = 0;
                ++line;
                break;
            case 1:
                return true;
            case 2:
                if (FData.size() - pos < 2)
                    return failed(TDecodeStatus::Truncated, "run-length data cut short");
                x += FData[pos];
                line += FData[pos + 1];
                pos += 2;
                break;
            default: {
                const size_t bytes = four ? (size_t(value) + 1) / 2 : size_t(value);
                if (FData.size() - pos < bytes)
                    return failed(TDecodeStatus::Truncated, "run-length data cut short");
                for (int i = 0; i < value; ++i) {
                    const uint8_t byte = FData[pos + (four ? size_t(i) / 2 : size_t(i))];
                    put(four ? (i % 2 == 0 ? byte >> 4 : byte & 15) : byte);
                }
                pos += (bytes + 1) & ~size_t(1);
                break;
            }
            }
        }
    }

    TByteSpan FData;
    size_t FMaxPixels;
    BmpInfo FInfo;
    size_t FPaletteStart = 0;
    size_t FPixelStart = 0;
    std::vector<uint32_t> FPalette;
    TBitmap FBitmap;
    TDecodeResult FResult;
};

} // namespace

TDecodeResult DecodeBmp(TByteSpan data, size_t maxPixels) { return BmpReader(data, maxPixels).decode(); }
