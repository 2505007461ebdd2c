// Rules nested in a rule's declarations, as today's sheets write them: they
// style what the outer and inner selectors select together, never the outer
// element itself, and sheets without them read as they always did.
#include "StyleTestSupport.h"

namespace {

constexpr int Red = int(RGBColor(255, 0, 0) | ClPaletteFlag);
constexpr int Green = int(RGBColor(0, 255, 0) | ClPaletteFlag);

class NestedRulesTest : public StyleTest {
protected:
    void pop() { sets.pop_back(); }
    void layOutAt(int width)
    {
        TStyleDefaults defaults;
        defaults.viewportWidth = width;
        styles.initializeDefaults(defaults);
    }
};

TEST_F(NestedRulesTest, NestedDeclarationsGoToTheInnerElementsOnly)
{
    sheet(":not(.dark-mode) { pre code.hljs { padding-left: 16px } code.hljs { color: #ff0000 } }\n"
          "p { margin-left: 3px }");
    push("html");
    TProperties& body = push("body");
    EXPECT_FALSE(body.isSetHere(piPaddingLeft));
    EXPECT_FALSE(body.isSetHere(piColor));
    push("pre");
    TProperties& code = push("code", "hljs");
    EXPECT_EQ(TextOf(code[piPaddingLeft]), "16px");
    EXPECT_EQ(IntOf(code[piColor]), Red);
    pop();
    pop();
    EXPECT_EQ(TextOf(push("p")[piMarginLeft]), "3px"); // the rule after the nesting is read
}

TEST_F(NestedRulesTest, AmpersandCombinatorsAndPseudoClasses)
{
    sheet("ul { color: #00ff00; & > li { color: #ff0000 } &.menu { margin-left: 3px } a { font-weight: bold }"
          " a:hover { margin-right: 1px } }");
    TProperties& ul = push("ul", "menu");
    EXPECT_EQ(IntOf(ul[piColor]), Green);
    EXPECT_EQ(TextOf(ul[piMarginLeft]), "3px");
    EXPECT_FALSE(ul.isSetHere(piFontWeight));
    TProperties& li = push("li");
    EXPECT_EQ(IntOf(li[piColor]), Red);
    push("p");
    EXPECT_FALSE(push("li").isSetHere(piMarginLeft)); // not a child of the list
    pop();
    EXPECT_EQ(TextOf(push("a")[piFontWeight]), "bold");
}

TEST_F(NestedRulesTest, MediaBlocksInsideARuleApplyAtTheirWidths)
{
    const char* css = "nav { color: #ff0000; @media (max-width: 600px) { color: #00ff00 }"
                      " @supports (display: grid) { margin-left: 9px } margin-right: 2px }";
    layOutAt(1024);
    sheet(css);
    TProperties& wide = push("nav");
    EXPECT_EQ(IntOf(wide[piColor]), Red);
    EXPECT_FALSE(wide.isSetHere(piMarginLeft));
    EXPECT_EQ(TextOf(wide[piMarginRight]), "2px");
    pop();
    layOutAt(500);
    sheet(css);
    EXPECT_EQ(IntOf(push("nav")[piColor]), Green);
}

TEST_F(NestedRulesTest, DeclarationListsWithoutNestingReadAsBefore)
{
    // Old hacks and slips: a stray character before a name, a missing colon.
    sheet("p { *margin-left: 2px; color red; margin-right: 4px; _margin-top: 1px }");
    TProperties& p = push("p");
    EXPECT_EQ(TextOf(p[piMarginLeft]), "2px");
    EXPECT_FALSE(p.isSetHere(piColor));
    EXPECT_EQ(TextOf(p[piMarginRight]), "4px");
    EXPECT_EQ(TextOf(p[piMarginTop]), "1px");
    pop();
    // A quoted value cut at its ";" leaves an open quote behind, which must
    // not swallow the declarations and rules after it.
    sheet("a { background-image: url('data:image/svg+xml; utf8, <svg a=\"1\"/>'); margin-left: 5px }"
          " q { color: #00ff00 }");
    EXPECT_EQ(TextOf(push("a")[piMarginLeft]), "5px");
    EXPECT_EQ(IntOf(push("q")[piColor]), Green);
}

TEST_F(NestedRulesTest, DeepAndWideNestingEndsQuickly)
{
    std::string css;
    for (int i = 0; i < 200; ++i)
        css += "div, p, span, em, b, i, u, s {";
    css += "color: #ff0000";
    css += std::string(200, '}');
    css += " q { color: #00ff00 }";
    sheet(css);
    EXPECT_EQ(IntOf(push("q")[piColor]), Green);
}

} // namespace
