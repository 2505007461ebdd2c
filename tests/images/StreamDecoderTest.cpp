#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>
#include <png.h>
#include <sys/stat.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>

#include "images/ImageDecoder.h"
#include "images/PngDecoder.h"
#include "tests/images/GifBuilder.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t Black = 0xFF000000u, Red = 0xFFFF0000u, Green = 0xFF00FF00u, Blue = 0xFF0000FFu;

// A bottom-up 24-bit BMP of the given top-down ARGB pixels.
std::vector<uint8_t> MakeBmp(int width, int height, const std::vector<uint32_t>& pixels)
{
    const size_t stride = (size_t(width) * 3 + 3) / 4 * 4;
    std::vector<uint8_t> bytes(54 + stride * size_t(height), 0);
    const auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + size_t(i)] = uint8_t(v >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, uint32_t(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(width));
    put32(22, uint32_t(height));
    bytes[26] = 1;
    bytes[28] = 24;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[size_t(y) * size_t(width) + size_t(x)];
            uint8_t* out = &bytes[54 + size_t(height - 1 - y) * stride + size_t(x) * 3];
            out[0] = uint8_t(p);
            out[1] = uint8_t(p >> 8);
            out[2] = uint8_t(p >> 16);
        }
    }
    return bytes;
}

// A palette PNG (libpng's writer puts colour-space chunks before PLTE).
std::vector<uint8_t> MakePalettePng(int width, int height, const std::vector<uint8_t>& indices,
                                    const std::vector<uint32_t>& rgbaPalette)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGBA | PNG_FORMAT_FLAG_COLORMAP;
    image.colormap_entries = png_uint_32(rgbaPalette.size());
    std::vector<uint8_t> colormap;
    for (uint32_t c : rgbaPalette)
        colormap.insert(colormap.end(), {uint8_t(c >> 24), uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_get_memory_size(image, size, 0, indices.data(), 0, colormap.data()));
    std::vector<uint8_t> bytes(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, indices.data(), 0, colormap.data()));
    bytes.resize(size);
    return bytes;
}

std::vector<uint8_t> MakeJpeg(int width, int height)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(size_t(width) * 3, 200);
    while (info.next_scanline < info.image_height) {
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

void PutBigEndian32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + size_t(i)] = uint8_t(value >> (24 - 8 * i));
}

// A PNG whose IHDR claims the given size (with a valid CRC).
std::vector<uint8_t> WithPngSize(std::vector<uint8_t> png, uint32_t width, uint32_t height)
{
    PutBigEndian32(png, 16, width);
    PutBigEndian32(png, 20, height);
    PutBigEndian32(png, 29, uint32_t(crc32(0, &png[12], 17)));
    return png;
}

// Puts an ancillary text chunk right after IHDR, before PLTE and tRNS, as
// many encoders do with their colour-space and text chunks.
std::vector<uint8_t> WithTextChunkFirst(std::vector<uint8_t> png)
{
    std::vector<uint8_t> chunk = {0, 0, 0, 6, 't', 'E', 'X', 't', 'a', 'b', 0, 'c', 'd', 'e', 0, 0, 0, 0};
    PutBigEndian32(chunk, 14, uint32_t(crc32(0, &chunk[4], 10)));
    png.insert(png.begin() + 33, chunk.begin(), chunk.end());
    return png;
}

std::vector<uint8_t> Head(const std::vector<uint8_t>& bytes, size_t length)
{
    return {bytes.begin(), bytes.begin() + long(std::min(length, bytes.size()))};
}

} // namespace

