// Every pixel our decoders produce is compared with ImageMagick's decoding of
// the same file. The files are written by ImageMagick in the test set-up (a
// few BMP variants it cannot write are derived from its output here).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "images/BmpDecoder.h"
#include "images/ImageDecoder.h"
#include "images/JpegDecoder.h"
#include "images/PngDecoder.h"
#include "images/TGif.h"
#include "images/TGifStrip.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) | (uint32_t(b[at + 3]) << 24);
}

void PutLe32(std::vector<uint8_t>& b, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        b[at + size_t(i)] = uint8_t(value >> (8 * i));
}

// RGBA bytes of one picture as ImageMagick decodes it.
struct Rgba {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes;
};

class ImageMagickTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The real program, not a wrapper that may flatten transparency.
        if (fs::exists("/usr/bin/convert"))
            FConvert = "/usr/bin/convert";
        else if (std::system("command -v convert >/dev/null 2>&1") == 0)
            FConvert = "convert";
        else
            GTEST_SKIP() << "ImageMagick's convert is not installed";
        char pattern[] = "/tmp/quillon-images-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        FDir = pattern;
    }
    void TearDown() override
    {
        if (!FDir.empty())
            fs::remove_all(FDir);
    }

    fs::path path(const std::string& name) const { return FDir / name; }

    // Runs convert with the arguments (a shell word list) and the output file.
    fs::path make(const std::string& name, const std::string& arguments)
    {
        const fs::path file = path(name);
        const std::string command = FConvert + " " + arguments + " '" + file.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return file;
    }

    // ImageMagick's RGBA of every frame, composed onto the screen.
    std::vector<Rgba> frames(const fs::path& file, int width, int height)
    {
        const std::string stem = (FDir / "frame").string();
        const std::string command = FConvert + " '" + file.string() + "' -coalesce +adjoin -depth 8 'rgba:" + stem
                                    + "-%d.raw'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::vector<Rgba> result;
        for (int i = 0; fs::exists(stem + "-" + std::to_string(i) + ".raw"); ++i) {
            const fs::path raw = stem + "-" + std::to_string(i) + ".raw";
            result.push_back({width, height, ReadFile(raw)});
            fs::remove(raw);
        }
        return result;
    }
    Rgba first(const fs::path& file, int width, int height)
    {
        std::vector<Rgba> all = frames(file, width, height);
        return all.empty() ? Rgba{} : all.front();
    }

    std::string FConvert;
    fs::path FDir;
};

// Pixels that are transparent in both agree whatever their colour; others
// must have the same alpha and colours within the tolerance.
::testing::AssertionResult SamePixels(const TBitmap& ours, const Rgba& theirs, int tolerance = 0)
{
    if (ours.width != theirs.width || ours.height != theirs.height)
        return ::testing::AssertionFailure() << "size " << ours.width << "x" << ours.height << " vs "
                                             << theirs.width << "x" << theirs.height;
    if (theirs.bytes.size() != size_t(ours.width) * size_t(ours.height) * 4)
        return ::testing::AssertionFailure() << "ImageMagick gave " << theirs.bytes.size() << " bytes";
    int mismatches = 0;
    std::string first;
    for (int y = 0; y < ours.height; ++y) {
        for (int x = 0; x < ours.width; ++x) {
            const uint8_t* p = &theirs.bytes[(size_t(y) * size_t(ours.width) + size_t(x)) * 4];
            const uint32_t pixel = ours.at(x, y);
            const int alpha = ours.transparentAt(x, y) ? 0 : int(pixel >> 24);
            if (alpha == 0 && p[3] == 0)
                continue;
            const int channels[4] = {int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF), alpha};
            bool same = true;
            for (int c = 0; c < 4; ++c)
                same = same && std::abs(channels[c] - int(p[c])) <= tolerance;
            if (same)
                continue;
            if (mismatches++ == 0) {
                char text[160];
                std::snprintf(text, sizeof text, "first at (%d,%d): ours %02x%02x%02x a%02x, theirs %02x%02x%02x a%02x",
                              x, y, channels[0], channels[1], channels[2], alpha, p[0], p[1], p[2], p[3]);
                first = text;
            }
        }
    }
    if (mismatches == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << mismatches << " pixels differ; " << first;
}

