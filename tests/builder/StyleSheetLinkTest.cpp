// Which style sheets a page's LINK and STYLE elements bring in, and how.
#include <gmock/gmock.h>

#include "BuilderTestSupport.h"

using namespace buildtest;

namespace {

constexpr uint32_t RedText = 0x0000FF;
constexpr uint32_t GreenText = 0x00FF00;

uint32_t TextColorOf(Built& b, const std::string& words)
{
    TSection* s = SectionWith(b.doc, words);
    if (!s)
        return 0xDEADBEEF;
    std::u16string text(s->Text());
    int pos = int(text.find(std::u16string(words.begin(), words.end())));
    return s->Fonts().GetFontObjAt(pos)->Font().color & 0xFFFFFF;
}

TEST(StyleSheetLinks, SheetsForOtherMediaAreLeftOut)
{
    std::vector<std::string> asked;
    THtmlParseEvents ev;
    ev.OnGetStream = [&](const std::string& src, std::unique_ptr<std::string>& stream) {
        asked.push_back(src);
        stream = std::make_unique<std::string>(src == "print.css" ? "p { color: #ff0000 }" : "em { color: #00ff00 }");
    };
    Built b("<link rel=stylesheet href=print.css media=print>"
            "<link rel=stylesheet href=screen.css media=\"screen, print\">"
            "<style media=print>p { color: #ff0000 } .x { color: #ff0000 }</style>"
            "<style media=all>b { color: #ff0000 }</style>"
            "<p>plain <em>green</em> <span class=x>span</span> <b>red</b>",
            800, ev);
    EXPECT_THAT(asked, ::testing::ElementsAre("screen.css"));
    EXPECT_EQ(TextColorOf(b, "plain"), 0u);
    EXPECT_EQ(TextColorOf(b, "span"), 0u);
    EXPECT_EQ(TextColorOf(b, "green"), GreenText);
    EXPECT_EQ(TextColorOf(b, "red"), RedText);
}

TEST(StyleSheetLinks, DisabledSheetsAreLeftOut)
{
    // Theme choosers link every theme and leave all but one disabled.
    std::vector<std::string> asked;
    THtmlParseEvents ev;
    ev.OnGetStream = [&](const std::string& src, std::unique_ptr<std::string>& stream) {
        asked.push_back(src);
        stream = std::make_unique<std::string>(src == "dark.css" ? "p { color: #ff0000 }" : "em { color: #00ff00 }");
    };
    Built b("<link rel=stylesheet href=main.css><link rel=stylesheet href=dark.css disabled>"
            "<p>plain <em>green</em>",
            800, ev);
    EXPECT_THAT(asked, ::testing::ElementsAre("main.css"));
    EXPECT_EQ(TextColorOf(b, "plain"), 0u);
    EXPECT_EQ(TextColorOf(b, "green"), GreenText);
}

TEST(StyleSheetLinks, LocalSheetNamesLoseTheirQueryAndFragment)
{
    std::vector<std::string> files;
    THtmlParseEvents ev;
    ev.HtmlToFileName = [&](const std::string& name) {
        files.push_back(name);
        return std::string(QUILLON_SOURCE_DIR) + "/tests/builder/no-such-folder/" + name;
    };
    Built b("<link rel=stylesheet href=\"_static/theme.css?2022.1\">"
            "<link rel=stylesheet href=\"other.css#top\"><p>text",
            800, ev);
    EXPECT_THAT(files, ::testing::ElementsAre("_static/theme.css", "other.css"));
}

TEST(StyleSheetLinks, StyleElementWithAClassListAndAChildCombinator)
{
    Built b("<style>body > div.box { background-color: yellow; margin-left: 200px } .note { color: #ff0000 }</style>"
            "<body><div class=\"box\"><p>boxed</p></div><p class=\"note big\">noted</p>");
    EXPECT_EQ(TextColorOf(b, "noted"), RedText);
    TSection* boxed = SectionWith(b.doc, "boxed");
    ASSERT_NE(boxed, nullptr);
    EXPECT_GE(boxed->ContentLeft, 200); // the div is a child of the body
    EXPECT_EQ(b.doc.Background & 0xFFFFFF, 0xFFFFFFu);
}

// Anchors that only name a place (<a id=...></a>, as generated API pages put
// one in every heading) end at their end tag like links do: what follows is
// no descendant of them.
TEST(StyleSheetLinks, AnchorsWithoutHrefEndAtTheirEndTag)
{
    Built b("<style>a b { color: #ff0000 }</style>"
            "<p><a name=top></a><b>bold</b> <a id=x>named</a> <b>after</b></p>"
            "<pre><a id=y></a><b>preformatted</b></pre>");
    EXPECT_EQ(TextColorOf(b, "bold"), 0u);
    EXPECT_EQ(TextColorOf(b, "after"), 0u);
    EXPECT_EQ(TextColorOf(b, "preformatted"), 0u);
}

} // namespace
