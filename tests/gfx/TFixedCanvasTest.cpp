#include "gfx/TFixedCanvas.h"

#include <gtest/gtest.h>

#include "gfx/TJustifier.h"

namespace {

TFontRef Font(TFixedCanvas& canvas, int height, TFontStyles style = 0, const char* name = "Arial")
{
    return canvas.createFont({name, height, style, 1});
}

} // namespace

TEST(FixedMetrics, GiveTheDocumentedNumbers)
{
    TFixedCanvas canvas;
    const TFontMetrics& m16 = Font(canvas, 16)->metrics();
    EXPECT_EQ(m16.height, 18);
    EXPECT_EQ(m16.ascent, 14);
    EXPECT_EQ(m16.descent, 4);
    EXPECT_EQ(m16.internalLeading, 2);
    EXPECT_EQ(m16.externalLeading, 1);
    EXPECT_EQ(m16.aveCharWidth, 8);
    EXPECT_EQ(m16.maxCharWidth, 16);
    EXPECT_EQ(Font(canvas, 16)->textWidth(u"Hello"), 40);
    EXPECT_EQ(Font(canvas, 16, fsBold)->textWidth(u"Hello"), 45);

    // Style code asks with negative heights; 0 means 16.
    const TFontMetrics& m12 = Font(canvas, -12, fsItalic)->metrics();
    EXPECT_EQ(m12.height, 13);
    EXPECT_EQ(m12.ascent, 10);
    EXPECT_EQ(m12.descent, 3);
    EXPECT_EQ(m12.externalLeading, 0);
    EXPECT_EQ(Font(canvas, -12)->textWidth(u"ab c"), 24);
    EXPECT_EQ(Font(canvas, 0)->metrics().height, 18);
    EXPECT_EQ(Font(canvas, 1)->textWidth(u"xx"), 2); // never narrower than 1 pixel
}

TEST(FixedMetrics, IdeographsAndSurrogatePairsAreDoubleWidth)
{
    TFixedCanvas canvas;
    TFontRef font = Font(canvas, 10);
    EXPECT_EQ(font->textWidth(u"\u2FFF\u3000"), 5 + 10);
    std::u16string pair = u"a\U0001F600b";
    ASSERT_EQ(pair.size(), 4u);
    EXPECT_EQ(font->textWidth(pair), 5 + 10 + 5);
    std::vector<int> extents;
    // The pair never splits: its high half carries the width.
    EXPECT_EQ(font->fitCount(pair, 14, &extents), 1);
    EXPECT_EQ(font->fitCount(pair, 15, &extents), 3);
    EXPECT_EQ(extents, (std::vector<int>{5, 15, 15, 20}));
}

TEST(FixedMetrics, FitCountStopsAfterTheFirstCharacterThatDoesNotFit)
{
    TFixedCanvas canvas;
    TFontRef font = Font(canvas, 16);
    std::vector<int> extents{99};
    EXPECT_EQ(font->fitCount(u"abcdef", 30, &extents), 3);
    EXPECT_EQ(extents, (std::vector<int>{8, 16, 24, 32}));
    EXPECT_EQ(font->fitCount(u"abc", 24, &extents), 3);
    EXPECT_EQ(extents, (std::vector<int>{8, 16, 24}));
    EXPECT_EQ(font->fitCount(u"abc", 7, &extents), 0);
    EXPECT_EQ(font->fitCount(u"", 7, &extents), 0);
    EXPECT_TRUE(extents.empty());
    EXPECT_EQ(font->fitCountWithExtra(u"abc", 24, nullptr, 2), 2); // 10, 20, 30
}