// Re-encodes an uncompressed 4-bit bottom-up BMP as RLE4, using both the
// run mode and the absolute mode.
std::vector<uint8_t> ToRle4(const std::vector<uint8_t>& bmp)
{
    const size_t offset = Le32(bmp, 10);
    const int width = int(Le32(bmp, 18)), height = int(Le32(bmp, 22));
    const size_t stride = (size_t(width) * 4 + 31) / 32 * 4;
    std::vector<uint8_t> data;
    for (int line = 0; line < height; ++line) {
        std::vector<uint8_t> row;
        for (int x = 0; x < width; ++x) {
            const uint8_t byte = bmp[offset + size_t(line) * stride + size_t(x) / 2];
            row.push_back(x % 2 == 0 ? byte >> 4 : byte & 15);
        }
        size_t x = 0;
        while (x < row.size()) {
            size_t run = 1;
            while (x + run < row.size() && row[x + run] == row[x] && run < 255)
                ++run;
            if (run >= 2) {
                data.insert(data.end(), {uint8_t(run), uint8_t(row[x] << 4 | row[x])});
                x += run;
                continue;
            }
            size_t literal = 1;
            while (x + literal < row.size() && literal < 255
                   && (x + literal + 1 >= row.size() || row[x + literal] != row[x + literal + 1]))
                ++literal;
            if (literal < 3) {
                const uint8_t second = literal == 2 ? row[x + 1] : 0;
                data.insert(data.end(), {uint8_t(literal), uint8_t(row[x] << 4 | second)});
            } else {
                data.insert(data.end(), {0, uint8_t(literal)});
                const size_t start = data.size();
                for (size_t i = 0; i < literal; i += 2)
                    data.push_back(uint8_t(row[x + i] << 4 | (i + 1 < literal ? row[x + i + 1] : 0)));
                if ((data.size() - start) % 2)
                    data.push_back(0);
            }
            x += literal;
        }
        data.insert(data.end(), {0, 0});
    }
    data.insert(data.end(), {0, 1});
    std::vector<uint8_t> out(bmp.begin(), bmp.begin() + long(offset));
    out.insert(out.end(), data.begin(), data.end());
    PutLe32(out, 2, uint32_t(out.size()));
    PutLe32(out, 30, 2); // compression: RLE4
    PutLe32(out, 34, uint32_t(data.size()));
    return out;
}

// Turns a bottom-up uncompressed BMP into the top-down form (negative height).
std::vector<uint8_t> ToTopDown(const std::vector<uint8_t>& bmp)
{
    const size_t offset = Le32(bmp, 10);
    const int width = int(Le32(bmp, 18)), height = int(Le32(bmp, 22));
    const size_t bits = bmp[28] | (bmp[29] << 8);
    const size_t stride = (size_t(width) * bits + 31) / 32 * 4;
    std::vector<uint8_t> source = bmp;
    source.resize(offset + stride * size_t(height)); // the last row's padding may be left out
    std::vector<uint8_t> out = source;
    for (int line = 0; line < height; ++line)
        std::copy_n(source.begin() + long(offset + size_t(height - 1 - line) * stride), stride,
                    out.begin() + long(offset + size_t(line) * stride));
    PutLe32(out, 2, uint32_t(out.size()));
    PutLe32(out, 22, uint32_t(-height));
    return out;
}

TBitmap DecodeStill(const fs::path& file)
{
    const TDecodedImage image = LoadImageFile(file.string(), TTransparency::None);
    EXPECT_TRUE(image.ok()) << file << ": " << image.reason;
    EXPECT_FALSE(image.animated());
    return image.bitmap;
}

} // namespace

TEST_F(ImageMagickTest, GifFirstFrames)
{
    const struct { const char* name; const char* arguments; int width, height; } cases[] = {
        {"gradient.gif", "-size 61x47 gradient:orange-navy -colors 64", 61, 47},
        {"interlaced.gif", "-size 61x47 gradient:orange-navy -colors 64 -interlace GIF", 61, 47},
        {"twocolour.gif", "-size 33x9 pattern:checkerboard -colors 2", 33, 9},
        {"transparent.gif", "-size 40x30 xc:none -fill red -draw 'circle 20,15 20,5' -fill blue -draw 'rectangle 0,0 9,9'",
         40, 30},
        {"noise.gif", "-seed 7 -size 300x200 plasma:fractal -colors 256", 300, 200},
        {"noise-interlaced.gif", "-seed 9 -size 123x77 plasma:fractal -colors 200 -interlace GIF", 123, 77},
    };
    for (const auto& c : cases) {
        const fs::path file = make(c.name, c.arguments);
        const TDecodedImage image = LoadImageFile(file.string(), TTransparency::None);
        ASSERT_TRUE(image.ok()) << c.name << ": " << image.reason;
        EXPECT_TRUE(SamePixels(image.bitmap, first(file, c.width, c.height))) << c.name;
    }
}

