// The text of display: inline-block boxes is part of the document's text:
// select-all copy and the text export give it where it stands, Find reaches
// into it and marks what it found, and a selection across it copies it.
#include <gtest/gtest.h>

#include "HtmlPageSupport.h"

using namespace pagetest;

namespace {

const std::string Boxed = Html("<p>Before <span style='display:inline-block'>inside words<br>second</span> after "
                               "needle.</p><p>More <b style='display:inline-block'>boxed needle</b> end</p>");

std::u16string Copied(Page& p, int from, int to)
{
    p.doc.SelB = from;
    p.doc.SelE = to;
    return p.doc.GetSelText();
}

// The painted piece that holds text, and whether it was drawn selected.
bool PaintedSelected(Page& p, const std::u16string& text)
{
    const TDrawCall* call = p.Painted(text);
    EXPECT_NE(call, nullptr);
    return call && call->backgroundMode == TBackgroundMode::Opaque;
}

} // namespace

TEST(InlineBlockText, SelectAllCopyGivesItInReadingOrder)
{
    Page p(Boxed);
    EXPECT_EQ(Copied(p, 0, 0x7FFFFFFF),
              u"Before inside words\nsecond after needle.\n\nMore boxed needle end\n\n");
}

TEST(InlineBlockText, ASelectionAcrossABoxCopiesAllOfIt)
{
    Page p(Boxed);
    const int after = p.doc.FindText(0, u"after", true);
    ASSERT_GT(after, 0);
    EXPECT_EQ(Copied(p, 2, after + 3), u"fore inside words\nsecond aft");
}

TEST(InlineBlockText, ASelectionStartingOrEndingInsideABoxCopiesItsPart)
{
    Page p(Boxed);
    const int words = p.doc.FindText(0, u"words", true);
    const int more = p.doc.FindText(0, u"More", true);
    ASSERT_GT(words, 0);
    ASSERT_GT(more, words);
    EXPECT_EQ(Copied(p, words, more + 4), u"words\nsecond after needle.\n\nMore");
    EXPECT_EQ(Copied(p, 0, words + 3), u"Before inside wor");
}

TEST(InlineBlockText, FindReachesIntoBoxesInReadingOrder)
{
    Page p(Boxed);
    const std::u16string needle = u"needle";
    // Forward: the word after the first box, then the one in the second box.
    const int first = p.doc.FindText(0, needle, true);
    ASSERT_GE(first, 0);
    EXPECT_EQ(Copied(p, first - 6, first + 6), u"after needle");
    const int second = p.doc.FindText(first + 1, needle, true);
    ASSERT_GE(second, 0);
    EXPECT_EQ(Copied(p, second - 6, second + 6), u"boxed needle");
    EXPECT_EQ(p.doc.FindText(second + 1, needle, true), -1);
    // Backward from the end: the boxed one first, then the earlier one.
    EXPECT_EQ(p.doc.FindTextBack(0x7FFFFFF, needle, true), second);
    EXPECT_EQ(p.doc.FindTextBack(second, needle, true), first);
    // A word only in a box is found from before it.
    const int inside = p.doc.FindText(0, u"second", true);
    ASSERT_GE(inside, 0);
    EXPECT_EQ(Copied(p, inside, inside + 6), u"second");
}

TEST(InlineBlockText, FoundTextInABoxIsMarkedAndHasAPlace)
{
    Page p(Boxed);
    const int found = p.doc.FindText(0, u"boxed", true);
    ASSERT_GE(found, 0);
    p.doc.SelB = found;
    p.doc.SelE = found + 5;
    EXPECT_TRUE(PaintedSelected(p, u"boxed"));
    EXPECT_FALSE(PaintedSelected(p, u"More"));
    // The viewer scrolls to the line the box stands in.
    int x = 0, y = 0, lineX = 0, lineY = 0;
    ASSERT_TRUE(p.doc.CaretXY(p.canvas, found, x, y));
    ASSERT_TRUE(p.doc.CaretXY(p.canvas, p.doc.FindText(0, u"More", true), lineX, lineY));
    EXPECT_EQ(y, lineY);
    EXPECT_GT(x, lineX);
}

TEST(InlineBlockText, ItsTextIsVisitedAfterItsSectionsOwn)
{
    // The search marks of an opened hit are found by visiting the text.
    Page p(Boxed);
    std::vector<std::pair<int, std::u16string>> pieces;
    p.doc.VisitText([&](int position, std::u16string_view text) { pieces.emplace_back(position, text); });
    int boxed = -1;
    for (const auto& [position, text] : pieces)
        if (text == u"boxed needle")
            boxed = position;
    EXPECT_EQ(boxed, p.doc.FindText(0, u"boxed", true));
    for (size_t i = 1; i < pieces.size(); ++i)
        EXPECT_GT(pieces[i].first, pieces[i - 1].first);
}
