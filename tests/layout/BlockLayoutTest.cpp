// Block boxes: margin collapsing, widths, floats, clear, paint order and list markers.
#include <gtest/gtest.h>

#include "LayoutTestSupport.h"
#include "html/layout/TBlockLI.h"

using namespace layouttest;

namespace {

TMargArray Margins(int top, int bottom)
{
    TMargArray b = Box();
    b[BoxMarginTop] = top;
    b[BoxMarginBottom] = bottom;
    return b;
}

// Content top of the second of two paragraphs with the given margins.
int SecondParagraphTop(int bottomOfFirst, int topOfSecond)
{
    Doc d;
    TBlock* p1 = d.AddBlock(*d.body, Block(Margins(0, bottomOfFirst), "p"));
    d.AddText(p1->Content(), u"one");
    TBlock* p2 = d.AddBlock(*d.body, Block(Margins(topOfSecond, 0), "p"));
    d.AddText(p2->Content(), u"two");
    d.Layout(300);
    return p2->YValue - (p1->YValue + 19);
}

std::vector<std::u16string> DrawnTexts(const TFixedCanvas& canvas)
{
    std::vector<std::u16string> out;
    for (const TDrawCall& call : canvas.calls())
        if (call.kind == TDrawKind::Text)
            out.push_back(call.text);
    return out;
}

} // namespace

TEST(MarginCollapsing, AdjacentMarginsCombine)
{
    EXPECT_EQ(SecondParagraphTop(10, 20), 20);
    EXPECT_EQ(SecondParagraphTop(-10, 20), 10);
    EXPECT_EQ(SecondParagraphTop(-10, -20), -20);
}

TEST(MarginCollapsing, ImplicitTopMarginOfTheFirstBlockVanishes)
{
    Doc d;
    TMargArray b = Margins(14, 14);
    b.topMarginExplicit = false;
    TBlock* p = d.AddBlock(*d.body, Block(b, "p"));
    d.AddText(p->Content(), u"x");
    d.Layout(300);
    EXPECT_EQ(p->YValue, 0);
    EXPECT_EQ(p->SectionHeight, 19 + 14);
}

TEST(BlockWidth, GivenWidthOverflowsAndAutoMarginsCentre)
{
    Doc d;
    TMargArray wide = Box();
    wide[BoxWidth] = 300;
    wide.autoCount = 0;
    TBlock* overflow = d.AddBlock(*d.body, Block(wide));
    d.AddText(overflow->Content(), u"x");
    TMargArray centred = Box();
    centred[BoxWidth] = 100;
    centred[BoxMarginLeft] = centred[BoxMarginRight] = BoxAuto;
    centred.autoCount = 2;
    TBlock* middle = d.AddBlock(*d.body, Block(centred));
    centred[BoxWidth] = 400;
    TBlock* tooWide = d.AddBlock(*d.body, Block(centred));
    d.Layout(200);
    EXPECT_EQ(overflow->NewWidth, 300);
    EXPECT_EQ(middle->NewWidth, 100);
    EXPECT_EQ(middle->ContentLeft, 50);
    EXPECT_EQ(tooWide->NewWidth, 400);
    EXPECT_EQ(tooWide->ContentLeft, 0);
}

TEST(BlockWidth, AutoWidthFillsLessMarginsBordersAndPaddings)
{
    Doc d;
    TMargArray b = Box();
    b[BoxMarginLeft] = 10;
    b[BoxPaddingLeft] = 5;
    b[BoxBorderRight] = 3;
    b.autoCount = 1;
    TBlock* block = d.AddBlock(*d.body, Block(b));
    d.Layout(200);
    EXPECT_EQ(block->ContentLeft, 15);
    EXPECT_EQ(block->NewWidth, 182);
}

TEST(Floats, TextFlowsBesideLeftAndRightFloatsAndClearMovesBelow)
{
    Doc d;
    TMargArray fb = Box();
    fb[BoxWidth] = 50;
    fb.autoCount = 0;
    TBlockStyle left = Block(fb);
    left.floatKind = TFloatKind::Left;
    TBlock* lf = d.AddBlock(*d.body, left);
    d.AddText(lf->Content(), u"F");
    TSection* text = d.AddText(*d.body, u"aaa bbb ccc ddd eee fff");
    d.Layout(100);
    ASSERT_GE(text->Lines().size(), 2u);
    EXPECT_EQ(lf->SectionHeight, 0); // floats do not advance the flow
    EXPECT_EQ(text->Lines()[0].X, 50);
    EXPECT_EQ(text->Lines()[0].DrawWidth, 50);
    EXPECT_EQ(text->Lines()[1].X, 0);

    Doc r;
    TBlockStyle right = Block(fb);
    right.floatKind = TFloatKind::Right;
    TBlock* rf = r.AddBlock(*r.body, right);
    r.AddText(rf->Content(), u"F");
    TBlockStyle clear = Block(Box());
    clear.clear = TClearKind::Right;
    TBlock* below = r.AddBlock(*r.body, clear);
    r.AddText(below->Content(), u"after");
    r.Layout(100);
    EXPECT_EQ(rf->ContentLeft, 50);
    EXPECT_EQ(below->ClearAddon, 19);
    EXPECT_EQ(below->YValue, 19);
}

