// Blocks made from equal styles share one copy of it: a block that changes
// its style must leave the others alone, IDs must stay with their blocks,
// and copies must paint like the original.
#include <gtest/gtest.h>

#include "LayoutTestSupport.h"

using namespace layouttest;

namespace {

TBlockStyle Paragraph(const std::string& id = {})
{
    TBlockStyle s = Block(Box(), "p");
    s.id = id;
    return s;
}

TBlock* BlockAt(TSectionList& doc, size_t index)
{
    auto& body = dynamic_cast<TBlock&>(*doc.Sections.front());
    return dynamic_cast<TBlock*>(body.Content().Sections[index].get());
}

struct PaintedCall {
    TDrawKind kind;
    TRect rect;
    std::u16string text;
    TColor color;
    bool operator==(const PaintedCall&) const = default;
};

std::vector<PaintedCall> Painted(TSectionList& doc, TFixedCanvas& canvas)
{
    canvas.clearCalls();
    TPaintContext pc{canvas, {0, 0, 400, 300}};
    doc.PaintDocument(pc, 0);
    std::vector<PaintedCall> out;
    for (const TDrawCall& c : canvas.calls())
        out.push_back({c.kind, c.rect, c.text, c.color});
    return out;
}

} // namespace

TEST(SharedBlockStyles, EqualStylesAreKeptOnceAndIdsStayWithTheirBlocks)
{
    Doc d;
    TBlock* first = d.AddBlock(*d.body, Paragraph("first"));
    TBlock* second = d.AddBlock(*d.body, Paragraph("second"));
    TBlockStyle noted = Paragraph();
    noted.className = "note";
    TBlock* note = d.AddBlock(*d.body, noted);

    EXPECT_EQ(&first->Style(), &second->Style());
    EXPECT_NE(&first->Style(), &note->Style());
    EXPECT_EQ(d.doc.BlockStyles().Count(), 3u); // body, p, p.note
    EXPECT_EQ(d.doc.FindID("first"), first);
    EXPECT_EQ(d.doc.FindID("second"), second);
    EXPECT_EQ(note->TagClass(), "p.note");
}

TEST(SharedBlockStyles, HidingOneBlockLeavesItsSiblingsShown)
{
    Doc d;
    TBlock* one = d.AddBlock(*d.body, Paragraph());
    d.AddText(one->Content(), u"one");
    TBlock* two = d.AddBlock(*d.body, Paragraph());
    d.AddText(two->Content(), u"two");
    one->SetHidden(true);
    d.Layout(200);
    EXPECT_TRUE(one->Hidden());
    EXPECT_FALSE(two->Hidden());
    EXPECT_EQ(d.Paint(), u"two");

    one->SetHidden(false); // equal again: shared again
    EXPECT_EQ(&one->Style(), &two->Style());
    EXPECT_EQ(d.Paint(), u"one|two");
}

TEST(SharedBlockStyles, BoxValuesDependingOnTheBasesAreNeverSharedAndDifferentBoxesStayApart)
{
    Doc d;
    TBlockStyle half = Block(Box());
    half.boxValues = [](int widthBase, int) {
        TMargArray b = Box();
        b[BoxWidth] = widthBase / 2;
        b.autoCount = 0;
        return b;
    };
    TBlock* a = d.AddBlock(*d.body, half);
    TBlock* b = d.AddBlock(*d.body, half);
    TMargArray indented = Box();
    indented[BoxMarginLeft] = 30;
    TBlock* plain = d.AddBlock(*d.body, Block(Box()));
    TBlock* shifted = d.AddBlock(*d.body, Block(indented));
    d.Layout(200);

    EXPECT_NE(&a->Style(), &b->Style());
    EXPECT_NE(&plain->Style(), &shifted->Style());
    // Each resolver answers for the width it is laid out in; each box keeps its margin.
    EXPECT_EQ((std::vector<int>{a->NewWidth, b->NewWidth}), (std::vector<int>{100, 100}));
    EXPECT_EQ((std::vector<int>{plain->ContentLeft, shifted->ContentLeft}), (std::vector<int>{0, 30}));
}

TEST(SharedBlockStyles, APrintingCopyPaintsLikeTheOriginalAndDropsPicturesOnlyInTheCopy)
{
    Doc d;
    TMargArray framed = Box();
    framed[BoxBackgroundColor] = 0x00FF00;
    framed[BoxBorderLeft] = framed[BoxBorderRight] = 3;
    framed[BoxBorderTopColor] = framed[BoxBorderLeftColor] = 0x0000FF;
    framed[BoxPaddingLeft] = 4;
    TBlockStyle s = Block(framed);
    s.borderStyles.fill(TBorderKind::Solid);
    for (const char16_t* text : {u"alpha", u"beta"})
        d.AddText(d.AddBlock(*d.body, s)->Content(), text);
    d.Layout(200);
    std::vector<PaintedCall> original = Painted(d.doc, d.canvas);
    ASSERT_FALSE(original.empty());
    EXPECT_EQ(original.front().kind, TDrawKind::FillRect);
    EXPECT_EQ(original.front().rect, (TRect{3, 0, 197, 19})); // inside the side borders

    auto copy = TSectionList::CreateCopy(d.doc);
    int maxWidth = 0;
    copy->LayOut(d.canvas, 0, 200, 600, maxWidth);
    EXPECT_EQ(Painted(*copy, d.canvas), original);

    s.backgroundImage = "stripes.png";
    Doc p;
    TBlock* pictured = p.AddBlock(*p.body, s);
    TBlock* sibling = p.AddBlock(*p.body, s);
    p.doc.ShowImages = false;
    auto plain = TSectionList::CreateCopy(p.doc);
    ASSERT_FALSE(plain->ShowImages);
    EXPECT_EQ(BlockAt(*plain, 0)->Style().backgroundImage, "");
    EXPECT_EQ(pictured->Style().backgroundImage, "stripes.png");
    EXPECT_EQ(sibling->Style().backgroundImage, "stripes.png");
}

TEST(HitTests, TheTopmostSectionAnswersInZOrderAndInDocumentOrder)
{
    // Two blocks on the same line (the second pulled up by a negative top
    // margin): the later one is on top unless the earlier one's key is higher.
    for (int earlierKey : {0, 1}) {
        Doc d;
        TBlockStyle earlier = Block(Box());
        earlier.position = TPositionKind::Relative;
        earlier.zIndex = earlierKey;
        TMargArray up = Box();
        up[BoxMarginTop] = -19;
        TBlock* outer = d.AddBlock(*d.body, Block(Box()));
        d.AddText(d.AddBlock(outer->Content(), earlier)->Content(), u"aaaa", Text(), 0);
        d.AddText(d.AddBlock(outer->Content(), Block(up))->Content(), u"bbbb", Text(), 10);
        d.Layout(200);
        TCaretHit hit;
        int pos = d.doc.PositionAt(d.canvas, 1, 5, hit);
        EXPECT_EQ(pos, earlierKey ? 0 : 4) << "z-order key " << earlierKey;
    }
}
