// A table's own background picture, and COL specifications with cells that
// span many columns.
#include <gmock/gmock.h>

#include "BuilderTestSupport.h"
#include "html/build/TCellManager.h"

using namespace buildtest;

namespace {

// The tiles of the 8 x 8 picture "8x8" painted for the document.
std::vector<TRect> PictureTiles(Built& b)
{
    b.doc.Objects.Host.bitmapRequest = [](const std::string& name, TBitmap& bitmap, TColor& color) {
        color = ClNone;
        if (name != "8x8")
            return false;
        bitmap = TBitmap(8, 8, 0xFF336699u);
        return true;
    };
    int maxWidth = 0;
    b.doc.LayOut(b.canvas, 0, 800, 600, maxWidth);
    b.canvas.clearCalls();
    TPaintContext pc{b.canvas, TRect{0, 0, 800, 600}};
    b.doc.PaintDocument(pc, 0);
    std::vector<TRect> tiles;
    for (const TDrawCall& c : b.canvas.calls())
        if (c.kind == TDrawKind::Bitmap && c.rect.width() == 8)
            tiles.push_back(c.rect);
    return tiles;
}

} // namespace

TEST(TablePicture, BackgroundAttributeTilesTheTable)
{
    Built b("<table cellspacing=0 background=\"8x8\"><tr><td width=40>one<td width=40>two</table>");
    auto* table = All<TTableBlock>(b.doc).at(0);
    std::vector<TRect> tiles = PictureTiles(b);
    ASSERT_FALSE(tiles.empty());
    for (const TRect& t : tiles)
        EXPECT_LT(t.top, table->YPosition() + table->SectionHeight);
}

TEST(TablePicture, CaptionStandsOutsideTheTablesPicture)
{
    for (const std::string align : {"top", "bottom"}) {
        for (const std::string picture : {"background=\"8x8\"", "style=\"background-image: url(8x8)\""}) {
            Built b("<table cellspacing=0 " + picture + "><caption align=" + align +
                    ">Caption words</caption><tr><td width=40>one<br>two<br>three</table>");
            TSection* caption = SectionWith(b.doc, "Caption words");
            ASSERT_NE(caption, nullptr);
            const int top = caption->YPosition(), bottom = top + caption->SectionHeight;
            std::vector<TRect> tiles = PictureTiles(b);
            EXPECT_FALSE(tiles.empty()) << align << " " << picture;
            // Tiles are clipped to the table's box: none starts on the caption.
            for (const TRect& t : tiles)
                EXPECT_TRUE(t.top < top || t.top >= bottom)
                    << align << " " << picture << ": a tile at " << t.top << ".." << t.bottom << " over the caption at "
                    << top << ".." << bottom;
        }
    }
}

namespace {

TTextAlignKind AlignOf(Built& b, const std::string& words)
{
    TSection* s = SectionWith(b.doc, words);
    EXPECT_NE(s, nullptr) << words;
    return s ? s->Justify : TTextAlignKind::Left;
}

} // namespace

TEST(TableColumns, ColumnSpecsReachTheirCellsPastRowSpans)
{
    Built b("<table><col align=right><col align=center><col align=right>"
            "<tr><td rowspan=2>left one<td>mid one<td>right one<tr><td>mid two<td>right two</table>");
    EXPECT_EQ(AlignOf(b, "mid two"), TTextAlignKind::Center);
    EXPECT_EQ(AlignOf(b, "right two"), TTextAlignKind::Right);
    Built wide("<table><col align=right><col align=center><tr><td colspan=5>wide<td>beyond<tr><td>first<td>second</table>");
    EXPECT_EQ(AlignOf(wide, "wide"), TTextAlignKind::Right);
    EXPECT_NE(AlignOf(wide, "beyond"), TTextAlignKind::Center);
    EXPECT_EQ(AlignOf(wide, "second"), TTextAlignKind::Center);
}

TEST(TableColumns, WideSpansDoNotGrowTheColumnMap)
{
    // Fifty thousand cells of span 1000 beside one COL used to track fifty
    // million columns.
    TCellManager manager;
    manager.NextRow();
    EXPECT_EQ(manager.PlaceCell(1, 3, 2), 0);
    EXPECT_GE(manager.PlaceCell(1000, 1, 2), 1);
    for (int i = 0; i < 50000; ++i)
        EXPECT_GE(manager.PlaceCell(1000, 1000, 2), 2);
    EXPECT_LE(manager.TrackedColumns(), 2u);
    manager.NextRow();
    EXPECT_EQ(manager.PlaceCell(1, 1, 2), 1) << "the first column is still taken by the row span";
    EXPECT_GE(manager.PlaceCell(1, 1, 2), 2);
}