TEST_F(ImageMagickTest, GifAnimationFramesWhereTheCompositionRulesAgree)
{
    // Disposal none, none, background, none, then previous: ImageMagick
    // restores the previous frame where we leave the area transparent, so
    // only the frames up to the one after the "previous" disposal compare.
    const fs::path file = make("animated.gif",
                               "-size 40x30 gradient:yellow-navy -colors 32 -dispose None -delay 7"
                               " \\( -size 20x12 xc:none -fill red -draw 'circle 10,6 10,2' -repage +4+3 \\)"
                               " -dispose Background \\( -size 12x10 xc:lime -repage +20+15 \\)"
                               " -dispose None \\( -size 8x8 xc:blue -repage +22+16 \\)"
                               " -dispose Previous \\( -size 6x6 xc:magenta -repage +30+2 \\)"
                               " -dispose None \\( -size 5x5 xc:cyan -repage +1+1 \\) -loop 4");
    const TDecodedImage image = LoadImageFile(file.string(), TTransparency::None);
    ASSERT_TRUE(image.ok()) << image.reason;
    ASSERT_TRUE(image.animated());
    const TGifStrip& strip = *image.animation;
    ASSERT_EQ(strip.frameCount, 6);
    EXPECT_EQ(strip.loopCount, 3) << "ImageMagick writes -loop 4 (four plays) as 3 repeats";
    EXPECT_EQ(strip.playCount(), 4);
    EXPECT_EQ(strip.frames[2].disposal, 2);
    EXPECT_EQ(strip.frames[4].disposal, 3);
    EXPECT_EQ(strip.frames[1].delayMs, 70);
    const std::vector<Rgba> theirs = frames(file, 40, 30);
    ASSERT_EQ(theirs.size(), 6u);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(SamePixels(strip.frame(i), theirs[size_t(i)])) << "frame " << i;
}

TEST_F(ImageMagickTest, GifWithAFullLzwTableAndNoClearCode)
{
    // Our literal-only writer lets the table fill up without a clear code, a
    // stream ImageMagick's own writer never makes.
    std::vector<uint8_t> bytes = {'G', 'I', 'F', '8', '9', 'a', 100, 0, 90, 0, 0xF7, 0, 0};
    for (int i = 0; i < 256; ++i)
        bytes.insert(bytes.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3)});
    bytes.insert(bytes.end(), {0x2C, 0, 0, 0, 0, 100, 0, 90, 0, 0, 8});
    std::vector<uint8_t> indices(9000);
    for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = uint8_t((i * 31 + i / 100) & 0xFF);
    // Literal codes, widening as the decoder's table grows, 12 bits once full.
    std::vector<uint8_t> data;
    uint64_t buffer = 256;
    int count = 9, width = 9, nextFree = 258;
    const auto flush = [&] {
        while (count >= 8) {
            data.push_back(uint8_t(buffer));
            buffer >>= 8;
            count -= 8;
        }
    };
    for (size_t i = 0; i < indices.size(); ++i) {
        buffer |= uint64_t(indices[i]) << count;
        count += width;
        flush();
        if (i > 0 && nextFree < 4096 && ++nextFree >= (1 << width) && width < 12)
            ++width;
    }
    buffer |= uint64_t(257) << count;
    count += width + 7;
    flush();
    for (size_t pos = 0; pos < data.size(); pos += 255) {
        const size_t length = std::min<size_t>(255, data.size() - pos);
        bytes.push_back(uint8_t(length));
        bytes.insert(bytes.end(), data.begin() + long(pos), data.begin() + long(pos + length));
    }
    bytes.insert(bytes.end(), {0, 0x3B});
    WriteFile(path("full.gif"), bytes);
    EXPECT_TRUE(SamePixels(DecodeStill(path("full.gif")), first(path("full.gif"), 100, 90)));
}

TEST_F(ImageMagickTest, PngColourTypesAndDepths)
{
    const struct { const char* name; const char* arguments; int width, height; } cases[] = {
        {"palette-trns.png", "-size 40x30 xc:none -fill red -draw 'circle 20,15 20,5' -fill blue -draw 'rectangle 0,0 9,9' PNG8:", 40, 30},
        {"grey.png", "-size 37x21 gradient:white-black -type Grayscale -depth 8", 37, 21},
        {"grey4.png", "-size 37x21 gradient:white-black -type Grayscale -depth 4", 37, 21},
        {"bilevel.png", "-size 37x21 pattern:checkerboard -type Bilevel", 37, 21},
        {"grey16.png", "-size 37x21 gradient:white-black -type Grayscale -depth 16", 37, 21},
        {"greyalpha.png", "-size 37x21 gradient:white-black -type GrayscaleAlpha -channel A -fx 'i/w' +channel -depth 8", 37, 21},
        {"rgb.png", "-size 37x21 gradient:red-blue PNG24:", 37, 21},
        {"rgba.png", "-size 37x21 gradient:red-blue -alpha set -channel A -fx 'j/h' +channel PNG32:", 37, 21},
        {"rgb16.png", "-size 37x21 gradient:red-blue -depth 16 PNG48:", 37, 21},
        {"rgba16.png", "-size 37x21 gradient:red-blue -alpha set -channel A -fx 'i/w' +channel -depth 16 PNG64:", 37, 21},
        {"interlaced.png", "-size 37x21 gradient:red-blue -interlace PNG PNG24:", 37, 21},
    };
    for (const auto& c : cases) {
        const std::string arguments = c.arguments;
        const bool prefixed = arguments.back() == ':';
        const fs::path file = prefixed ? path(c.name) : make(c.name, arguments);
        if (prefixed) {
            const size_t space = arguments.rfind(' ');
            const std::string command = FConvert + " " + arguments.substr(0, space) + " '"
                                        + arguments.substr(space + 1) + file.string() + "'";
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
        }
        // ImageMagick narrows 16-bit samples by truncation, libpng (and we) by rounding.
        const int tolerance = std::string(c.name).find("16") != std::string::npos ? 1 : 0;
        EXPECT_TRUE(SamePixels(DecodeStill(file), first(file, c.width, c.height), tolerance)) << c.name;
    }
}

