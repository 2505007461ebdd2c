// Sheets written for newer browsers: what this reader cannot match or read
// must leave the page as if the rule or declaration were absent, never apply
// it to other elements.
#include "StyleTestSupport.h"

namespace {

class ModernSheetTest : public StyleTest {
protected:
    static constexpr int Red = int(RGBColor(255, 0, 0) | ClPaletteFlag);
    static constexpr int Green = int(RGBColor(0, 255, 0) | ClPaletteFlag);
    static constexpr int Blue = int(RGBColor(0, 0, 255) | ClPaletteFlag);
};

TEST_F(ModernSheetTest, EveryClassOfAClassListMatches)
{
    sheet(".note { color: #ff0000 } .big { font-size: 20pt } div.wide { margin-left: 9px }"
          " .other { font-weight: bold } .box p { color: #0000ff }");
    TProperties& div = push("div", "note  big\twide");
    EXPECT_EQ(IntOf(div[piColor]), Red);
    EXPECT_DOUBLE_EQ(RealOf(div[piFontSize]), 20);
    EXPECT_EQ(TextOf(div[piMarginLeft]), "9px");
    EXPECT_FALSE(div.isSetHere(piFontWeight));
    // A class name is a whole word of the list, not a part of one.
    TProperties& inner = push("div", "notebook");
    EXPECT_FALSE(inner.isSetHere(piColor));
    // Descendant rules see each class of an ancestor too.
    push("div", "plain box");
    EXPECT_EQ(IntOf(push("p")[piColor]), Blue);
}

TEST_F(ModernSheetTest, SelectorsWeCannotMatchAreDroppedWhole)
{
    sheet("body:has(div) > div.box { background-color: #ffff00; margin-left: 40px }"
          " p::first-line, p:has(a), div:not(:not(.x)), a:focus, [href { color: #ff0000 }"
          " td, th:focus, .cell { color: #00ff00 }"
          " a:hover, .menu a:visited { font-weight: bold }");
    EXPECT_EQ(styles.find("body"), nullptr);
    EXPECT_EQ(styles.find("div.box"), nullptr);
    EXPECT_EQ(styles.find("li"), nullptr);
    EXPECT_TRUE(IsEmpty(styles.find("h1")->value(piColor)));
    EXPECT_TRUE(IsEmpty(styles.find("p")->value(piColor)));
    EXPECT_FALSE(push("p").isSetHere(piColor));
    EXPECT_FALSE(push("li").isSetHere(piColor));
    EXPECT_FALSE(push("div", "x").isSetHere(piColor));
    // The readable selectors of a group keep the declarations.
    ASSERT_NE(styles.find("td"), nullptr);
    ASSERT_NE(styles.find(".cell"), nullptr);
    EXPECT_EQ(styles.find("th:focus"), nullptr);
    EXPECT_NE(styles.find("a:hover"), nullptr);
    EXPECT_TRUE(styles.hoverUsed());
}

TEST_F(ModernSheetTest, SimpleSelectorPartsAreReadInAnyOrder)
{
    sheet("p#intro.lead { color: #ff0000 } div.a.b { color: #0000ff }");
    EXPECT_NE(styles.find("p.lead#intro"), nullptr);
    EXPECT_EQ(IntOf(push("p", "lead", "intro")[piColor]), Red);
    // Two classes at once: both must be there.
    EXPECT_EQ(IntOf(push("div", "a b")[piColor]), Blue);
    EXPECT_FALSE(push("div", "a").isSetHere(piColor));
}

TEST_F(ModernSheetTest, LoadedSheetsArePlainCss)
{
    ParseStyleSheetText(styles, "/* Theme by A. Writer <writer@example.org> */\n"
                                "p { color: #ff0000 }\n"
                                "em { font-weight: bold } /* unclosed < comment */ h2 { color: #0000ff }\n");
    EXPECT_EQ(IntOf(push("p")[piColor]), Red);
    EXPECT_EQ(TextOf(push("em")[piFontWeight]), "bold");
    EXPECT_EQ(IntOf(push("h2")[piColor]), Blue);
}

TEST_F(ModernSheetTest, MediaListsAndMediaBlocks)
{
    auto onScreen = [](std::string_view list) { return EvaluateMediaList(list, TMediaContext{}).applies; };
    EXPECT_TRUE(onScreen(""));
    EXPECT_TRUE(onScreen("screen"));
    EXPECT_TRUE(onScreen(" Print, Screen "));
    EXPECT_TRUE(onScreen("all"));
    EXPECT_TRUE(onScreen("only screen"));
    EXPECT_FALSE(onScreen("print"));
    EXPECT_FALSE(onScreen("handheld, print"));
    EXPECT_FALSE(onScreen("screen and (max-width: 600px)"));

    ParseStyleSheetText(styles, "@media print { p { color: #ff0000 } .nav { display: none } }\n"
                                "@media screen { em { color: #00ff00 } }\n"
                                "@media (max-width: 40em) { h1 { font-size: 8pt } }\n"
                                "@import url(other.css);\n"
                                "h2 { color: #0000ff }\n");
    EXPECT_EQ(styles.find(".nav"), nullptr);
    EXPECT_FALSE(push("p").isSetHere(piColor));
    EXPECT_EQ(IntOf(push("em")[piColor]), Green);
    EXPECT_DOUBLE_EQ(RealOf(push("h1")[piFontSize]), 24);
    EXPECT_EQ(IntOf(push("h2")[piColor]), Blue);
}

TEST_F(ModernSheetTest, DeclarationsWithUnreadableValuesAreIgnored)
{
    sheet("h1 { width: min(10px, 5%); margin-top: calc(1em + 2px); padding-top: calc(2 * 3px) }"
          " h1 { font-size: bogus; color: hsl(0, 0%, 0%); margin-right: calc(1em * 2em); padding-right: calc(1px / 0) }"
          " h1 { margin-left: wide; padding-left: 1.5rem; line-height: normal; color: calc(1px) }");
    TProperties& h1 = push("h1");
    EXPECT_DOUBLE_EQ(RealOf(h1[piFontSize]), 24);
    EXPECT_EQ(IntOf(h1[piWidth]), NotSet);
    EXPECT_EQ(IntOf(h1[piColor]), 0);
    EXPECT_EQ(IntOf(h1[piMarginLeft]), NotSet);
    EXPECT_EQ(IntOf(h1[piMarginRight]), NotSet);
    EXPECT_EQ(IntOf(h1[piPaddingRight]), NotSet);
    EXPECT_EQ(TextOf(h1[piPaddingLeft]), "1.5rem");
    // calc() where the property takes a length, resolved with the lengths.
    TBoxValues box = h1.boxValues(400, 300, 20, 10);
    EXPECT_EQ(box[piMarginTop], 22);
    EXPECT_EQ(box[piPaddingTop], 6);
}

TEST_F(ModernSheetTest, UnresolvedVariablesUnsetTheProperty)
{
    sheet("body { color: #ff0000; margin-left: 9px } h1 { font-size: var(--title-size); color: var(--fg) }"
          " h1 { margin-left: var(--gap, 3px); background-color: var(--bg) }");
    push("body");
    TProperties& h1 = push("h1");
    EXPECT_DOUBLE_EQ(RealOf(h1[piFontSize]), 12); // inherited: the default sheet's 24pt is not used
    EXPECT_EQ(IntOf(h1[piColor]), Red);
    EXPECT_EQ(TextOf(h1[piMarginLeft]), "3px");
    EXPECT_TRUE(IsEmpty(h1[piBackgroundColor]));

    TProperties& span = push("span", "", "", "font-size: var(--x); color: #00ff00; margin-top: calc(2px)");
    EXPECT_DOUBLE_EQ(RealOf(span[piFontSize]), 12);
    EXPECT_EQ(IntOf(span[piColor]), Green);
    EXPECT_EQ(span.boxValues(0, 0, 16, 8)[piMarginTop], 2);
}

TEST_F(ModernSheetTest, RemIsTheDocumentsFontSize)
{
    sheet("h2 { font-size: 2rem }");
    push("div", "", "", "font-size: 30pt");
    EXPECT_DOUBLE_EQ(RealOf(push("h2")[piFontSize]), 24);
}

TEST_F(ModernSheetTest, ImportantDeclarationsWin)
{
    sheet("p { color: #ff0000 !important; margin-left: 3px ! important } p { color: #0000ff; margin-left: 5px }"
          " p.x { color: #00ff00 } .y { font-weight: bold !IMPORTANT } p.y { font-weight: normal }");
    EXPECT_EQ(IntOf(push("p", "x")[piColor]), Red);
    TProperties& p = push("p", "y", "", "color: #0000ff; font-weight: lighter");
    EXPECT_EQ(IntOf(p[piColor]), Red);
    EXPECT_EQ(TextOf(p[piMarginLeft]), "3px");
    EXPECT_EQ(TextOf(p[piFontWeight]), "bold");
    // An important STYLE attribute beats an important rule.
    EXPECT_EQ(IntOf(push("p", "", "", "color: #00ff00 !important")[piColor]), Green);
    // An HTML attribute never replaces what a rule set.
    p.assign(piColor, Blue);
    EXPECT_EQ(IntOf(p[piColor]), Red);
}

TEST_F(ModernSheetTest, InheritTakesTheParentsValue)
{
    sheet("div { font-family: Courier New; border-style: solid } p, code { font-family: inherit }"
          " p { border-style: inherit } code { font-size: inherit }");
    push("div");
    TProperties& p = push("p");
    EXPECT_EQ(TextOf(p[piFontFamily]), "courier new");
    EXPECT_EQ(p.font().name, sets[sets.size() - 2]->font().name);
    EXPECT_EQ(TextOf(p[piBorderStyle]), "solid"); // also when not inherited by default
    TProperties& code = push("code");
    EXPECT_EQ(TextOf(code[piFontFamily]), "courier new");
    EXPECT_DOUBLE_EQ(RealOf(code[piFontSize]), 12);
}

} // namespace
