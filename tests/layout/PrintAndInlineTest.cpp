// Pre-formatted lines, printed page breaks and inline boxes.
#include <gtest/gtest.h>

#include "LayoutTestSupport.h"
#include "html/layout/TPreFormated.h"

using namespace layouttest;

TEST(PreFormatted, OneLineNeverBrokenAndItsWidthReported)
{
    Doc d;
    auto s = std::make_unique<TPreFormated>(d.doc, Text());
    Doc::Fill(*s, u"  keep   all  spaces here", 0);
    TPreFormated* raw = s.get();
    d.body->AddSection(std::move(s));
    int maxWidth = 0;
    d.doc.LayOut(d.canvas, 0, 40, 600, maxWidth);
    ASSERT_EQ(raw->Lines().size(), 1u);
    EXPECT_EQ(raw->Text(), u"  keep   all  spaces here");
    EXPECT_EQ(maxWidth, 25 * 8);
    int mn = 0, mx = 0;
    raw->MeasureWidths(d.canvas, mn, mx);
    EXPECT_EQ(mx, 200);
}

TEST(Printing, PageBreakBeforeMovesTheBlockToTheNextPage)
{
    Doc d;
    TBlock* first = d.AddBlock(*d.body, Block(Box(), "p"));
    d.AddText(first->Content(), u"first");
    TBlockStyle breaking = Block(Box(), "p");
    breaking.pageBreakBefore = true;
    TBlock* second = d.AddBlock(*d.body, breaking);
    d.AddText(second->Content(), u"second");
    d.Layout(300);

    TPaintContext page1{d.canvas, {0, 0, 300, 100}};
    page1.printing = true;
    page1.pageBottom = 100;
    d.canvas.clearCalls();
    d.doc.PaintDocument(page1, 0);
    EXPECT_EQ(d.canvas.drawnText(), u"first");
    EXPECT_EQ(page1.pageBottom, 19);

    // At the top of the next page it prints.
    TPaintContext page2{d.canvas, {0, 0, 300, 100}};
    page2.printing = true;
    page2.yOffset = 19;
    page2.pageBottom = 119;
    d.canvas.clearCalls();
    d.doc.PaintDocument(page2, 0);
    EXPECT_EQ(d.canvas.drawnText(), u"second");
}

TEST(InlineBoxes, BorderPiecesOpenAtLineEnds)
{
    Doc d;
    TMargArray box;
    box[BoxBorderTop] = box[BoxBorderRight] = box[BoxBorderBottom] = box[BoxBorderLeft] = 1;
    std::array<TBorderKind, 4> solid;
    solid.fill(TBorderKind::Solid);
    int index = d.doc.InlineList->StartInline(4, box, solid);
    TSection* s = d.AddText(*d.body, u"aaa bbb ccc");
    d.doc.InlineList->EndInline(index, 10);
    d.Layout(64); // "aaa bbb " / "ccc"
    d.Paint();
    ASSERT_EQ(s->Lines().size(), 2u);
    ASSERT_TRUE(s->BorderPieces(0) && s->BorderPieces(1));
    ASSERT_EQ(s->BorderPieces(0)->size(), 1u);
    const BorderRec& first = (*s->BorderPieces(0))[0];
    EXPECT_FALSE(first.OpenStart);
    EXPECT_TRUE(first.OpenEnd);
    EXPECT_EQ(first.Rect.left, 32);
    ASSERT_EQ(s->BorderPieces(1)->size(), 1u);
    const BorderRec& second = (*s->BorderPieces(1))[0];
    EXPECT_TRUE(second.OpenStart);
    EXPECT_FALSE(second.OpenEnd);
}
