// The style list tries on an element only the rules its index finds for it
// (by the ID, classes, tag and attributes of the rules' element parts), and
// matches a selector written several times once: the rules it answers must
// be exactly those that trying every rule finds, each once, in the same
// order; and a link's other states match what the link matched.
#include <algorithm>

#include "StyleTestSupport.h"
#include "html/parse/TAttributeList.h"
#include "html/style/TElementFacts.h"
#include "html/style/TPropStack.h"
#include "html/style/TSelector.h"
#include "html/style/TSelectorMatcher.h"

namespace {

using TAttributes = std::vector<std::pair<std::string, std::string>>;

// Selectors of the newer kinds the index sorts by (the plain tag, class,
// ID and descendant keys are looked up by name), several written twice.
const std::vector<std::string> Selectors = {
    "*", "[title]", "p[title]", "a[href^=\"http://h1\"]", "[class^=k]",
    "div.s1 > p", "h2 + p.c1", "h2 ~ p", "li:nth-child(2n+1) > a", "li:first-child > a", "ul > li:first-of-type",
    "tr:nth-of-type(odd) > td.c1", "p:not(.c2)", "div#main * > span", "body > div > div.s1 p[title]",
    "*.c2", "[lang|=en]", "td:not([align])", "li:nth-child(2n+1) > a", "[class^=k]", ":root", "html > body",
    "span.c1.k0", "ul li a[href]", "p > span:first-child", "div > * p", ".c1 + .c2", "p:nth-child(n+3)", "h2 + p.c1",
    "a:not(.x)", "td.c1 ~ td",
};

std::string SheetOf(const std::vector<std::string>& selectors)
{
    std::string sheet;
    for (size_t i = 0; i < selectors.size(); ++i)
        sheet += selectors[i] + " { margin-left: " + std::to_string(i) + "px }\n";
    return sheet;
}

class SelectorIndexTest : public StyleTest {
protected:
    void SetUp() override
    {
        StyleTest::SetUp();
        sheet(SheetOf(Selectors));
        stack.Reset(*styles.defaultProperties());
        for (const std::string& text : Selectors)
            parsed.push_back(*TSelector::parse(text));
        open.push_back(&stack.Top());
    }

    // Opens an element and checks the rules the index finds for it.
    void enter(const std::string& tag, const std::string& cls = "", const std::string& id = "",
               const TAttributes& attributes = {})
    {
        TAttributeList list;
        for (const auto& [name, value] : attributes)
            list.Add(TAttribute(UnknownAttrSym, 0, name, value));
        TProperties* set = stack.Push(styles, tag, cls, id, nullptr, u"", "", &list);
        ASSERT_NE(set, nullptr);
        const TPropertySpan below(open.data(), open.size());
        TSelectorMatcher matcher(below, set->facts(), tag, cls, id, "");
        EXPECT_EQ(indexed(matcher, tag, cls, id), everyRule(matcher)) << "<" << tag << " class=" << cls << ">";
        open.push_back(set);
        ++checked;
    }
    void leave(const std::string& tag)
    {
        stack.Pop(styles, tag);
        open.pop_back();
    }

    // The rules the style list answers, as the numbers of their selectors.
    std::vector<int> indexed(const TSelectorMatcher& matcher, const std::string& tag, const std::string& cls,
                             const std::string& id) const
    {
        std::vector<const TStyleRule*> rules;
        styles.matchSelectors(matcher, ChildAncestry(*open.back()), tag, cls, id, rules);
        std::sort(rules.begin(), rules.end(),
                  [](const TStyleRule* a, const TStyleRule* b) { return a->order < b->order; });
        std::vector<int> numbers;
        for (const TStyleRule* rule : rules)
            numbers.push_back(std::stoi(TextOf(rule->props->value(piMarginLeft))));
        return numbers;
    }
    // Every selector tried on the element, in the order written.
    std::vector<int> everyRule(const TSelectorMatcher& matcher) const
    {
        std::vector<int> numbers;
        for (size_t i = 0; i < parsed.size(); ++i)
            if (matcher.matches(parsed[i]))
                numbers.push_back(int(i));
        return numbers;
    }

    TPropStack stack;
    std::vector<TSelector> parsed;
    std::vector<const TProperties*> open;
    int checked = 0;
};

TEST_F(SelectorIndexTest, FindsWhatTryingEveryRuleFinds)
{
    enter("html");
    enter("body");
    enter("div", "s1", "main", {{"CLASS", "s1"}, {"ID", "main"}});
    enter("h2");
    leave("h2");
    for (int n = 0; n < 4; ++n) {
        const std::string cls = n % 2 ? "c2" : "c1 k0";
        TAttributes attributes{{"CLASS", cls}};
        if (n != 2)
            attributes.emplace_back("TITLE", "t");
        if (n == 3)
            attributes.emplace_back("LANG", "en-GB");
        enter("p", cls, "", attributes);
        enter("span", "c1 k0", "", {{"CLASS", "c1 k0"}, {"CLASS", "twice"}});
        leave("span");
        enter("a", "", "", {{"HREF", n ? "http://h1/x" : "page.html"}});
        leave("a");
        leave("p");
    }
    enter("ul");
    for (int n = 0; n < 5; ++n) {
        enter("li");
        enter("a", n == 1 ? "x" : "", "", {{"HREF", "#x"}});
        leave("a");
        leave("li");
    }
    leave("ul");
    enter("table");
    for (int row = 0; row < 3; ++row) {
        enter("tr");
        enter("td", "c1", "", {{"CLASS", "c1"}});
        leave("td");
        enter("td", "", "", {{"ALIGN", "right"}});
        leave("td");
        leave("tr");
    }
    EXPECT_GT(checked, 30);
}

TEST_F(SelectorIndexTest, ASelectorWrittenTwiceAppliesBothRulesInOrder)
{
    sheet("p > em.w { color: #ff0000 } p > em.w { font-weight: bold } em { color: #00ff00 } p > em.w { color: #0000ff }");
    enter("p");
    TProperties& em = *stack.Push(styles, "em", "w", "", nullptr, u"", "", nullptr);
    EXPECT_EQ(IntOf(em[piColor]), int(RGBColor(0, 0, 255) | ClPaletteFlag));
    EXPECT_EQ(TextOf(em[piFontWeight]), "bold");
}

TEST_F(SelectorIndexTest, LinkStatesFollowTheSelectorsThatMatchTheLink)
{
    constexpr TColor Green = RGBColor(0, 255, 0) | ClPaletteFlag;
    constexpr TColor Red = RGBColor(255, 0, 0) | ClPaletteFlag;
    sheet("p > a[href] { color: #00ff00 }");
    enter("p");
    TAttributeList href;
    href.Add(TAttribute(HrefSy, 0, "HREF", "x.htm"));
    const TProperties* link = stack.Push(styles, "a", "", "", nullptr, u"", "link", &href);
    ASSERT_TRUE(link && link->linkFonts());
    for (int state : {lsNormal, lsVisited, lsHover, lsHoverVisited})
        EXPECT_EQ((*link->linkFonts())[state].color, Green) << state;
    stack.Pop(styles, "a");

    // A selector that reads a state makes that state differ.
    sheet("p > a:hover { color: #ff0000 }");
    link = stack.Push(styles, "a", "", "", nullptr, u"", "link", &href);
    ASSERT_TRUE(link && link->linkFonts());
    EXPECT_EQ((*link->linkFonts())[lsNormal].color, Green);
    EXPECT_EQ((*link->linkFonts())[lsHover].color, Red);
}

} // namespace