TEST(ImageFormat, DetectedByFirstBytes)
{
    const auto detect = [](const std::string& text) {
        return DetectImageFormat(TByteSpan(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    };
    EXPECT_EQ(detect("GIF89a..."), TImageFormat::Gif89a);
    EXPECT_EQ(detect("GIF87a..."), TImageFormat::Gif87a);
    EXPECT_EQ(detect("GIF8"), TImageFormat::Gif87a);
    EXPECT_EQ(detect("BM...."), TImageFormat::Bmp);
    EXPECT_EQ(detect("\x89PNG\r\n"), TImageFormat::Png);
    EXPECT_EQ(detect("\xFF\xD8\xFF"), TImageFormat::Jpeg);
    EXPECT_EQ(detect("GIF7"), TImageFormat::Unknown);
    EXPECT_EQ(detect("<html>"), TImageFormat::Unknown);
    EXPECT_EQ(detect(""), TImageFormat::Unknown);
    EXPECT_EQ(int(TImageFormat::Jpeg), 5);
}

TEST(StreamDecoder, AcceptsOnlyBmpPngAndJpegOfTwentyBytesOrMore)
{
    EXPECT_EQ(DecodeImageStream(Head(MakeBmp(1, 1, {Red}), 19), TTransparency::None).status, TDecodeStatus::Truncated);
    GifBuilder gif;
    gif.screen(8, 8, {0xFF0000, 0x00FF00}).image({0, 0, 8, 8, std::vector<uint8_t>(64, 1), {}, false, 2});
    const TDecodedImage asStream = DecodeImageStream(gif.bytes, TTransparency::None);
    EXPECT_EQ(asStream.status, TDecodeStatus::Unsupported) << "GIF data is not the stream decoder's";
    EXPECT_TRUE(DecodeImageData(gif.bytes, TTransparency::None).ok());
    EXPECT_FALSE(DecodeImageStream(std::vector<uint8_t>(64, 'x'), TTransparency::None).ok());
}

TEST(StreamDecoder, LowerLeftMaskMarksTheCornerColour)
{
    const std::vector<uint32_t> pixels = {Red, Green, Blue, Green, Red, Green};
    const auto bmp = MakeBmp(3, 2, pixels);
    const TDecodedImage plain = DecodeImageStream(bmp, TTransparency::None);
    ASSERT_TRUE(plain.ok());
    EXPECT_EQ(plain.bitmap.pixels, pixels);
    EXPECT_FALSE(plain.bitmap.hasMask());
    EXPECT_EQ(plain.transparency, TTransparency::None);

    const TDecodedImage masked = DecodeImageStream(bmp, TTransparency::LowerLeft);
    ASSERT_TRUE(masked.ok());
    EXPECT_EQ(masked.transparency, TTransparency::LowerLeft);
    EXPECT_EQ(masked.bitmap.mask, (std::vector<uint8_t>{0, 255, 0, 255, 0, 255}));
    EXPECT_EQ(masked.bitmap.pixels, pixels) << "the lower-left kind keeps the colours";
}

TEST(StreamDecoder, HostColourMask)
{
    TBitmap bitmap(2, 1);
    bitmap.pixels = {0xFF102030u, 0x80302010u};
    MakeHostColorMask(bitmap, RGBColor(0x30, 0x20, 0x10));
    EXPECT_EQ(bitmap.mask, (std::vector<uint8_t>{0, 255})) << "0x00BBGGRR, alpha ignored";
}

TEST(StreamDecoder, PngPaletteEntryWithZeroAlphaGivesThePaletteMask)
{
    // Entry 1 is fully transparent (white underneath), entry 2 half transparent.
    const std::vector<uint32_t> palette = {0xFF0000FF, 0xFFFFFF00, 0x00FF0080};
    const std::vector<uint8_t> indices = {0, 1, 2, 1, 0, 0};
    const auto png = WithTextChunkFirst(MakePalettePng(3, 2, indices, palette));
    const TPngPreScan scan = PreScanPng(png);
    EXPECT_EQ(scan.colorType, 3);
    ASSERT_TRUE(scan.transparentColor.has_value());
    EXPECT_EQ(*scan.transparentColor, RGBColor(0xFF, 0xFF, 0xFF));

    for (TTransparency requested : {TTransparency::None, TTransparency::LowerLeft}) {
        const TDecodedImage image = DecodeImageStream(png, requested);
        ASSERT_TRUE(image.ok()) << image.reason;
        EXPECT_EQ(image.transparency, TTransparency::PaletteEntry);
        EXPECT_EQ(image.bitmap.mask, (std::vector<uint8_t>{0, 255, 0, 255, 0, 0}));
        EXPECT_EQ(image.bitmap.pixels[1] & 0x00FFFFFF, 0u) << "transparent pixels are blacked";
        EXPECT_EQ(image.bitmap.pixels[0], Red);
        EXPECT_EQ(image.bitmap.pixels[2], 0x8000FF00u) << "partial alpha stays in the pixel";
        EXPECT_TRUE(image.bitmap.hasAlpha);
    }
}

TEST(StreamDecoder, OnlyPngsWithSeeThroughPixelsAreMarkedAsHavingAlpha)
{
    const auto opaque = MakePalettePng(2, 1, {0, 1}, {0xFF0000FF, 0x00FF00FF});
    const auto soft = MakePalettePng(2, 1, {0, 1}, {0xFF0000FF, 0x00FF00C0});
    EXPECT_FALSE(DecodeImageStream(opaque, TTransparency::None).bitmap.hasAlpha);
    const TDecodedImage image = DecodeImageStream(soft, TTransparency::None);
    ASSERT_TRUE(image.ok()) << image.reason;
    EXPECT_TRUE(image.bitmap.hasAlpha);
    EXPECT_FALSE(image.bitmap.hasMask()) << "no entry is wholly transparent";
    EXPECT_FALSE(DecodeImageStream(MakeJpeg(3, 3), TTransparency::None).bitmap.hasAlpha);
}

TEST(StreamDecoder, PngWithoutTransparencyTakesALowerLeftRequest)
{
    const auto png = MakePalettePng(2, 2, {0, 1, 1, 0}, {0xFF0000FF, 0x0000FFFF});
    EXPECT_FALSE(PreScanPng(png).transparentColor.has_value());
    const TDecodedImage image = DecodeImageStream(png, TTransparency::LowerLeft);
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(image.transparency, TTransparency::LowerLeft);
    EXPECT_EQ(image.bitmap.mask, (std::vector<uint8_t>{0, 255, 255, 0}));
}

TEST(StreamDecoder, JpegIsNeverTransparent)
{
    const TDecodedImage image = DecodeImageStream(MakeJpeg(9, 7), TTransparency::LowerLeft);
    ASSERT_TRUE(image.ok()) << image.reason;
    EXPECT_EQ(image.bitmap.width, 9);
    EXPECT_EQ(image.bitmap.height, 7);
    EXPECT_EQ(image.transparency, TTransparency::None);
    EXPECT_FALSE(image.bitmap.hasMask());
    EXPECT_NEAR(int(image.bitmap.at(4, 3) & 0xFF), 200, 2);
    EXPECT_EQ(image.bitmap.at(4, 3) >> 24, 0xFFu);
}

TEST(GifData, StillGifsBecomeBitmapsAndAnimatedOnesStrips)
{
    const std::vector<uint32_t> colors = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000};
    GifBuilder transparent;
    transparent.screen(2, 1, colors).graphicControl(0, 1).image({0, 0, 2, 1, {0, 1}, {}, false, 2});
    const TDecodedImage still = DecodeImageData(transparent.bytes, TTransparency::None);
    ASSERT_TRUE(still.ok());
    EXPECT_FALSE(still.animated());
    EXPECT_EQ(still.transparency, TTransparency::HostColor);
    EXPECT_EQ(still.bitmap.mask, (std::vector<uint8_t>{0, 255}));

    GifBuilder opaque;
    opaque.screen(2, 1, colors).image({0, 0, 2, 1, {2, 0}, {}, false, 2});
    const TDecodedImage corner = DecodeImageData(opaque.bytes, TTransparency::LowerLeft);
    EXPECT_EQ(corner.transparency, TTransparency::LowerLeft);
    EXPECT_EQ(corner.bitmap.mask, (std::vector<uint8_t>{255, 0}));

    opaque.image({0, 0, 1, 1, {1}, {}, false, 2});
    const TDecodedImage animated = DecodeImageData(opaque.bytes, TTransparency::None);
    ASSERT_TRUE(animated.animated());
    EXPECT_EQ(animated.animation->frameCount, 2);
    EXPECT_EQ(animated.animation->frame(1).at(0, 0), Green);
    EXPECT_TRUE(animated.bitmap.isEmpty());

    const TDecodedImage cut = DecodeImageData(Head(opaque.bytes, opaque.bytes.size() - 4), TTransparency::None);
    EXPECT_EQ(cut.status, TDecodeStatus::Truncated);
    EXPECT_EQ(cut.reason, "TGif: Unexpected end of file");
}

TEST(ImageFiles, GifByExtensionAnyCaseOthersByContent)
{
    char pattern[] = "/tmp/quillon-files-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    GifBuilder gif;
    gif.screen(2, 2, {0xFF0000, 0x00FF00}).image({0, 0, 2, 2, {0, 1, 1, 0}, {}, false, 2});
    const auto write = [&](const char* name, const std::vector<uint8_t>& bytes) {
        std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
        return (dir / name).string();
    };
    EXPECT_TRUE(LoadImageFile(write("PICTURE.GIF", gif.bytes), TTransparency::None).ok());
    EXPECT_FALSE(LoadImageFile(write("picture.img", gif.bytes), TTransparency::None).ok())
        << "without the extension GIF data goes to the stream decoder";
    const TDecodedImage bmp = LoadImageFile(write("picture.gif.bmp", MakeBmp(1, 1, {Blue})), TTransparency::None);
    ASSERT_TRUE(bmp.ok());
    EXPECT_EQ(bmp.bitmap.pixels, std::vector<uint32_t>{Blue});
    EXPECT_FALSE(LoadImageFile((dir / "missing.png").string(), TTransparency::None).ok());
    ASSERT_EQ(mkfifo((dir / "fifo.bmp").c_str(), 0600), 0);
    EXPECT_EQ(LoadImageFile((dir / "fifo.bmp").string(), TTransparency::None).status, TDecodeStatus::Unsupported)
        << "a FIFO is never opened";
    fs::remove_all(dir);
}

TEST(BadInput, HugeDimensionClaimsAreRefusedBeforeAllocation)
{
    const auto png = WithPngSize(MakePalettePng(2, 2, {0, 1, 1, 0}, {0xFF0000FF, 0x0000FFFF}), 20000, 20000);
    EXPECT_EQ(DecodeImageStream(png, TTransparency::None).status, TDecodeStatus::TooLarge);

    auto bmp = MakeBmp(2, 2, {Red, Red, Red, Red});
    bmp[21] = 0x7F; // width 0x7F000002
    EXPECT_EQ(DecodeImageStream(bmp, TTransparency::None).status, TDecodeStatus::TooLarge);

    auto jpeg = MakeJpeg(8, 8);
    for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) { // start of frame: height, width at +5, +7
            jpeg[i + 5] = jpeg[i + 7] = 0xFF;
            break;
        }
    }
    EXPECT_EQ(DecodeImageStream(jpeg, TTransparency::None).status, TDecodeStatus::TooLarge);

    // Just under the limit decodes; the same picture with a smaller limit does not.
    const auto small = MakeBmp(4, 4, std::vector<uint32_t>(16, Green));
    EXPECT_TRUE(DecodeImageStream(small, TTransparency::None, 16).ok());
    EXPECT_EQ(DecodeImageStream(small, TTransparency::None, 15).status, TDecodeStatus::TooLarge);
}