TEST(FixedMetrics, FontsAreCachedPerSpecAndFamiliesKnown)
{
    TFixedCanvas canvas;
    EXPECT_EQ(Font(canvas, 16), Font(canvas, -16));
    EXPECT_NE(Font(canvas, 16), Font(canvas, 16, fsBold));
    EXPECT_EQ(canvas.fontCount(), 2u);
    EXPECT_EQ(Font(canvas, 16, 0, "Symbol")->metrics().charset, 2);
    EXPECT_EQ(canvas.createFont({"Arial", 16, 0, 204})->metrics().charset, 204);

    EXPECT_TRUE(canvas.fontInstalled("times new roman"));
    EXPECT_TRUE(canvas.fontInstalled("Courier New"));
    EXPECT_FALSE(canvas.fontInstalled("Verdana"));
    canvas.addInstalledFamily("Verdana");
    EXPECT_TRUE(canvas.fontInstalled("VERDANA"));
}

TEST(FixedCanvasText, CellFollowsAlignmentCharacterExtraAndJustification)
{
    TFixedCanvas canvas;
    canvas.setFont(Font(canvas, 16));
    canvas.setTextColor(RGBColor(1, 2, 3));
    canvas.textOut(10, 20, u"ab");
    canvas.setTextAlign(TTextAlign::Baseline);
    canvas.setCharacterExtra(1);
    EXPECT_EQ(canvas.textExtent(u"ab"), 18);
    canvas.textOut(10, 20, u"ab");
    canvas.setCharacterExtra(0);
    canvas.textOut(0, 0, u"a b c", 5);    // 3 on the first space, 2 on the second
    canvas.textOut(0, 0, u"abc", 5);      // no breaks, no extra

    const auto& calls = canvas.calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].rect, (TRect{10, 20, 26, 38}));
    EXPECT_EQ(calls[0].color, RGBColor(1, 2, 3));
    EXPECT_EQ(calls[0].font.height, 16);
    EXPECT_EQ(calls[1].rect, (TRect{10, 6, 28, 24}));
    EXPECT_EQ(calls[1].characterExtra, 1);
    EXPECT_EQ(calls[2].rect.width(), 45);
    EXPECT_EQ(calls[3].rect.width(), 24);
    EXPECT_EQ(canvas.drawnText(), u"ab|ab|a b c|abc");
}

TEST(Justifier, SpreadsTheRemainderOverTheFirstBreaks)
{
    std::u16string text = u"a b\u00A0c d";
    auto spread = [&](int extra) {
        TJustifier justifier(text, extra);
        std::vector<int> steps;
        for (char16_t c : text)
            if (int step = justifier.after(c))
                steps.push_back(step);
        return steps;
    };
    EXPECT_EQ(spread(8), (std::vector<int>{3, 3, 2}));
    EXPECT_EQ(spread(-4), (std::vector<int>{-2, -1, -1}));
    EXPECT_TRUE(spread(0).empty());
}

TEST(FixedCanvasMapping, PrintScalingMapsLogicalToDevicePixels)
{
    TFixedCanvas canvas(TFixedCanvas::TDevice{600, 600, 24, true, 4800, 6600});
    EXPECT_TRUE(canvas.isPrinter());
    // Document units are 96-per-inch screen pixels on a 600 dpi page.
    canvas.setMapping({0, 0}, {96, 96}, {0, 0}, {600, 600});
    EXPECT_EQ(canvas.toDevice(TPoint{96, 48}), (TPoint{600, 300}));
    EXPECT_EQ(canvas.toDevice(TPoint{1, 1}), (TPoint{6, 6})); // 6.25 rounds down
    canvas.setOrigin({0, -100});
    EXPECT_EQ(canvas.toDevice(TPoint{0, 0}), (TPoint{0, 625}));
    EXPECT_EQ(canvas.toLogical(TPoint{0, 625}), (TPoint{0, 0}));
    canvas.fillRect({0, 0, 96, 96}, 0);
    EXPECT_EQ(canvas.calls().back().device, (TRect{0, 625, 600, 1225}));
    canvas.resetMapping();
    EXPECT_EQ(canvas.toDevice(TPoint{7, 9}), (TPoint{7, 9}));
}

