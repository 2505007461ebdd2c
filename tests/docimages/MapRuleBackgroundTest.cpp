#include <gtest/gtest.h>

#include <chrono>

#include "ObjectTestSupport.h"
#include "html/layout/Backgrounds.h"
#include "html/layout/THRBlock.h"
#include "html/layout/TMapItem.h"
#include "html/layout/TPage.h"

using namespace objecttest;

namespace {
std::string Url(const TMapItem& map, int x, int y)
{
    std::string href, target, title;
    return map.GetURL(x, y, href, target, title) ? href : "-";
}
} // namespace

TEST(ImageMap, CircleCoversItsDisc)
{
    TMapItem map("m");
    map.AddArea(Attrs({{ShapeSy, "CIRCLE"}, {CoordsSy, "10,10,5"}, {HrefSy, "c.htm"}}));
    for (int y = 0; y <= 20; ++y)
        for (int x = 0; x <= 20; ++x) {
            bool inDisc = (x - 10) * (x - 10) + (y - 10) * (y - 10) <= 25;
            EXPECT_EQ(Url(map, x, y), inDisc ? "c.htm" : "-") << x << "," << y;
        }
}

TEST(ImageMap, RectanglesIncludeTheirEdgesPolygonsAndFirstMatchWins)
{
    TMapItem map("m");
    map.AddArea(Attrs({{ShapeSy, "rect"}, {CoordsSy, "0 0  4,4"}, {NoHrefSy, ""}, {HrefSy, "hidden.htm"}}));
    map.AddArea(Attrs({{CoordsSy, "0,0,20,20"}, {HrefSy, "r.htm"}, {TargetSy, "main"}}));
    map.AddArea(Attrs({{ShapeSy, "polygon"}, {CoordsSy, "30,0,40,10,30,20"}, {HrefSy, "p.htm"}}));
    EXPECT_EQ(Url(map, 2, 2), "-") << "NOHREF answers nothing, and it comes first";
    EXPECT_EQ(Url(map, 20, 20), "r.htm");
    EXPECT_EQ(Url(map, 21, 20), "-");
    EXPECT_EQ(Url(map, 32, 10), "p.htm");
    EXPECT_EQ(Url(map, 39, 2), "-");
}

TEST(ImageMap, BadCoordinatesAreReadSafely)
{
    EXPECT_EQ(TMapItem::ParseCoords("1,,x, -3  7q"), (std::vector<int>{1, 0, -3, 7}));
    std::string many;
    for (int i = 0; i < 400; ++i)
        many += std::to_string(i) + ",";
    EXPECT_EQ(TMapItem::ParseCoords(many).size(), TMapItem::MaxCoords);
    EXPECT_EQ(TMapItem::ParseCoords("99999999999999999999 -99999999").at(0), TMapItem::MaxCoordinate);
    EXPECT_EQ(TMapItem::ParseCoords("99999999999999999999 -99999999").at(1), -TMapItem::MaxCoordinate);

    TMapItem map("m");
    map.AddArea(Attrs({{ShapeSy, "circ"}, {CoordsSy, "1,2"}, {HrefSy, "x"}}));     // too few
    map.AddArea(Attrs({{ShapeSy, "poly"}, {CoordsSy, "1,2,3,4,5"}, {HrefSy, "x"}})); // too few
    map.AddArea(Attrs({{CoordsSy, "garbage everywhere"}, {HrefSy, "x"}}));
    EXPECT_TRUE(map.Areas().empty());
    map.AddArea(Attrs({{ShapeSy, "poly"}, {CoordsSy, many}, {HrefSy, "big"}}));
    EXPECT_EQ(map.Areas().size(), 1u);
    (void)Url(map, 100, 100); // an odd count of polygon numbers is fine
}

TEST(ImageMap, TenThousandAreasAnswerQuickly)
{
    TMapItem map("m");
    for (int i = 0; i < 10000; ++i)
        map.AddArea(Attrs({{CoordsSy, std::to_string(i) + ",0," + std::to_string(i) + ",0"},
                           {HrefSy, "a" + std::to_string(i)}}));
    EXPECT_EQ(Url(map, 9999, 0), "a9999");
    EXPECT_EQ(Url(map, 10000, 0), "-");
}

TEST(HorizontalRule, SizeOutsideOneToTwentyIsTheDefaultTwo)
{
    layouttest::Doc d;
    auto add = [&](const std::string& size) {
        return d.AddBlock<THRBlock>(*d.body, layouttest::Block(layouttest::Box(), "hr"), Attrs({{SizeSy, size}}));
    };
    THRBlock* big = add("30");
    THRBlock* five = add("5");
    THRBlock* zero = add("0");
    d.Layout(300);
    EXPECT_EQ(big->Line()->VSize, 2);
    EXPECT_EQ(big->SectionHeight, 2);
    EXPECT_EQ(five->SectionHeight, 5);
    EXPECT_EQ(zero->SectionHeight, 2);
    EXPECT_EQ(big->Line()->Wid, 300);
}