TEST_F(ImageMagickTest, BmpBitDepthsAndLayouts)
{
    const struct { const char* name; const char* format; const char* arguments; } cases[] = {
        {"b1.bmp", "BMP3", "-size 37x21 pattern:checkerboard -colors 2"},
        {"b4.bmp", "BMP3", "-size 37x21 gradient:red-blue -colors 16 -compress None"},
        {"b8.bmp", "BMP3", "-size 37x21 gradient:red-blue -colors 200 -compress None"},
        {"rle8.bmp", "BMP3", "-size 37x21 gradient:red-blue -colors 100 -compress RLE"},
        {"b16-565.bmp", "BMP", "-size 37x21 gradient:red-blue -define bmp:subtype=RGB565"},
        {"b16-555.bmp", "BMP", "-size 37x21 gradient:red-blue -define bmp:subtype=RGB555"},
        {"b24.bmp", "BMP3", "-size 37x21 gradient:red-blue -type TrueColor"},
        {"b32.bmp", "BMP", "-size 37x21 gradient:red-blue -alpha set -channel A -fx 'i/w' +channel"},
        {"os2.bmp", "BMP2", "-size 37x21 gradient:red-blue -type TrueColor"},
        {"os2-8.bmp", "BMP2", "-size 37x21 gradient:red-blue -colors 50"},
    };
    for (const auto& c : cases) {
        const fs::path file = path(c.name);
        const std::string command = FConvert + " " + c.arguments + " '" + c.format + ":" + file.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        EXPECT_TRUE(SamePixels(DecodeStill(file), first(file, 37, 21))) << c.name;
    }
    // RLE4 and top-down rows, derived from ImageMagick's own files.
    WriteFile(path("rle4.bmp"), ToRle4(ReadFile(path("b4.bmp"))));
    WriteFile(path("topdown.bmp"), ToTopDown(ReadFile(path("b24.bmp"))));
    WriteFile(path("topdown8.bmp"), ToTopDown(ReadFile(path("b8.bmp"))));
    const std::pair<const char*, const char*> derived[] = {
        {"rle4.bmp", "b4.bmp"}, {"topdown.bmp", "b24.bmp"}, {"topdown8.bmp", "b8.bmp"}};
    for (const auto& [name, source] : derived) {
        const TBitmap ours = DecodeStill(path(name));
        EXPECT_TRUE(SamePixels(ours, first(path(name), 37, 21))) << name;
        EXPECT_TRUE(SamePixels(ours, first(path(source), 37, 21))) << name << " shows the picture of " << source;
    }
}

TEST_F(ImageMagickTest, JpegBaselineProgressiveGreyAndCmyk)
{
    const struct { const char* name; const char* arguments; } cases[] = {
        {"baseline.jpg", "-size 45x31 gradient:red-blue"},
        {"progressive.jpg", "-size 45x31 gradient:red-blue -interlace JPEG"},
        {"grey.jpg", "-size 45x31 gradient:white-black -colorspace Gray"},
        {"subsampled.jpg", "-seed 3 -size 45x31 plasma:fractal -sampling-factor 2x2 -quality 70"},
        {"cmyk.jpg", "-size 45x31 gradient:red-blue -colorspace CMYK"},
    };
    for (const auto& c : cases) {
        const fs::path file = make(c.name, c.arguments);
        const TBitmap ours = DecodeStill(file);
        // Same library underneath, but colour conversion of CMYK may round differently.
        EXPECT_TRUE(SamePixels(ours, first(file, 45, 31), 2)) << c.name;
        EXPECT_FALSE(ours.hasMask());
    }
}
