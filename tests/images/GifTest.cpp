#include <gtest/gtest.h>

#include <numeric>

#include "images/GifLzw.h"
#include "images/TGif.h"
#include "images/TGifStrip.h"
#include "tests/images/GifBuilder.h"

namespace {

constexpr uint32_t Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF, White = 0xFFFFFF;
const std::vector<uint32_t> Palette4 = {Red, Green, Blue, White};

uint32_t Argb(uint32_t rgb) { return 0xFF000000u | rgb; }

GifBuilder::Image Filled(int left, int top, int width, int height, uint8_t index)
{
    GifBuilder::Image image;
    image.left = left;
    image.top = top;
    image.width = width;
    image.height = height;
    image.indices.assign(size_t(width) * size_t(height), index);
    return image;
}

TGif Load(const std::vector<uint8_t>& bytes)
{
    TGif gif;
    gif.loadFromStream(bytes);
    return gif;
}

// Loads and expects EInvalidGraphicOperation; answers its message and number.
std::pair<std::string, int> LoadError(const std::vector<uint8_t>& bytes)
{
    TGif gif;
    try {
        gif.loadFromStream(bytes);
    } catch (const EInvalidGraphicOperation& error) {
        return {error.what(), error.errorNumber()};
    }
    ADD_FAILURE() << "no error raised";
    return {};
}

} // namespace

TEST(TGifLoad, ReadsScreenFramesAndQueries)
{
    GifBuilder builder;
    builder.screen(4, 3, Palette4).netscapeLoop(0).graphicControl(2, 3, 25).image(Filled(1, 1, 2, 2, 1));
    builder.graphicControl(5, -1, 0).image(Filled(0, 0, 4, 3, 2)).trailer();
    const TGif gif = Load(builder.bytes);
    EXPECT_EQ(gif.signature(), "GIF89a");
    EXPECT_EQ(gif.screenWidth(), 4);
    EXPECT_EQ(gif.screenHeight(), 3);
    ASSERT_EQ(gif.imageCount(), 2);
    EXPECT_EQ(gif.imageLeft(0), 1);
    EXPECT_EQ(gif.imageTop(0), 1);
    EXPECT_EQ(gif.imageWidth(0), 2);
    EXPECT_EQ(gif.imageHeight(1), 3);
    EXPECT_EQ(gif.transparentIndex(0), 3);
    EXPECT_EQ(gif.transparentIndex(1), -1);
    EXPECT_EQ(gif.delay(0), 25);
    EXPECT_EQ(gif.delay(1), 1) << "a zero delay reads as 1";
    EXPECT_EQ(gif.disposal(0), 2);
    EXPECT_EQ(gif.disposal(1), 1) << "only the low two bits of the disposal method";
    EXPECT_TRUE(gif.hasTransparency());
    EXPECT_EQ(gif.loopCount(), 0);

    TGif cleared = gif;
    cleared.clear();
    EXPECT_EQ(cleared.signature(), "------");
    EXPECT_EQ(cleared.imageCount(), 0);
    EXPECT_EQ(cleared.screenWidth(), 0);
    EXPECT_EQ(cleared.loopCount(), -1);
}

TEST(TGifLoad, ToleratesLowerCaseSignatureMissingTrailerAndStrayBytes)
{
    GifBuilder lower("gif89a");
    lower.screen(2, 2, Palette4).image(Filled(0, 0, 2, 2, 1));
    const TGif gif = Load(lower.bytes); // no trailer: the data ends after the image
    EXPECT_EQ(gif.imageCount(), 1);
    EXPECT_EQ(gif.loopCount(), -1);
    EXPECT_FALSE(gif.hasTransparency());

    GifBuilder stray("GIF87a");
    stray.screen(2, 2, Palette4).image(Filled(0, 0, 2, 2, 1)).trailer().raw({0x99, 0x12, 0x2C});
    EXPECT_EQ(Load(stray.bytes).imageCount(), 1) << "bytes after the trailer are never read";
}

TEST(TGifLoad, OnlyTheFirstGraphicControlCounts)
{
    GifBuilder builder;
    builder.screen(2, 2, Palette4).graphicControl(1, 2, 7).graphicControl(2, -1, 9).image(Filled(0, 0, 2, 2, 0));
    const TGif gif = Load(builder.bytes);
    EXPECT_EQ(gif.delay(0), 7);
    EXPECT_EQ(gif.transparentIndex(0), 2);
    EXPECT_EQ(gif.image(0).extensions.size(), 2u);
}

