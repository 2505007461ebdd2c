// Markup of newer HTML read as plain, readable HTML 4 text.
#include "BuilderTestSupport.h"

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

} // namespace
