// Tables with border-collapse: collapse: no spacing, and one border on the
// edge two cells share, chosen by the conflict rules.
#include <gtest/gtest.h>

#include "BuilderTestSupport.h"
#include "html/layout/CollapsedBorders.h"
#include "html/layout/TCellObj.h"
#include "html/layout/TTableBlock.h"

using namespace buildtest;

namespace {

TBorderSide Side(int width, TBorderKind style) { return {width, style, 0}; }

TEST(CollapsedBorders, ConflictRules)
{
    const TBorderSide thin = Side(1, TBorderKind::Solid), thick = Side(3, TBorderKind::Dotted);
    EXPECT_EQ(WinningBorder(thin, thick), thick); // the wider wins
    EXPECT_EQ(WinningBorder(thick, thin), thick);
    EXPECT_EQ(WinningBorder(Side(2, TBorderKind::Dashed), Side(2, TBorderKind::Double)).style, TBorderKind::Double);
    EXPECT_EQ(WinningBorder(Side(2, TBorderKind::Inset), Side(2, TBorderKind::Ridge)).style, TBorderKind::Ridge);
    // A side without style or width loses whatever its width.
    EXPECT_EQ(WinningBorder(Side(9, TBorderKind::None), thin), thin);
    EXPECT_EQ(WinningBorder(thin, Side(0, TBorderKind::Double)), thin);
    // On a full tie the first (above, or to the left) wins.
    TBorderSide red{1, TBorderKind::Solid, 0x0000FF}, blue{1, TBorderKind::Solid, 0xFF0000};
    EXPECT_EQ(WinningBorder(red, blue).color, TColor(0x0000FF));
}

TEST(CollapsedBorders, NeighboursShareOneBorderAndStandWithoutSpacing)
{
    Built b(R"(<table style="border-collapse:collapse" cellspacing=10><tr>)"
            R"(<td style="border:2px solid">a</td><td style="border:4px double">b</td></tr>)"
            R"(<tr><td style="border:1px solid">c</td><td>d</td></tr></table>)");
    auto tables = All<ThtmlTable>(b.doc);
    ASSERT_EQ(tables.size(), 1u);
    ThtmlTable& t = *tables[0];
    EXPECT_EQ(t.CellSpacing, 0);
    TCellObj& a = *t.Rows[0]->Cells[0];
    TCellObj& bb = *t.Rows[0]->Cells[1];
    TCellObj& c = *t.Rows[1]->Cells[0];
    TCellObj& d = *t.Rows[1]->Cells[1];
    // a's right edge is b's left: drawn once, by b, with the wider double border.
    EXPECT_EQ(a.Border()[1], 0);
    EXPECT_EQ(bb.Border()[3], 4);
    ASSERT_TRUE(bb.CollapsedSides());
    EXPECT_EQ((*bb.CollapsedSides())[3].style, TBorderKind::Double);
    // c's top meets a's bottom (2 wins over 1); d has no border but b's bottom.
    EXPECT_EQ(a.Border()[2], 0);
    EXPECT_EQ(c.Border()[0], 2);
    EXPECT_EQ(d.Border()[0], 4);
    EXPECT_EQ(d.Border()[3], 1); // c's right side
    EXPECT_EQ(d.Border()[1], 0);
    // The cells touch: the second column starts where the first ends.
    EXPECT_EQ(bb.X, a.X + a.Wd);
    EXPECT_EQ(c.Y, a.Y + a.Ht);
}

TEST(CollapsedBorders, TheTablesOwnBorderJoinsTheEdgeCells)
{
    Built b(R"(<table style="border-collapse:collapse; border:4px solid red"><tr>)"
            R"(<td style="border:1px solid">a</td><td style="border:6px double">b</td></tr></table>)");
    ThtmlTable& t = *All<ThtmlTable>(b.doc).at(0);
    TCellObj& a = *t.Rows[0]->Cells[0];
    TCellObj& bb = *t.Rows[0]->Cells[1];
    // The wider table border wins over a's sides at the edge; b's wider
    // double border wins over the table's.
    EXPECT_EQ(a.Border()[0], 4);
    EXPECT_EQ(a.Border()[3], 4);
    EXPECT_EQ(a.Border()[2], 4);
    ASSERT_TRUE(a.CollapsedSides());
    EXPECT_EQ((*a.CollapsedSides())[0].color, TColor(0x0000FF));
    EXPECT_EQ(bb.Border()[1], 6);
    EXPECT_EQ((*bb.CollapsedSides())[1].style, TBorderKind::Double);
    // The table draws no border of its own around them: one border, not two.
    TTableBlock& block = *All<TTableBlock>(b.doc).at(0);
    EXPECT_FALSE(block.Style().hasBorderStyle());
}

TEST(CollapsedBorders, SeparateBordersStayAsTheyWere)
{
    Built b(R"(<table cellspacing=10><tr><td style="border:2px solid">a</td><td style="border:4px solid">b</td></table>)");
    ThtmlTable& t = *All<ThtmlTable>(b.doc).at(0);
    EXPECT_EQ(t.CellSpacing, 10);
    EXPECT_EQ(t.Rows[0]->Cells[0]->Border()[1], 2);
    EXPECT_FALSE(t.Rows[0]->Cells[0]->CollapsedSides());
}

} // namespace
