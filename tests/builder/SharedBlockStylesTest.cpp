// Elements with equal styles make blocks that share one style; what differs
// per element (ID, title, a table's place in a caption) stays per block.
#include "BuilderTestSupport.h"
#include "html/layout/TBlockLI.h"

using namespace buildtest;

TEST(SharedBlockStyles, ListItemsShareTheirStyleButKeepTheirIdsAndTitles)
{
    Built b("<ul><li>one<li id=second>two<li title=\"tip\">three<li>four</ul>");
    std::vector<TBlockLI*> items = All<TBlockLI>(b.doc);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(&items[0]->Style(), &items[1]->Style());
    EXPECT_EQ(&items[0]->Style(), &items[3]->Style());
    EXPECT_NE(&items[0]->Style(), &items[2]->Style());
    EXPECT_EQ(b.doc.FindID("second"), items[1]);
    EXPECT_EQ(items[2]->Style().title, "tip");
    EXPECT_EQ(items[3]->Style().title, "");

    TLinkHit hit;
    TPaintContext pc{b.canvas, {0, 0, 800, 600}};
    b.doc.PaintDocument(pc, 0);
    b.doc.LinkAt(b.canvas, items[2]->ContentLeft + 2, items[2]->YValue + 2, hit);
    EXPECT_EQ(hit.title, "tip");
    TLinkHit below;
    b.doc.LinkAt(b.canvas, items[3]->ContentLeft + 2, items[3]->YValue + 2, below);
    EXPECT_EQ(below.title, "");
}

TEST(SharedBlockStyles, ATableInACaptionStopsFloatingWhileItsTwinFloats)
{
    Built b("<table align=left><caption>c</caption><tr><td>a</td></tr></table>"
            "<table align=left><tr><td>b</td></tr></table>");
    std::vector<TTableBlock*> tables = All<TTableBlock>(b.doc);
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_TRUE(tables[0]->InsideCaption());
    EXPECT_FALSE(tables[0]->Floats());
    EXPECT_TRUE(tables[1]->Floats());
    EXPECT_TRUE(All<TTableAndCaptionBlock>(b.doc).front()->Floats());
}

TEST(SharedBlockStyles, AnEmptyBlockIsHiddenAndItsEqualSiblingIsNot)
{
    Built b("<div></div><div>text</div>");
    std::vector<TBlock*> divs;
    for (TBlock* block : All<TBlock>(b.doc))
        if (block->Style().tag == "div")
            divs.push_back(block);
    ASSERT_EQ(divs.size(), 2u);
    EXPECT_TRUE(divs[0]->Hidden());
    EXPECT_FALSE(divs[1]->Hidden());
    EXPECT_NE(b.Text().find("text"), std::string::npos);
}