TEST(FixedCanvasClip, IntersectsAndRestores)
{
    TFixedCanvas canvas;
    EXPECT_EQ(canvas.clipBox(), (TRect{0, 0, 1024, 768}));
    canvas.save();
    canvas.intersectClip({10, 10, 100, 100});
    canvas.intersectClip({50, 0, 200, 60});
    EXPECT_EQ(canvas.clipBox(), (TRect{50, 10, 100, 60}));
    canvas.save();
    canvas.intersectClip({500, 500, 600, 600});
    EXPECT_TRUE(canvas.clipBox().isEmpty());
    canvas.restore();
    canvas.line(0, 0, 5, 5);
    EXPECT_EQ(canvas.calls().back().clip, (TRect{50, 10, 100, 60}));
    canvas.restore();
    EXPECT_EQ(canvas.clipBox(), (TRect{0, 0, 1024, 768}));
    canvas.restore(); // unbalanced restore is harmless

    canvas.setMapping({0, 0}, {1, 1}, {0, 0}, {2, 2});
    canvas.selectDeviceClip({20, 20, 40, 60});
    EXPECT_EQ(canvas.clipBox(), (TRect{10, 10, 20, 30}));
    canvas.removeClip();
    EXPECT_EQ(canvas.clipBox(), (TRect{0, 0, 512, 384}));
}

TEST(FixedCanvasShapes, RecordPointsPenAndBitmapMasks)
{
    TFixedCanvas canvas;
    canvas.setPen({RGBColor(255, 0, 0), 2, TPenStyle::Dash});
    canvas.polyline({{5, 9}, {1, 3}, {8, 4}});
    canvas.arc({0, 0, 10, 10}, {10, 5}, {5, 0});
    TBitmap bitmap(4, 3);
    canvas.drawBitmap({0, 0, 8, 6}, bitmap);
    bitmap.createMask();
    canvas.drawBitmapPart({0, 0, 2, 2}, bitmap, {1, 1, 3, 3});

    const auto& calls = canvas.calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].kind, TDrawKind::Polyline);
    EXPECT_EQ(calls[0].rect, (TRect{1, 3, 8, 9}));
    EXPECT_EQ(calls[0].pen.width, 2);
    EXPECT_EQ(calls[0].color, RGBColor(255, 0, 0));
    EXPECT_EQ(calls[1].points, (std::vector<TPoint>{{10, 5}, {5, 0}}));
    EXPECT_EQ(calls[2].source, (TRect{0, 0, 4, 3}));
    EXPECT_FALSE(calls[2].masked);
    EXPECT_TRUE(calls[3].masked);
    EXPECT_EQ(calls[3].source, (TRect{1, 1, 3, 3}));
}

namespace {

// A font that only knows the basic fitting count, as test doubles elsewhere do.
class TPlainFont : public TFont {
public:
    explicit TPlainFont(const TFontSpec& spec) : TFont(spec), FFixed(spec) {}
    const TFontMetrics& metrics() const override { return FFixed.metrics(); }
    int textWidth(std::u16string_view text) const override { return FFixed.textWidth(text); }
    int fitCount(std::u16string_view text, int maxWidth, std::vector<int>* extents) const override
    {
        return FFixed.fitCount(text, maxWidth, extents);
    }

private:
    TFixedFont FFixed;
};

} // namespace

TEST(FixedMetrics, CharacterExtraFitsTheSameThroughTheDefaultAndTheFixedFont)
{
    TFontSpec spec{"Arial", 12, 0, 1};
    TFixedFont fixed(spec);
    TPlainFont plain(spec);
    std::u16string text = u"ab\u3000cd";
    for (int width : {0, 7, 13, 20, 27, 40, 100}) {
        std::vector<int> fromFixed, fromDefault;
        EXPECT_EQ(fixed.fitCountWithExtra(text, width, &fromFixed, 3),
                  plain.fitCountWithExtra(text, width, &fromDefault, 3))
            << width;
        EXPECT_EQ(fromFixed, fromDefault) << width;
    }
    TFixedCanvas canvas;
    canvas.setFont(canvas.createFont(spec));
    canvas.setCharacterExtra(3);
    EXPECT_EQ(canvas.textFitCount(text, 27), 2); // 9, 18, 33
}