TEST(PaintOrder, ZIndexDecidesOverDocumentOrder)
{
    Doc d;
    TBlockStyle front = Block(Box());
    front.position = TPositionKind::Relative;
    front.zIndex = 2;
    TBlockStyle back = front;
    back.zIndex = -1;
    d.AddText(d.AddBlock(*d.body, front)->Content(), u"front");
    d.AddText(*d.body, u"plain");
    d.AddText(d.AddBlock(*d.body, back)->Content(), u"back");
    d.Layout(300);
    d.Paint();
    EXPECT_EQ(DrawnTexts(d.canvas), (std::vector<std::u16string>{u"back", u"plain", u"front"}));
}

TEST(PaintOrder, BackgroundAndBordersBeforeText)
{
    Doc d;
    TMargArray b = Box();
    b[BoxBackgroundColor] = 0x00FF00;
    b[BoxBorderTop] = b[BoxBorderBottom] = b[BoxBorderLeft] = b[BoxBorderRight] = 2;
    TBlockStyle s = Block(b);
    s.borderStyles.fill(TBorderKind::Solid);
    TBlock* block = d.AddBlock(*d.body, s);
    d.AddText(block->Content(), u"x");
    d.Layout(100);
    d.Paint();
    const auto& calls = d.canvas.calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0].kind, TDrawKind::FillRect);
    EXPECT_EQ(calls[0].rect, (TRect{2, 2, 98, 21}));
    EXPECT_EQ(calls.back().kind, TDrawKind::Text);
    EXPECT_EQ(block->SectionHeight, 23);
}

TEST(ListMarkers, RomanNumeralsStopAtTwenty)
{
    Doc d;
    TBlockStyle li = Block(Box(), "li");
    auto* eleven = d.AddBlock<TBlockLI>(*d.body, li, TListKind::Ordered, 1, 'i', false, 11);
    auto* twentyFive = d.AddBlock<TBlockLI>(*d.body, li, TListKind::Ordered, 1, 'I', false, 25);
    auto* letter = d.AddBlock<TBlockLI>(*d.body, li, TListKind::Ordered, 1, 'a', false, 3);
    EXPECT_EQ(eleven->MarkerText(), u"xi.");
    EXPECT_EQ(twentyFive->MarkerText(), u"XX.");
    EXPECT_EQ(letter->MarkerText(), u"c.");
}

TEST(ListMarkers, BulletsByNestingLevelAndDrawnAtTheFirstBaseline)
{
    Doc d;
    TBlockStyle li = Block(Box(), "li");
    std::vector<TListMarker> kinds;
    for (int level = 1; level <= 4; ++level)
        kinds.push_back(d.AddBlock<TBlockLI>(*d.body, li, TListKind::Unordered, level, '1', false, 1)->Marker());
    EXPECT_EQ(kinds, (std::vector<TListMarker>{TListMarker::Disc, TListMarker::Circle, TListMarker::Square,
                                               TListMarker::Disc}));

    Doc p;
    TMargArray indented = Box();
    indented[BoxMarginLeft] = 40;
    auto* item = p.AddBlock<TBlockLI>(*p.body, Block(indented, "li"), TListKind::Ordered, 1, '1', false, 7);
    p.AddText(item->Content(), u"item");
    p.Layout(300);
    EXPECT_EQ(item->MarkerY(), 15); // line top 0 + ascent (19 - 4)
    p.Paint();
    bool found = false;
    for (const TDrawCall& call : p.canvas.calls())
        if (call.kind == TDrawKind::Text && call.text == u"7.") {
            found = true;
            EXPECT_EQ(call.rect.right, 40 - 10);
        }
    EXPECT_TRUE(found);
}

TEST(ListContainers, ContentStaysThirtyFivePixelsRightOfTheEdge)
{
    Doc d;
    TBlock* list = d.AddBlock(*d.body, Block(Box(), "ul"));
    list->IsListBlock = true;
    d.AddText(list->Content(), u"x");
    d.Layout(200);
    EXPECT_EQ(list->ContentLeft, 35);
    EXPECT_EQ(list->NewWidth, 165);
}

TEST(DisplayNone, TakesNoSpaceAndPaintsNothing)
{
    Doc d;
    TBlockStyle none = Block(Box());
    none.displayNone = true;
    d.AddText(d.AddBlock(*d.body, none)->Content(), u"hidden");
    TSection* after = d.AddText(*d.body, u"shown");
    d.Layout(200);
    EXPECT_EQ(after->YValue, 0);
    EXPECT_EQ(d.Paint(), u"shown");
}