TEST(BadInput, TruncatedAndCorruptFilesGiveNoImage)
{
    const auto bmp = MakeBmp(5, 5, std::vector<uint32_t>(25, Red));
    EXPECT_EQ(DecodeImageStream(Head(bmp, 60), TTransparency::None).status, TDecodeStatus::Truncated);
    const auto png = MakePalettePng(16, 16, std::vector<uint8_t>(256, 1), {0xFF0000FF, 0x0000FFFF});
    EXPECT_EQ(DecodeImageStream(Head(png, png.size() - 20), TTransparency::None).status, TDecodeStatus::Truncated);
    auto corrupt = png;
    corrupt[40] ^= 0xFF; // inside a chunk: its CRC no longer matches
    EXPECT_FALSE(DecodeImageStream(corrupt, TTransparency::None).ok());

    auto depth = bmp;
    depth[28] = 7;
    EXPECT_EQ(DecodeImageStream(depth, TTransparency::None).status, TDecodeStatus::Unsupported);
    auto rle = bmp;
    rle[30] = 1; // RLE8 claimed for 24-bit data
    EXPECT_EQ(DecodeImageStream(rle, TTransparency::None).status, TDecodeStatus::Corrupt);
    EXPECT_FALSE(DecodeImageStream(Head(MakeJpeg(16, 16), 30), TTransparency::None).ok());
}

TEST(BadInput, RunLengthMovesPastThePictureAreIgnored)
{
    // An 8-bit RLE picture of 2 x 2: a run, a move far outside, a literal
    // run longer than the row, end of picture.
    std::vector<uint8_t> bytes = MakeBmp(2, 2, {Red, Red, Red, Red});
    bytes.resize(54);
    bytes[28] = 8;
    bytes[30] = 1;
    bytes[10] = 54 + 8;
    bytes[46] = 2; // colours used
    bytes.insert(bytes.end(), {0, 0, 0, 0, 0xFF, 0, 0, 0}); // palette: black, blue
    bytes.insert(bytes.end(), {2, 1, 0, 2, 200, 200, 0, 4, 1, 1, 1, 1, 0, 1});
    const TDecodedImage image = DecodeImageStream(bytes, TTransparency::None);
    ASSERT_TRUE(image.ok()) << image.reason;
    EXPECT_EQ(image.bitmap.at(0, 1), Blue) << "bottom row first";
    EXPECT_EQ(image.bitmap.at(1, 1), Blue);
    EXPECT_EQ(image.bitmap.at(0, 0), Black) << "untouched pixels take palette entry 0";
}
