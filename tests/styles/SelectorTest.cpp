// Selectors of today's sheets: combinators, "*", attribute tests and the
// structural pseudo-classes, matched through the property stack as the
// builder pushes elements; the order rules apply in (specificity, then
// the order written); and siblings these selectors tell apart never share
// a combined set.
#include "StyleTestSupport.h"
#include "html/parse/TAttributeList.h"
#include "html/style/TPropStack.h"
#include "html/style/TSelector.h"

namespace {

constexpr int Red = int(RGBColor(255, 0, 0) | ClPaletteFlag);
constexpr int Green = int(RGBColor(0, 255, 0) | ClPaletteFlag);
constexpr int Blue = int(RGBColor(0, 0, 255) | ClPaletteFlag);

class SelectorTest : public StyleTest {
protected:
    void SetUp() override
    {
        StyleTest::SetUp();
        stack.Reset(*styles.defaultProperties());
    }
    // Opens an element; attributes as name=value pairs.
    TProperties& open(const std::string& tag, const std::string& cls = "",
                      const std::vector<std::pair<std::string, std::string>>& attributes = {},
                      const std::string& id = "")
    {
        TAttributeList list;
        for (const auto& [name, value] : attributes)
            list.Add(TAttribute(UnknownAttrSym, 0, name, value));
        return *stack.Push(styles, tag, cls, id, nullptr, u"", "", &list);
    }
    void close(const std::string& tag) { stack.Pop(styles, tag); }
    // Opens and closes an element; answers its colour.
    int colorOf(const std::string& tag, const std::string& cls = "",
                const std::vector<std::pair<std::string, std::string>>& attributes = {})
    {
        int color = IntOf(open(tag, cls, attributes)[piColor]);
        close(tag);
        return color;
    }
    TPropStack stack;
};

TEST(SelectorParse, SpecificityCountsIdsClassesAndTags)
{
    auto spec = [](std::string_view text) { return TSelector::parse(text)->specificity(); };
    EXPECT_EQ(spec("*"), 0u);
    EXPECT_EQ(spec("div > p"), 2u);
    EXPECT_EQ(spec("a[href^=http]"), (1u << 10) + 1);
    EXPECT_EQ(spec("li:first-child + li"), (1u << 10) + 2);
    EXPECT_EQ(spec("#nav .item:not(.x)"), (1u << 20) + (2u << 10));
    EXPECT_EQ(SpecificityOfKey("p.note#top:link"), (1u << 20) + (2u << 10) + 1);
    EXPECT_EQ(SpecificityOfKey("p 110div.x "), (1u << 10) + 2);
}

TEST(SelectorParse, WhatCannotBeMatchedIsRefused)
{
    for (std::string_view text : {"p::first-line", "p:has(a)", ":not(:not(p))", "a[href", "> p", "p +",
                                  "li:nth-child(99999999999n+1)", "li:nth-child(2x)", "li:nth-last-child(n+)",
                                  "a:focus", "p#a#b"})
        EXPECT_FALSE(TSelector::parse(text)) << text;
    for (std::string_view text : {"body>div.chapter", "a[href^=\"http\"]", "h1 ~ p", "li:nth-child(-n + 3)",
                                  "tr:nth-of-type(even)", ":root", "*.x", "[class^=highlight]", "p:not(.x)"}) {
        EXPECT_TRUE(TSelector::parse(text)) << text;
        EXPECT_FALSE(TSelector::parse(text)->needsLaterSiblings()) << text;
    }
    // These read what follows the element: the builder learns it as it reads.
    for (std::string_view text : {"li:last-child", "p:empty", "td:only-child", "li:nth-last-child(2n+1)",
                                  "p:last-of-type", "dd:only-of-type", "tr:nth-last-of-type(odd)",
                                  "li:not(:last-child)", "ul:last-child > li"}) {
        ASSERT_TRUE(TSelector::parse(text)) << text;
        EXPECT_TRUE(TSelector::parse(text)->needsLaterSiblings()) << text;
        EXPECT_TRUE(TSelector::parse(text)->needsFacts()) << text;
    }
}

TEST_F(SelectorTest, ChildCombinatorNeedsTheParent)
{
    sheet("body > div.chapter { color: #ff0000 } div.verseblock > pre.content { color: #00ff00 }"
          " .fancy_toc > a { color: #0000ff }");
    open("body");
    EXPECT_EQ(colorOf("div", "chapter"), Red);
    open("div", "outer");
    EXPECT_NE(colorOf("div", "chapter"), Red); // a grandchild of the body
    open("div", "verseblock");
    EXPECT_EQ(colorOf("pre", "content"), Green);
    open("p");
    EXPECT_NE(colorOf("pre", "content"), Green);
    close("p");
    open("span", "fancy_toc");
    EXPECT_EQ(colorOf("a"), Blue);
}

TEST_F(SelectorTest, AttributeTests)
{
    sheet("a[href^=\"http\"] { color: #ff0000 } a[href$=\".pdf\"] { color: #00ff00 }"
          " [class^=highlight] { font-weight: bold } [lang|=en] { font-style: italic }"
          " a[rel~=next] { color: #0000ff } [data-x*=mid] { text-align: center } [hidden] { display: none }");
    EXPECT_EQ(colorOf("a", "", {{"HREF", "HTTPS://example.org/"}}), Red);
    EXPECT_EQ(colorOf("a", "", {{"HREF", "doc/guide.pdf"}}), Green);
    EXPECT_EQ(colorOf("a", "", {{"HREF", "page.html"}, {"REL", "prev next"}}), Blue);
    EXPECT_NE(colorOf("a", "", {{"HREF", "page.html"}, {"REL", "nextpage"}}), Blue);
    EXPECT_EQ(TextOf(open("div", "highlight-cpp notranslate", {{"CLASS", "highlight-cpp notranslate"}})[piFontWeight]), "bold");
    close("div");
    EXPECT_EQ(TextOf(open("p", "", {{"LANG", "en-GB"}})[piFontStyle]), "italic");
    close("p");
    EXPECT_NE(TextOf(open("p", "", {{"LANG", "eng"}})[piFontStyle]), "italic");
    close("p");
    EXPECT_EQ(TextOf(open("p", "", {{"DATA-X", "amidst"}})[piTextAlign]), "center");
    close("p");
    EXPECT_TRUE(open("p", "", {{"HIDDEN", ""}}).displayNone());
}

TEST_F(SelectorTest, PlacesAmongSiblings)
{
    sheet("li:first-child { color: #ff0000 } li:nth-child(2n+3) { color: #00ff00 }"
          " h2 + p { font-weight: bold } h2 ~ p { font-style: italic }"
          " p:first-of-type { text-align: center } li:not(:first-child) { margin-left: 7px }");
    open("ul");
    EXPECT_EQ(colorOf("li"), Red);
    TProperties& second = open("li");
    EXPECT_NE(IntOf(second[piColor]), Red);
    EXPECT_EQ(TextOf(second[piMarginLeft]), "7px");
    close("li");
    EXPECT_EQ(colorOf("li"), Green);
    EXPECT_NE(colorOf("li"), Green);
    EXPECT_EQ(colorOf("li"), Green);
    close("ul");

    open("div");
    TProperties& first = open("p");
    EXPECT_EQ(TextOf(first[piTextAlign]), "center");
    EXPECT_NE(TextOf(first[piFontStyle]), "italic");
    close("p");
    open("h2");
    close("h2");
    TProperties& next = open("p");
    EXPECT_EQ(TextOf(next[piFontWeight]), "bold");
    EXPECT_EQ(TextOf(next[piFontStyle]), "italic");
    EXPECT_NE(TextOf(next[piTextAlign]), "center");
    close("p");
    TProperties& later = open("p");
    EXPECT_NE(TextOf(later[piFontWeight]), "bold");
    EXPECT_EQ(TextOf(later[piFontStyle]), "italic");
}

TEST_F(SelectorTest, SiblingsTheRulesTellApartDoNotShareASet)
{
    // The same tag and class under the same parent: only the place differs.
    sheet("tr:nth-child(odd) td { background-color: #ff0000 } tr + tr { color: #00ff00 }");
    open("table");
    std::vector<int> backgrounds, colors;
    for (int row = 0; row < 4; ++row) {
        TProperties& tr = open("tr", "r");
        colors.push_back(IntOf(tr[piColor]));
        backgrounds.push_back(IntOf(open("td")[piBackgroundColor]));
        close("td");
        close("tr");
    }
    EXPECT_EQ(backgrounds, (std::vector<int>{Red, IntOf(TPropValue()), Red, IntOf(TPropValue())}));
    EXPECT_NE(colors[0], Green);
    EXPECT_EQ(colors[1], Green);
    EXPECT_EQ(colors[3], Green);
}

TEST_F(SelectorTest, SpecificityDecidesBeforeOrder)
{
    // The later rule loses to the more specific one, whatever its kind.
    sheet("p.x { color: #ff0000 } div p { color: #00ff00 } div > p { font-weight: bold } p { font-weight: normal }"
          " #main p { text-align: center } div.c > p.x { text-align: right }");
    open("div", "c", {}, "main");
    TProperties& p = open("p", "x");
    EXPECT_EQ(IntOf(p[piColor]), Red);
    EXPECT_EQ(TextOf(p[piFontWeight]), "bold");
    EXPECT_EQ(TextOf(p[piTextAlign]), "center");
    // The document's rules win over the default sheet whatever their specificity.
    sheet("* { margin-top: 0 }");
    EXPECT_EQ(TextOf(open("h1")[piMarginTop]), "0");
}

TEST_F(SelectorTest, CraftedSelectorsEndQuickly)
{
    std::string deep = "p";
    for (int i = 0; i < 60; ++i)
        deep = "div " + deep;
    std::string siblings = "p";
    for (int i = 0; i < 60; ++i)
        siblings = "p ~ " + siblings;
    sheet(deep + " { color: #ff0000 } " + siblings + " { color: #00ff00 }");
    for (int i = 0; i < 200; ++i)
        open("div");
    for (int i = 0; i < 300; ++i)
        colorOf("p");
    EXPECT_EQ(colorOf("span"), 0);
}

} // namespace
