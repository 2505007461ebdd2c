// Values the cascade decides for each element: custom properties and var(),
// calc(), inherit / initial / unset, rem from the root element, the smaller
// monospace size, and opacity: 0 as hidden.
#include "StyleTestSupport.h"
#include "html/style/TPropStack.h"
#include "html/style/ValueFunctions.h"

namespace {

constexpr int Red = int(RGBColor(255, 0, 0) | ClPaletteFlag);
constexpr int Green = int(RGBColor(0, 255, 0) | ClPaletteFlag);

using ValueTest = StyleTest;

TEST(CalcValues, SumsProductsAndUnits)
{
    auto px = [](double v, std::string_view u) -> std::optional<double> {
        if (u == "px") return v;
        if (u == "em") return v * 10;
        if (u == "%") return v * 4;
        return std::nullopt;
    };
    EXPECT_DOUBLE_EQ(*EvaluateCalc("calc(100% - 2em)", px), 380);
    EXPECT_DOUBLE_EQ(*EvaluateCalc("calc((1px + 2px) * 3 / 2)", px), 4.5);
    EXPECT_DOUBLE_EQ(*EvaluateCalc("calc(2 * calc(1em - -1px))", px), 22);
    for (std::string_view bad : {"calc(1px + 2)", "calc(1px * 2px)", "calc(4px / 0)", "calc(1furlong)", "calc(1px",
                                 "calc()", "calc(1px) x", "calc(+)"})
        EXPECT_FALSE(EvaluateCalc(bad, px)) << bad;

    std::string many = "calc(0px";
    for (int i = 0; i < 10000; ++i)
        many += " + 1px";
    EXPECT_DOUBLE_EQ(*EvaluateCalc(many + ")", px), 10000);
    std::string nested = "calc(" + std::string(10000, '(') + "1px" + std::string(10000, ')') + ")";
    EXPECT_FALSE(EvaluateCalc(nested, px));
}

TEST(CustomProperties, ChainsLoopsAndFallbacks)
{
    TCustomProperties inherited{{"--fg", "#ff0000"}, {"--gap", "4px"}};
    TDeclarationList declared{{"--a", "var(--b)"}, {"--b", "var(--gap) var(--gap)"}, {"--loop1", "var(--loop2)"},
                              {"--loop2", "var(--loop1)"}, {"--gap", "2px"}, {"--fb", "var(--none, var(--fg))"}};
    TCustomProperties props = ResolveCustomProperties(&inherited, declared);
    EXPECT_EQ(props["--a"], "2px 2px");
    EXPECT_EQ(props["--fb"], "#ff0000");
    EXPECT_FALSE(props.contains("--loop1"));
    EXPECT_FALSE(SubstituteVariables("var(--none)", props));
    EXPECT_EQ(*SubstituteVariables("1px solid var(--fg)", props), "1px solid #ff0000");

    TDeclarationList chain;
    for (int i = 0; i < 10000; ++i)
        chain.emplace_back("--v" + std::to_string(i), "var(--v" + std::to_string(i + 1) + ")");
    chain.emplace_back("--v10000", "1px");
    TCustomProperties deep = ResolveCustomProperties(nullptr, chain);
    EXPECT_FALSE(deep.contains("--v0"));
    EXPECT_EQ(deep["--v9999"], "1px");
    // References that double at every step stop growing.
    TDeclarationList doubling{{"--d0", "x"}};
    for (int i = 1; i < 30; ++i)
        doubling.emplace_back("--d" + std::to_string(i), "var(--d" + std::to_string(i - 1) + ") var(--d" +
                                                             std::to_string(i - 1) + ")");
    EXPECT_FALSE(ResolveCustomProperties(nullptr, doubling).contains("--d29"));
}

TEST_F(ValueTest, VariablesAreInheritedAndResolvedPerElement)
{
    sheet(":root, body { --text: #ff0000; --space: 5px 7px } .inner { --text: #00ff00 }"
          " p { color: var(--text); margin: var(--space); border: 1px solid var(--text) }");
    push("body");
    TProperties& p = push("p");
    EXPECT_EQ(IntOf(p[piColor]), Red);
    EXPECT_EQ(TextOf(p[piMarginTop]), "5px");
    EXPECT_EQ(TextOf(p[piMarginRight]), "7px");
    EXPECT_EQ(IntOf(p[piBorderTopColor]), Red);
    EXPECT_EQ(TextOf(p[piBorderLeftWidth]), "1px");
    push("div", "inner");
    EXPECT_EQ(IntOf(push("p")[piColor]), Green);
    // A STYLE attribute declares them too.
    push("div", "", "", "--text: #ff0000");
    EXPECT_EQ(IntOf(push("p")[piColor]), Red);
}

TEST_F(ValueTest, InheritInitialAndUnset)
{
    sheet("div { color: #ff0000; margin-left: 9px; font-size: 20pt } p { color: initial; margin-left: inherit }"
          " span { font-size: unset; margin-left: unset } a { color: inherit }");
    push("div");
    TProperties& p = push("p");
    EXPECT_EQ(IntOf(p[piColor]), 0);
    EXPECT_EQ(TextOf(p[piMarginLeft]), "9px");
    sets.pop_back();
    TProperties& span = push("span");
    EXPECT_DOUBLE_EQ(RealOf(span[piFontSize]), 20);
    EXPECT_EQ(IntOf(span[piMarginLeft]), NotSet);
    EXPECT_EQ(IntOf(push("a", "", "", "", "link")[piColor]), Red);
}

TEST_F(ValueTest, RemIsTheRootElementsSize)
{
    sheet("html { font-size: 62.5% } h2 { font-size: 2rem } p { margin-left: 3rem }");
    TPropStack stack;
    stack.Reset(*styles.defaultProperties());
    stack.Push(styles, "body", "", "", nullptr, u"", "");
    EXPECT_EQ(stack.Height(), 3u); // the root element was put under the body
    EXPECT_DOUBLE_EQ(RealOf(stack.Push(styles, "h2", "", "", nullptr, u"", "")->value(piFontSize)), 15);
    TProperties* p = stack.Push(styles, "p", "", "", nullptr, u"", "");
    EXPECT_EQ(p->boxValues(0, 0, 16, 8)[piMarginLeft], 30);
}

TEST_F(ValueTest, OnlyTheGenericMonospaceIsSmaller)
{
    sheet(".named { font-family: Menlo, monospace } .generic { font-family: monospace }"
          " pre.styled { font-family: Consolas, monospace }");
    push("p");
    EXPECT_NEAR(RealOf(push("code")[piFontSize]), 10, 0.01);
    sets.pop_back();
    EXPECT_DOUBLE_EQ(RealOf(push("code", "named")[piFontSize]), 12);
    sets.pop_back();
    EXPECT_NEAR(RealOf(push("span", "generic")[piFontSize]), 10, 0.01);
    sets.pop_back();
    sets.pop_back();
    EXPECT_DOUBLE_EQ(RealOf(push("pre")[piFontSize]), 10);
    // Not scaled a second time inside.
    EXPECT_DOUBLE_EQ(RealOf(push("code")[piFontSize]), 10);
    EXPECT_DOUBLE_EQ(RealOf(push("var")[piFontSize]), 10);
    sets.resize(1);
    EXPECT_DOUBLE_EQ(RealOf(push("pre", "styled")[piFontSize]), 12);
}

TEST_F(ValueTest, OpacityZeroAndVisibilityHiddenHide)
{
    sheet(".gone { opacity: 0 } .faint { opacity: 0.4 } .hidden { visibility: hidden } .shown { visibility: visible }");
    EXPECT_TRUE(push("span", "gone").isHidden());
    EXPECT_TRUE(push("b").isHidden()); // inherited
    sets.resize(1);
    EXPECT_FALSE(push("span", "faint").isHidden()); // drawn opaque
    EXPECT_TRUE(push("div", "hidden").isHidden());
    EXPECT_FALSE(push("p", "shown").isHidden());
}

} // namespace
