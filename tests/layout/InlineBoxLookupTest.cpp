// Each painted line finds its inline boxes through an index by position: it
// must find exactly the boxes that show a piece of the line, in the order
// they were entered, whatever their nesting and length.
#include <gtest/gtest.h>

#include <random>

#include "LayoutTestSupport.h"

using namespace layouttest;

namespace {

std::vector<const InlineRec*> BoxesOverLine(const TInlineList& list, int lineStart, int lineEnd)
{
    std::vector<const InlineRec*> boxes;
    for (const InlineRec& box : list.Items())
        if (box.EndDoc > lineStart && box.StartDoc < lineEnd)
            boxes.push_back(&box);
    return boxes;
}

} // namespace

TEST(InlineBoxLookup, EveryLineGetsTheBoxesOverItInTheirOrder)
{
    Doc d;
    TMargArray box;
    box[BoxBorderLeft] = box[BoxBorderRight] = 1;
    std::array<TBorderKind, 4> solid;
    solid.fill(TBorderKind::Solid);
    std::u16string text;
    while (text.size() < 6000)
        text += u"word and more ";
    std::mt19937 random(7);
    const int size = int(text.size());
    // Short boxes, boxes over many lines, boxes over nearly all the text
    // (which reach past every short one after them) and boxes never closed.
    for (int i = 0; i < 600; ++i) {
        const int start = int(random() % unsigned(size));
        const int kind = int(random() % 10);
        const int length = kind < 6 ? 1 + int(random() % 12) : kind < 9 ? int(random() % 400) : size;
        const int index = d.doc.InlineList->StartInline(start, box, solid);
        if (i % 50 != 0)
            d.doc.InlineList->EndInline(index, std::min(size, start + length));
    }
    TSection* section = d.AddText(*d.body, text);
    ASSERT_TRUE(section);
    const int height = d.Layout(120);
    d.Paint(height + 10);
    ASSERT_GT(section->Lines().size(), 100u);
    size_t piecesSeen = 0;
    for (size_t i = 0; i < section->Lines().size(); ++i) {
        const LineRec& line = section->Lines()[i];
        const int lineStart = section->StartCurs + line.Start;
        const std::vector<const InlineRec*> expected = BoxesOverLine(*d.doc.InlineList, lineStart, lineStart + line.Ln);
        ASSERT_TRUE(section->BorderPieces(i));
        std::vector<const InlineRec*> found;
        for (const BorderRec& piece : *section->BorderPieces(i))
            found.push_back(piece.Box);
        EXPECT_EQ(found, expected) << "line " << i;
        piecesSeen += found.size();
    }
    EXPECT_GT(piecesSeen, section->Lines().size());
}

TEST(InlineBoxLookup, BoxesEnteredAfterALayoutAreFoundOnceLaidOutAgain)
{
    Doc d;
    TMargArray box;
    box[BoxBorderLeft] = 1;
    std::array<TBorderKind, 4> solid;
    solid.fill(TBorderKind::Solid);
    TSection* section = d.AddText(*d.body, u"aaa bbb ccc ddd");
    d.doc.InlineList->EndInline(d.doc.InlineList->StartInline(0, box, solid), 3);
    d.Layout(400);
    d.Paint();
    ASSERT_TRUE(section->BorderPieces(0));
    EXPECT_EQ(section->BorderPieces(0)->size(), 1u);
    d.doc.InlineList->EndInline(d.doc.InlineList->StartInline(8, box, solid), 11);
    d.Layout(400);
    d.Paint();
    ASSERT_TRUE(section->BorderPieces(0));
    ASSERT_EQ(section->BorderPieces(0)->size(), 2u);
    EXPECT_EQ((*section->BorderPieces(0))[1].Start, 8);
}
