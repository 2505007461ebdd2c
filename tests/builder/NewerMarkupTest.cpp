// Markup of newer HTML read as plain, readable HTML 4 text.
#include "BuilderTestSupport.h"
#include "html/layout/TBlockLI.h"

using namespace buildtest;

namespace {

TEST(NewerMarkup, SectioningElementsAreBlocksWithTheirOwnRules)
{
    Built b("<style>nav { display: none } article p { color: #ff0000 } div { margin-left: 99px }</style>"
            "<header>Title</header><nav>Skip this</nav><main><article><p>First.</p></article>"
            "<section>Second</section><aside>Third</aside><figure>Fig<figcaption>Cap</figcaption></figure>"
            "<details><summary>More</summary>Hidden</details></main><footer>End</footer>");
    EXPECT_EQ(b.Text().find("Skip this"), std::string::npos);
    for (const char* words : {"Title", "First.", "Second", "Third", "Fig", "Cap", "More", "Hidden", "End"}) {
        SCOPED_TRACE(words);
        TSection* s = SectionWith(b.doc, words);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(TextOf(*s), words); // a block of its own, not run into its neighbours
    }
    for (const char* tag : {"header", "main", "article", "section", "aside", "figure", "figcaption", "details",
                            "summary", "footer"})
        EXPECT_EQ(BlocksTagged(b.doc, tag).size(), 1u) << tag;
    EXPECT_TRUE(BlocksTagged(b.doc, "div").empty());
    EXPECT_EQ(SectionWith(b.doc, "First.")->Fonts()[0].Font().color & 0xFFFFFF, 0x0000FFu);
    // A summary's text is not bold of itself (generators wrap whole
    // descriptions in one).
    EXPECT_EQ(SectionWith(b.doc, "More")->Fonts()[0].Font().spec.style & fsBold, 0);
    // Figures are indented like quotations; DIV rules stay with DIV.
    EXPECT_EQ(SectionWith(b.doc, "Fig")->ContentLeft, 50);
    EXPECT_EQ(SectionWith(b.doc, "Second")->ContentLeft, 10);
}

TEST(NewerMarkup, InlineDrawingsLeaveNoLabelsBehind)
{
    Built b("<p>Before <svg width=10 height=10><text>label</text><svg><text>inner</text></svg>"
            "<!-- </svg> --></svg> after &apos;quoted&apos;</p><p>Next</p>");
    std::string text = b.Text();
    EXPECT_EQ(text.find("label"), std::string::npos);
    EXPECT_NE(text.find("Before"), std::string::npos);
    EXPECT_NE(text.find("'quoted'"), std::string::npos);
    EXPECT_NE(text.find("Next"), std::string::npos);
    // An unclosed drawing ends with the document.
    Built open("<p>Text<svg><text>label");
    EXPECT_EQ(open.Text().find("label"), std::string::npos);
    EXPECT_NE(open.Text().find("Text"), std::string::npos);
}

TEST(NewerMarkup, RunInParagraphsJoinTheLine)
{
    Built b("<style>p.title { display: inline; font-weight: bold } p.title + p { display: inline }</style>"
            "<div><p class=title>See also</p> <p>the other page.</p></div><p>Next</p>"
            "<p style='display: inline-block'>Boxed</p>");
    TSection* line = SectionWith(b.doc, "See also");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(TextOf(*line), "See also the other page.");
    EXPECT_TRUE(line->Fonts()[0].Font().spec.style & fsBold);
    EXPECT_FALSE(line->Fonts()[line->Fonts().Count() - 1].Font().spec.style & fsBold);
    // Neither made a paragraph block; what follows is one of its own.
    EXPECT_EQ(BlocksTagged(b.doc, "p").size(), 2u);
    EXPECT_EQ(TextOf(*SectionWith(b.doc, "Next")), "Next");
}

TEST(NewerMarkup, InlineListItemsFlowOnOneLineWithoutMarkers)
{
    Built b("<style>ul.nav li { display: inline } ol li { display: inline-block } a.tab { display: inline-block }"
            "</style><ul class=nav><li><a href=a.htm>Home</a></li>\n<li><a href=b.htm>About</a>\n<li>Help</ul>"
            "<ol><li>One</li> <li>Two</li></ol><ul><li>Block</li></ul>"
            "<p>See <a class=tab href=c.htm>this</a> tab</p>");
    TSection* bar = SectionWith(b.doc, "Home");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(TextOf(*bar), "Home About Help");
    // Items shown as inline-block are boxes standing in their list's line.
    TBlock* ordered = nullptr;
    for (TBlock* block : All<TBlock>(b.doc))
        if (block->Style().tag == "ol")
            ordered = block;
    ASSERT_NE(ordered, nullptr);
    ASSERT_EQ(All<TSection>(ordered->Content()).size(), 1u);
    EXPECT_EQ(TextOf(*All<TSection>(ordered->Content())[0]), "\x04\x04");
    // An inline-block link stands in the line as one box (a placeholder).
    EXPECT_EQ(TextOf(*SectionWith(b.doc, "See")), "See \x04 tab");
    // Only the item left as a block keeps its list item and marker.
    auto items = All<TBlockLI>(b.doc);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_NE(SectionWith(items[0]->Content(), "Block"), nullptr);
    // A long bar wraps as text does.
    std::string many = "<style>li { display: inline }</style><ul>";
    for (int i = 0; i < 40; ++i)
        many += "<li>Item" + std::to_string(i) + "</li> ";
    Built wrapped(many + "</ul>", 200);
    TSection* s = SectionWith(wrapped.doc, "Item0");
    ASSERT_NE(s, nullptr);
    EXPECT_NE(TextOf(*s).find("Item39"), std::string::npos);
    EXPECT_GT(s->SectionHeight, 3 * 16);
}

} // namespace