TEST(TGifLoad, RaisesTheTableErrors)
{
    const auto base = [] { return GifBuilder().screen(2, 2, Palette4); };
    EXPECT_EQ(LoadError(GifBuilder("GIF88a").screen(2, 2, Palette4).image(Filled(0, 0, 2, 2, 0)).bytes),
              std::make_pair(std::string("TGif: Invalid GIF Signature Code"), 1));
    EXPECT_EQ(LoadError(GifBuilder().screen(2, 2).image(Filled(0, 0, 2, 2, 0)).bytes),
              std::make_pair(std::string("TGif: No Local or Global Color Table for Image"), 2));
    EXPECT_EQ(LoadError(base().raw({0x21, 0x02, 0x00}).image(Filled(0, 0, 2, 2, 0)).bytes),
              std::make_pair(std::string("TGif: unknown extension: 0002"), 6));
    EXPECT_EQ(LoadError(base().raw({0x21, 0xF9, 0x05, 0, 0, 0, 0, 0, 0}).bytes).second, 5);
    EXPECT_EQ(LoadError(base().raw({0x21, 0xFF, 0x0A}).bytes).first, "TGif: Invalid Extension Block Size");
    EXPECT_EQ(LoadError(base().raw({0x21, 0x01, 0x0B}).bytes).second, 5);
    EXPECT_EQ(LoadError(base().raw({0x21, 0xF9, 0x04, 0, 0, 0, 0, 7}).bytes).first,
              "TGif: Invalid Extension Block Terminator");
    EXPECT_EQ(LoadError(base().raw({0x2D}).bytes).first, "TGif: Unknown Graphics Operation Code");
    EXPECT_EQ(LoadError(base().trailer().bytes).first, "TGif: No Image Description");
    EXPECT_EQ(LoadError(base().comment("only a comment").bytes).second, 18);
}

TEST(TGifLoad, TruncationIsUnexpectedEndOfFile)
{
    GifBuilder builder;
    builder.screen(4, 4, Palette4).image(Filled(0, 0, 4, 4, 2)).trailer();
    for (size_t cut : {size_t(3), size_t(11), size_t(20), builder.bytes.size() - 3}) {
        const std::vector<uint8_t> head(builder.bytes.begin(), builder.bytes.begin() + long(cut));
        EXPECT_EQ(LoadError(head), std::make_pair(std::string("TGif: Unexpected end of file"), 24)) << cut;
        try {
            TGif().loadFromStream(head);
        } catch (const EInvalidGraphicOperation& error) {
            EXPECT_TRUE(error.truncated());
        }
    }
}

TEST(TGifLoad, CutCommentAfterFirstImageKeepsTheImages)
{
    GifBuilder builder;
    builder.screen(2, 2, Palette4).image(Filled(0, 0, 2, 2, 1)).raw({0x21, 0xFE, 0x09, 'c', 'u', 't'});
    EXPECT_EQ(Load(builder.bytes).imageCount(), 1);

    GifBuilder before;
    before.screen(2, 2, Palette4).raw({0x21, 0xFE, 0x09, 'c', 'u', 't'});
    EXPECT_EQ(LoadError(before.bytes).second, 24) << "before any image the error goes on";
}

TEST(TGifLoad, NetscapeLoopCount)
{
    GifBuilder builder;
    builder.screen(2, 2, Palette4).netscapeLoop(3).image(Filled(0, 0, 2, 2, 0));
    EXPECT_EQ(Load(builder.bytes).loopCount(), 3);
    GifBuilder other;
    other.screen(2, 2, Palette4).raw({0x21, 0xFF, 0x0B}).raw({'A', 'N', 'I', 'M', 'E', 'X', 'T', 'S', '1', '.', '0'});
    other.raw({0x03, 0x01, 0x05, 0x00, 0x00}).image(Filled(0, 0, 2, 2, 0));
    EXPECT_EQ(Load(other.bytes).loopCount(), -1) << "another application's block sets nothing";
}

TEST(TGifLzw, InterlacedRowsArriveInFourPasses)
{
    GifBuilder::Image image = Filled(0, 0, 2, 10, 0);
    image.interlaced = true;
    image.minimumCodeSize = 4;
    for (size_t k = 0; k < 10; ++k) // stream row k carries index k
        image.indices[2 * k] = image.indices[2 * k + 1] = uint8_t(k);
    GifBuilder builder;
    builder.screen(2, 10, std::vector<uint32_t>(16, 0)).image(image);
    const TGif gif = Load(builder.bytes);
    // Display row r came from stream row: pass 1 rows 0, 8; pass 2 row 4; pass 3 rows 2, 6; pass 4 the odd rows.
    const int expected[10] = {0, 5, 3, 6, 2, 7, 4, 8, 1, 9};
    for (int row = 0; row < 10; ++row)
        EXPECT_EQ(gif.image(0).pixels[size_t(row) * 2], expected[row]) << "row " << row;
}