TEST(HorizontalRule, WidthAlignmentAndShading)
{
    layouttest::Doc d;
    THRBlock* centred = d.AddBlock<THRBlock>(*d.body, layouttest::Block(layouttest::Box(), "hr"),
                                             Attrs({{WidthSy, "50%"}, {NoShadeSy, ""}}));
    THRBlock* right = d.AddBlock<THRBlock>(*d.body, layouttest::Block(layouttest::Box(), "hr"),
                                           Attrs({{WidthSy, "100"}, {AlignSy, "RIGHT"}, {ColorSy, "red"}}));
    d.Layout(300);
    EXPECT_EQ(centred->Line()->Wid, 150);
    EXPECT_EQ(centred->Line()->XX, 75);
    EXPECT_EQ(right->Line()->Wid, 100);
    EXPECT_EQ(right->Line()->XX, 200);
    d.Paint();
    int black = 0, red = 0;
    for (const TDrawCall& c : d.canvas.calls()) {
        if (c.kind != TDrawKind::FillRect)
            continue;
        black += c.color == 0 ? 1 : 0;
        red += c.color == RGBColor(255, 0, 0) && c.rect.width() == 100 ? 1 : 0;
    }
    EXPECT_EQ(black, 4) << "NOSHADE draws all four edges black";
    EXPECT_EQ(red, 1);
}

TEST(PageBreak, EndsThePrintedPageAtItsPlace)
{
    layouttest::Doc d;
    d.AddText(*d.body, u"first");
    auto page = std::make_unique<TPage>(d.doc);
    TPage* raw = page.get();
    d.body->AddSection(std::move(page));
    d.AddText(*d.body, u"second");
    d.Layout(300);
    TPaintContext pc{d.canvas, {0, 0, 300, 500}};
    pc.printing = true;
    pc.pageBottom = 500;
    d.doc.PaintDocument(pc, 0);
    EXPECT_EQ(pc.pageBottom, raw->YValue);
    EXPECT_GT(raw->YValue, 5);
}

TEST(BackgroundTiles, OffsetsFollowThePositionKinds)
{
    EXPECT_EQ(BackgroundOffset(100, 20, TStyleLength::Percent(50)), 40);
    EXPECT_EQ(BackgroundOffset(100, 20, TStyleLength::Percent(100)), 80);
    EXPECT_EQ(BackgroundOffset(100, 20, TStyleLength::Pixels(7)), 7);
    EXPECT_EQ(BackgroundOffset(100, 20, TStyleLength::Pixels(500)), 100);
    EXPECT_EQ(BackgroundOffset(100, 20, TStyleLength::Pixels(-500)), -20);

    TTileRun run = PlanTiles(100, 30, TStyleLength::Pixels(40), true, 0, 100);
    EXPECT_EQ(run.start, -20);
    EXPECT_EQ(run.count, 4);
    TTileRun once = PlanTiles(100, 30, TStyleLength::Percent(50), false, 0, 100);
    EXPECT_EQ(once.start, 35);
    EXPECT_EQ(once.count, 1);
    // Only the visible part is tiled, however large the area.
    TTileRun visible = PlanTiles(1000000, 2, TStyleLength{}, true, 500000, 500010);
    EXPECT_EQ(visible.count, 5);
    EXPECT_EQ(visible.start, 500000);
}

TEST(BackgroundTiles, OnePixelHighImageIsStretchedNotTiledPerPixel)
{
    TFixedCanvas canvas;
    TImageFetch image;
    image.bitmap = std::make_shared<const TBitmap>(20, 1);
    TBackgroundPlacement placement;
    PaintBackgroundImage(canvas, {0, 0, 100, 50}, image, placement);
    ASSERT_EQ(canvas.calls().size(), 5u);
    for (const TDrawCall& c : canvas.calls())
        EXPECT_EQ(c.rect.height(), 50);
}

TEST(BackgroundTiles, BlocksPaintTheirBackgroundImage)
{
    PictureDoc d;
    TBlockStyle style = layouttest::Block(layouttest::Box());
    style.backgroundImage = "10x10";
    style.backgroundRepeat = uint8_t(TBackgroundRepeatKind::None);
    style.backgroundPosX = 50;
    style.backgroundPosXPercent = true;
    TBlock* block = d.AddBlock(*d.body, style);
    d.AddText(block->Content(), u"text");
    d.Layout(210);
    d.Paint();
    int tiles = 0;
    for (const TDrawCall& c : d.canvas.calls())
        if (c.kind == TDrawKind::Bitmap) {
            ++tiles;
            EXPECT_EQ(c.rect.left, 100);
        }
    EXPECT_EQ(tiles, 1);
}

TEST(BackgroundTiles, BodyBackgroundWaitsForItsDataThenTilesTheDocument)
{
    layouttest::Doc d;
    bool ready = false;
    d.doc.Objects.Host.streamRequest = [&ready](const std::string&) {
        TImageStream s;
        s.kind = ready ? TImageStream::Kind::Data : TImageStream::Kind::Wait;
        return s;
    };
    d.doc.BackgroundImage = "tile.gif";
    d.Layout(100);
    TPaintContext pc{d.canvas, {0, 0, 100, 100}};
    PaintDocumentBackground(pc, d.doc, {0, 0, 100, 100});
    EXPECT_TRUE(d.canvas.calls().empty());
    EXPECT_TRUE(d.doc.Objects.IsPending("TILE.GIF"));

    GifBuilder gif;
    gif.screen(50, 1, {0xFFFFFF, 0}).image(GifFrame(50, 1, std::vector<uint8_t>(50, 0))).trailer();
    d.doc.Objects.InsertImage("tile.gif", gif.bytes);
    PaintDocumentBackground(pc, d.doc, {0, 0, 100, 100});
    EXPECT_EQ(d.canvas.calls().size(), 2u) << "two tiles across, stretched down";
    d.doc.ClearDocument();
    EXPECT_EQ(d.doc.Objects.BitmapList->Find("tile.gif")->UsageCount, 0);
}
