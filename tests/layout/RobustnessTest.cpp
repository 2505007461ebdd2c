// Hostile documents: deep nesting, huge words, many images, absurd boxes.
#include <gtest/gtest.h>

#include "LayoutTestSupport.h"
#include "html/layout/TPreFormated.h"

using namespace layouttest;

TEST(Robustness, HundredThousandNestedBlocksStayWithinTheNestingBound)
{
    Doc d;
    TCellBasic* cell = d.body;
    for (int i = 0; i < 100000; ++i) {
        TBlock* b = d.AddBlock(*cell, Block(Box()));
        cell = &b->Content();
        EXPECT_LE(cell->Depth(), MaxBlockNesting) << i;
        if (cell->Depth() > MaxBlockNesting)
            break;
    }
    d.AddText(*cell, u"deep text");
    int height = d.Layout(300);
    EXPECT_EQ(height, 19);
    EXPECT_EQ(d.doc.FindText(0, u"deep", true), 0);
    d.Paint();
    EXPECT_EQ(d.canvas.drawnText(), u"deep text");
    auto copy = TSectionList::CreateCopy(d.doc);
    EXPECT_EQ(copy->Sections.size(), 1u);
}

TEST(Robustness, TenMegabyteWordWithoutSpaces)
{
    Doc d;
    std::u16string word(10 * 1024 * 1024, u'x');
    TSection* s = d.AddText(*d.body, word);
    d.Layout(300);
    ASSERT_EQ(s->Lines().size(), 1u);
    EXPECT_EQ(s->Lines()[0].Ln, int(word.size()));
    EXPECT_GT(s->Lines()[0].TextWidth, 0);
    int mn = 0, mx = 0;
    s->MeasureWidths(d.canvas, mn, mx);
    EXPECT_EQ(mn, mx);
    EXPECT_GT(mn, 0);
}

TEST(Robustness, LineOfHundredThousandImages)
{
    Doc d;
    auto s = std::make_unique<TSection>(d.doc, Text());
    for (int i = 0; i < 100000; ++i)
        s->AddImage(std::make_unique<TestImage>(10, 10), i);
    TSection* raw = s.get();
    d.body->AddSection(std::move(s));
    d.Layout(1000);
    // Images break like spaces: 100 per line.
    EXPECT_EQ(raw->Lines().size(), 1000u);
    d.Paint(200);
    EXPECT_LT(d.doc.DrawList.Count(), 1u); // drawn and emptied
}

TEST(Robustness, ZeroAndNegativeWidths)
{
    for (int width : {0, -50}) {
        Doc d;
        TSection* s = d.AddText(*d.body, u"some words here");
        d.Layout(width);
        ASSERT_FALSE(s->Lines().empty());
        // Every word still gets its own line.
        EXPECT_EQ(s->Lines().size(), 3u) << width;
    }
}

TEST(Robustness, AbsurdMarginsAndPaddingsDoNotOverflow)
{
    Doc d;
    TMargArray b = Box();
    for (int i = BoxMarginTop; i <= BoxPaddingLeft; ++i)
        b[i] = 1000000000;
    for (int i = 0; i < 2000; ++i)
        d.AddText(d.AddBlock(*d.body, Block(b))->Content(), u"x");
    b[BoxMarginTop] = b[BoxMarginLeft] = -1000000000;
    d.AddText(d.AddBlock(*d.body, Block(b))->Content(), u"y");
    int maxWidth = 0;
    int height = d.doc.LayOut(d.canvas, 0, 300, 600, maxWidth);
    EXPECT_GT(height, 0);
    EXPECT_LE(height, DocumentLimit);
    EXPECT_GE(maxWidth, 0);
    d.Paint();
}

TEST(Robustness, InputControlCharactersNeverPassForPlaceholders)
{
    Doc d;
    TSection* s = d.AddText(*d.body, u"a\bb\x02" u"c\x04" u"d\x0B" u"e");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Text(), u"a b c d e");
    d.Layout(300);
    EXPECT_EQ(s->Lines().size(), 1u);
    EXPECT_EQ(d.Paint(), u"a b c d e");
}

TEST(Robustness, PaintingMovesPastABreakInsideALine)
{
    // A pre-formatted line is never broken, so a break the builder put in
    // it stays inside the line.
    Doc d;
    auto s = std::make_unique<TPreFormated>(d.doc, Text());
    Doc::Fill(*s, u"ab", 0);
    s->AddChar(BreakChar, 2);
    Doc::Fill(*s, u"cd", 3);
    TSection* raw = s.get();
    d.body->AddSection(std::move(s));
    d.Layout(300);
    ASSERT_EQ(raw->Lines().size(), 1u);
    EXPECT_EQ(d.Paint(), u"ab|cd");
}