TEST(TGifLzw, KeepsTwelveBitCodesOnceTheTableIsFull)
{
    std::vector<uint8_t> indices(9000);
    for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = uint8_t((i * 7 + i / 13) & 0xFF);
    const auto data = GifBuilder::encodeLiterals(indices, 8, TClearPolicy::Never);
    std::vector<uint8_t> pixels(9000, 0);
    DecodeGifLzw(data, 8, pixels.data(), 90, 100, TGifRowOrder::Sequential);
    EXPECT_EQ(pixels, indices);
}

TEST(TGifLzw, RejectsBadCodeSizesAndCodesPastTheTable)
{
    std::vector<uint8_t> pixels(4, 0);
    try {
        DecodeGifLzw(std::vector<uint8_t>{0x00}, 12, pixels.data(), 2, 2, TGifRowOrder::Sequential);
        FAIL();
    } catch (const EInvalidGraphicOperation& error) {
        EXPECT_STREQ(error.what(), "TGif: Invalid LZW Code Size");
    }
    // Code size 2: clear (4), pixel 1, then code 7 although only 6 is next: garbage.
    const uint8_t garbage[] = {0xCC, 0x01};
    EXPECT_THROW(DecodeGifLzw(garbage, 2, pixels.data(), 2, 2, TGifRowOrder::Sequential), EInvalidGraphicOperation);
    // Clear then end straight away is invalid data.
    const uint8_t clearEnd[] = {0x04 | (0x05 << 3), 0x00};
    try {
        DecodeGifLzw(clearEnd, 2, pixels.data(), 2, 2, TGifRowOrder::Sequential);
        FAIL();
    } catch (const EInvalidGraphicOperation& error) {
        EXPECT_EQ(error.errorNumber(), 13);
    }
}

TEST(TGifLzw, DropsPixelsPastTheImageAndLeavesMissingOnesZero)
{
    const std::vector<uint8_t> many(10, 3);
    const auto data = GifBuilder::encodeLiterals(many, 2, TClearPolicy::BeforeTableGrows);
    std::vector<uint8_t> pixels(4 + 4, 0xEE); // guard bytes after the 2 x 2 image
    std::fill(pixels.begin(), pixels.begin() + 4, 0);
    DecodeGifLzw(data, 2, pixels.data(), 2, 2, TGifRowOrder::Sequential);
    EXPECT_EQ(pixels, (std::vector<uint8_t>{3, 3, 3, 3, 0xEE, 0xEE, 0xEE, 0xEE}));

    const auto few = GifBuilder::encodeLiterals({1, 2}, 2, TClearPolicy::BeforeTableGrows);
    std::vector<uint8_t> partial(4, 0);
    DecodeGifLzw(few, 2, partial.data(), 2, 2, TGifRowOrder::Sequential);
    EXPECT_EQ(partial, (std::vector<uint8_t>{1, 2, 0, 0}));
}

TEST(TGifStrip, SecondFrameShowsTheFirstThroughTransparentPixels)
{
    GifBuilder builder;
    GifBuilder::Image second = Filled(0, 0, 2, 1, 2);
    second.indices[0] = 3; // transparent
    builder.screen(2, 1, Palette4).graphicControl(1).image(Filled(0, 0, 2, 1, 0));
    builder.graphicControl(1, 3).image(second);
    const TGifStrip strip = TGifStrip::fromGif(Load(builder.bytes));
    ASSERT_EQ(strip.strip.width, 4);
    ASSERT_TRUE(strip.hasMask());
    EXPECT_EQ(strip.strip.at(0, 0), Argb(Red));
    EXPECT_EQ(strip.strip.at(1, 0), Argb(Red));
    EXPECT_EQ(strip.strip.at(2, 0), Argb(Red)) << "frame 1's pixel kept under the transparent one";
    EXPECT_EQ(strip.strip.at(3, 0), Argb(Blue));
    EXPECT_EQ(strip.strip.mask, (std::vector<uint8_t>{0, 0, 0, 0})) << "frame 1's opaque pixels stay opaque";
}

TEST(TGifStrip, FirstFrameTransparentPixelsAreBlackAndMasked)
{
    GifBuilder builder;
    GifBuilder::Image image = Filled(1, 0, 2, 1, 1);
    image.indices[1] = 0;
    builder.screen(4, 1, Palette4).graphicControl(0, 0).image(image);
    const TGifStrip strip = TGifStrip::fromGif(Load(builder.bytes));
    EXPECT_EQ(strip.strip.pixels, (std::vector<uint32_t>{Argb(0), Argb(Green), Argb(0), Argb(0)}));
    EXPECT_EQ(strip.strip.mask, (std::vector<uint8_t>{255, 0, 255, 255})) << "uncovered screen stays transparent";
}

