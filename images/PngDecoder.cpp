#include "images/PngDecoder.h"

#include <algorithm>
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace {

constexpr size_t SignatureSize = 8;
constexpr int PaletteColorType = 3;
// Ancillary chunks (text, profiles) are read whole; a length field must not
// make libpng allocate and clear a gigabyte before the data runs out.
constexpr png_alloc_size_t MaxChunkBytes = 8 * 1024 * 1024;

uint32_t ReadBigEndian32(const uint8_t* bytes)
{
    return (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | uint32_t(bytes[3]);
}

// Everything the libpng callbacks and the error jump touch lives here, in the
// caller's frame, so a jump out of libpng skips no destructor.
struct PngContext {
    TByteSpan data;
    size_t pos = 0;
    size_t maxPixels = MaxImagePixels;
    TDecodeStatus failure = TDecodeStatus::Corrupt;
    std::string reason;
    TBitmap bitmap;
    std::vector<png_bytep> rows;
};

void ReadPngData(png_structp png, png_bytep out, size_t length)
{
    auto* context = static_cast<PngContext*>(png_get_io_ptr(png));
    if (context->data.size() - context->pos < length) {
        context->failure = TDecodeStatus::Truncated;
        png_error(png, "unexpected end of data");
    }
    std::memcpy(out, context->data.data() + context->pos, length);
    context->pos += length;
}

void OnPngError(png_structp png, png_const_charp message)
{
    auto* context = static_cast<PngContext*>(png_get_error_ptr(png));
    context->reason = message ? message : "error";
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Asks libpng for 8-bit BGRA rows, which are ARGB32 pixels in memory.
void RequestArgbRows(png_structp png, png_infop info)
{
    const int colorType = png_get_color_type(png, info);
    if (colorType == PNG_COLOR_TYPE_PALETTE || png_get_bit_depth(png, info) < 8
        || png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_expand(png);
    if (png_get_bit_depth(png, info) == 16)
        png_set_scale_16(png);
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0)
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if ((colorType & PNG_COLOR_MASK_ALPHA) == 0 && !png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

bool DecodeInto(PngContext& context)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &context, OnPngError, OnPngWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &context, ReadPngData);
    png_set_chunk_malloc_max(png, MaxChunkBytes);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (!FitsPixelLimit(width, height, context.maxPixels)) {
        context.failure = TDecodeStatus::TooLarge;
        png_error(png, "image too large");
    }
    RequestArgbRows(png, info);
    if (png_get_rowbytes(png, info) != size_t(width) * 4)
        png_error(png, "unexpected row layout");
    context.bitmap = TBitmap(int(width), int(height));
    context.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        context.rows[y] = reinterpret_cast<png_bytep>(&context.bitmap.at(0, int(y)));
    png_read_image(png, context.rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    context.bitmap.hasAlpha = std::any_of(context.bitmap.pixels.begin(), context.bitmap.pixels.end(),
                                          [](uint32_t pixel) { return pixel < 0xFF000000u; });
    return true;
}

// libpng allocates (and clears) a whole ancillary chunk before reading it, so
// a chunk whose length runs past the data is refused here, before libpng
// sees it.
bool ChunksFitTheData(TByteSpan data)
{
    size_t pos = SignatureSize;
    while (data.size() - pos >= 8) {
        const uint32_t length = ReadBigEndian32(&data[pos]);
        if (length > data.size() - pos - 8)
            return false;
        // (A file that ends after a whole chunk, without IEND, is left to libpng.)
        if (std::memcmp(&data[pos + 4], "IEND", 4) == 0)
            return true;
        pos += 8 + size_t(length);
        if (data.size() - pos < 4)
            return false;
        pos += 4; // CRC
    }
    return pos == data.size();
}

} // namespace

TPngPreScan PreScanPng(TByteSpan data)
{
    TPngPreScan scan;
    std::vector<uint8_t> alphas;
    std::vector<TColor> palette;
    size_t pos = SignatureSize;
    while (data.size() >= pos && data.size() - pos >= 8) {
        const uint32_t length = ReadBigEndian32(&data[pos]);
        const std::string type(reinterpret_cast<const char*>(&data[pos + 4]), 4);
        const size_t body = pos + 8;
        if (length > data.size() - body)
            break;
        const uint8_t* bytes = &data[body];
        if (type == "IHDR" && length >= 10)
            scan.colorType = bytes[9];
        else if (type == "PLTE") {
            palette.clear();
            for (size_t i = 0; i + 3 <= length; i += 3)
                palette.push_back(RGBColor(bytes[i], bytes[i + 1], bytes[i + 2]));
        } else if (type == "tRNS")
            alphas.assign(bytes, bytes + length);
        else if (type == "IEND")
            break;
        // Other chunks (gAMA, pHYs, text...) often come before PLTE and tRNS;
        // they are stepped over so the palette transparency is still found.
        pos = body + size_t(length) + 4; // data and CRC
    }
    if (scan.colorType != PaletteColorType)
        return scan;
    for (size_t i = 0; i < alphas.size() && i < palette.size(); ++i) {
        if (alphas[i] == 0) {
            scan.transparentColor = palette[i];
            break;
        }
    }
    return scan;
}

TDecodeResult DecodePng(TByteSpan data, size_t maxPixels)
{
    if (data.size() < SignatureSize || png_sig_cmp(data.data(), 0, SignatureSize) != 0)
        return TDecodeResult::failure(TDecodeStatus::Unsupported, "not PNG data");
    if (!ChunksFitTheData(data))
        return TDecodeResult::failure(TDecodeStatus::Truncated, "chunk runs past the end of the data");
    PngContext context;
    context.data = data;
    context.maxPixels = maxPixels;
    if (!DecodeInto(context))
        return TDecodeResult::failure(context.failure, context.reason);
    return TDecodeResult::success(std::move(context.bitmap));
}