TEST(TGifStrip, DisposalTwoAndThreeClearTheMaskForTheNextFrame)
{
    for (int disposal : {0, 1, 2, 3}) {
        GifBuilder builder;
        builder.screen(3, 1, Palette4).graphicControl(1, 3).image(Filled(0, 0, 3, 1, 0));
        builder.graphicControl(disposal).image(Filled(1, 0, 1, 1, 1));
        builder.graphicControl(1, 3).image(Filled(2, 0, 1, 1, 2));
        const TGifStrip strip = TGifStrip::fromGif(Load(builder.bytes));
        const TBitmap third = strip.frame(2);
        ASSERT_EQ(third.width, 3);
        const bool cleared = disposal >= 2;
        EXPECT_EQ(third.transparentAt(1, 0), cleared) << "disposal " << disposal;
        EXPECT_EQ(third.at(1, 0), Argb(Green)) << "colours stay; only the mask changes";
        EXPECT_FALSE(third.transparentAt(0, 0));
        EXPECT_EQ(third.at(2, 0), Argb(Blue));
    }
}

TEST(TGifStrip, ClipsFramesToTheScreenAndAcceptsEmptyOnes)
{
    GifBuilder builder;
    builder.screen(3, 2, Palette4).image(Filled(0, 0, 3, 2, 0));
    builder.image(Filled(2, 1, 4, 4, 1)); // mostly outside the screen
    GifBuilder::Image empty = Filled(1, 1, 0, 0, 2); // no pixels at all
    empty.indices = {2};                              // (a data stream of clear and end alone is invalid)
    builder.image(empty);
    builder.image(Filled(500, 500, 2, 2, 2)); // entirely outside
    const TGifStrip strip = TGifStrip::fromGif(Load(builder.bytes));
    ASSERT_EQ(strip.frameCount, 4);
    EXPECT_FALSE(strip.hasMask());
    const TBitmap second = strip.frame(1);
    EXPECT_EQ(second.at(2, 1), Argb(Green));
    EXPECT_EQ(second.at(1, 1), Argb(Red));
    EXPECT_EQ(strip.frame(3).pixels, second.pixels);
    EXPECT_EQ(strip.frame(0).at(2, 1), Argb(Red)) << "frame 2 does not spill into frame 1";
}

TEST(TGifStrip, ColourIndicesPastTheTableAreBlack)
{
    GifBuilder::Image image = Filled(0, 0, 2, 1, 0);
    image.minimumCodeSize = 3;
    image.indices = {1, 6}; // a 2-entry table
    GifBuilder builder;
    builder.screen(2, 1, {Red, Green}).image(image);
    const TGifStrip strip = TGifStrip::fromGif(Load(builder.bytes));
    EXPECT_EQ(strip.strip.pixels, (std::vector<uint32_t>{Argb(Green), Argb(0)}));
}

TEST(TGifStrip, FrameDataForTheAnimatedImage)
{
    GifBuilder builder;
    builder.screen(2, 2, Palette4).netscapeLoop(2).graphicControl(2, -1, 1).image(Filled(0, 0, 2, 2, 0));
    builder.graphicControl(1, -1, 50).image(Filled(1, 0, 1, 2, 1));
    const TGifStrip strip = DecodeGifStrip(builder.bytes);
    ASSERT_EQ(strip.frames.size(), 2u);
    EXPECT_EQ(strip.frameWidth, 2);
    EXPECT_EQ(strip.frameHeight, 2);
    EXPECT_EQ(strip.frames[0].delayMs, 30) << "at least 30 ms";
    EXPECT_EQ(strip.frames[1].delayMs, 500);
    EXPECT_EQ(strip.frames[0].disposal, 2);
    EXPECT_EQ(strip.frames[1].left, 1);
    EXPECT_EQ(strip.frames[1].width, 1);
    EXPECT_EQ(strip.playCount(), 3);
    TGifStrip forever = strip;
    forever.loopCount = 0;
    EXPECT_EQ(forever.playCount(), 0);
    forever.loopCount = -1;
    EXPECT_EQ(forever.playCount(), 1);
    EXPECT_TRUE(strip.frame(2).isEmpty());
}

TEST(TGifLimits, RefusesHugeClaimsBeforeAllocating)
{
    GifBuilder screen;
    screen.screen(65535, 65535, Palette4).image(Filled(0, 0, 1, 1, 0));
    EXPECT_EQ(LoadError(screen.bytes), std::make_pair(std::string("TGif: image too large"), 6));

    // A frame header claiming 65535 x 65535 with a single pixel of data.
    GifBuilder claim;
    claim.screen(2, 2, Palette4).raw({0x2C, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x02, 0x02, 0x4C, 0x01, 0x00});
    EXPECT_EQ(LoadError(claim.bytes).second, 6);

    GifBuilder frames;
    frames.screen(1000, 1000, Palette4);
    for (int i = 0; i < 70; ++i)
        frames.image(Filled(0, 0, 1, 1, 0));
    EXPECT_EQ(LoadError(frames.bytes).first, "TGif: image too large") << "70 frames of a megapixel screen";
}
