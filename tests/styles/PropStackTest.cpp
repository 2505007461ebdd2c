// The property stack's combined sets: siblings pushed one after another get
// what the cascade makes for each, and what changed in between (a new rule,
// a changed parent) is read again. And the ancestor filter descendant rules
// are tested against.
#include "StyleTestSupport.h"
#include "html/style/TAncestorFilter.h"
#include "html/style/TPropStack.h"

namespace {

class PropStackTest : public StyleTest {
protected:
    void SetUp() override
    {
        StyleTest::SetUp();
        stack.Reset(*styles.defaultProperties());
    }
    TProperties& open(const std::string& tag, const std::string& cls = "", const std::string& id = "",
                      const std::string& pseudo = "")
    {
        return *stack.Push(styles, tag, cls, id, nullptr, u"", pseudo);
    }
    TPropStack stack;
};

void ExpectSameValues(const TProperties& a, const TProperties& b)
{
    for (int i = 0; i < PropCount; ++i) {
        EXPECT_EQ(a[i], b[i]) << "property " << i;
        EXPECT_EQ(a.isSetHere(i), b.isSetHere(i)) << "property " << i;
    }
    EXPECT_EQ(a.tag(), b.tag());
    EXPECT_EQ(a.cls(), b.cls());
    EXPECT_EQ(a.font().height, b.font().height);
    EXPECT_EQ(a.emSize(), b.emSize());
    ASSERT_EQ(a.linkFonts() != nullptr, b.linkFonts() != nullptr);
    if (a.linkFonts())
        for (int s = 0; s < 4; ++s)
            EXPECT_EQ((*a.linkFonts())[s].color, (*b.linkFonts())[s].color) << "state " << s;
}

} // namespace

TEST_F(PropStackTest, SiblingsGetTheCascadesValuesEachTime)
{
    sheet("ul li { color: #0000ff } li.x { font-weight: bold } ul li a { font-size: 20pt } a:visited { color: #00ff00 }");
    open("ul");
    push("ul");
    TProperties& li = push("li", "x");
    TProperties& link = push("a", "", "", "", "link");
    for (int i = 0; i < 3; ++i) {
        TProperties& item = open("li", "x");
        ExpectSameValues(item, li);
        TProperties& a = open("a", "", "", "link");
        ExpectSameValues(a, link);
        EXPECT_NE(a.sequence(), link.sequence());
        stack.Pop(styles, "a");
        stack.Pop(styles, "li");
    }
}

TEST_F(PropStackTest, RuleAddedBetweenSiblingsApplies)
{
    open("ul");
    EXPECT_FALSE(open("li").isSetHere(piColor));
    stack.Pop(styles, "li");
    sheet("li { color: #0000ff }");
    EXPECT_EQ(IntOf(open("li")[piColor]), int(RGBColor(0, 0, 255) | ClPaletteFlag));
}

TEST_F(PropStackTest, ChangedParentIsReadAgain)
{
    open("div");
    EXPECT_EQ(IntOf(open("span")[piColor]), 0);
    stack.Pop(styles, "span");
    stack.Top().assign(piColor, int(RGBColor(255, 0, 0)));
    EXPECT_EQ(IntOf(open("span")[piColor]), int(RGBColor(255, 0, 0)));
}

TEST_F(PropStackTest, ParentsMeasuredSizesAreInheritedAsTheyAreNow)
{
    sheet("div { font-size: 30pt }");
    open("div");
    int before = open("span").emSize();
    stack.Pop(styles, "span");
    // The parent changes after its first child: its font is measured again.
    stack.Top().setValue(piFontSize, 40.0);
    int measured = stack.Top().font().fontHeight > 0 ? stack.Top().emSize() : -1;
    ASSERT_NE(measured, before);
    EXPECT_EQ(open("span").emSize(), measured);
}

TEST_F(PropStackTest, DescendantRuleTellsListsInDifferentContainersApart)
{
    sheet("div.menu li a { color: #ff0000 }");
    const int red = int(RGBColor(255, 0, 0) | ClPaletteFlag);
    open("div", "menu");
    open("ul");
    open("li");
    EXPECT_EQ(IntOf(open("a")[piColor]), red);
    stack.PopTo(1, [](int) {});
    open("div", "other");
    open("ul");
    open("li");
    EXPECT_NE(IntOf(open("a")[piColor]), red);
}

// Siblings share what the cascade made for the first of them only where
// nothing the cascade reads differs: each case below gets its own values.
TEST_F(PropStackTest, SiblingsThatDifferGetTheirOwnValues)
{
    sheet("li { color: #0000ff } li#first { font-weight: bold } a:link { font-size: 20pt }");
    open("ul");
    const int blue = int(RGBColor(0, 0, 255) | ClPaletteFlag);

    auto inlineRed = NewInlineStyleProperties("color: #ff0000");
    TProperties& styled = *stack.Push(styles, "li", "", "", inlineRed.get(), u"", "");
    EXPECT_EQ(IntOf(styled[piColor]), int(RGBColor(255, 0, 0) | ClPaletteFlag));
    stack.Pop(styles, "li");
    EXPECT_EQ(IntOf(open("li")[piColor]), blue);
    stack.Pop(styles, "li");

    EXPECT_EQ(stack.Push(styles, "li", "", "", nullptr, u"own title", "")->title(), u"own title");
    stack.Pop(styles, "li");
    EXPECT_EQ(open("li").title(), u"");
    stack.Pop(styles, "li");

    EXPECT_TRUE(open("li", "", "first").isBold());
    stack.Pop(styles, "li");
    EXPECT_FALSE(open("li").isBold());
    stack.Pop(styles, "li");

    EXPECT_EQ(RealOf(open("a", "", "", "link")[piFontSize]), 20);
    stack.Pop(styles, "a");
    EXPECT_NE(RealOf(open("a")[piFontSize]), 20);
}

// What the builder changes on a pushed set (an attribute, a list's dropped
// margins, a character set) stays with that set: a sibling pushed later gets
// the cascade's values, and the changed set's children see the change.
TEST_F(PropStackTest, ChangesAfterPushingStayWithTheChangedSet)
{
    const int red = int(RGBColor(255, 0, 0));
    open("div");
    TProperties& first = open("ul");
    first.setValue(piMarginTop, 0);
    first.assign(piColor, red);
    EXPECT_EQ(IntOf(open("li")[piColor]), red);
    stack.Pop(styles, "li");
    stack.Pop(styles, "ul");

    TProperties& second = open("ul");
    EXPECT_EQ(IntOf(second[piMarginTop]), DefaultParagraphMargin);
    EXPECT_EQ(IntOf(open("li")[piColor]), 0);
    stack.Pop(styles, "li");

    stack.Top().setCodePage(65001);
    EXPECT_EQ(open("li").codePage(), 65001);
    stack.Pop(styles, "li");
    stack.Top().setCharacterSet(31);
    EXPECT_EQ(open("li").charset(), 238);
}

// Sets copied from one another share their link fonts until one changes
// them: a change made to one element inside a link (a FONT colour, a
// character set, a rule of its own) never shows in the link or in the
// siblings copied from the same combined set.
TEST_F(PropStackTest, LinkFontsChangedInsideALinkStayWithTheChangedSet)
{
    const int red = int(RGBColor(255, 0, 0));
    sheet("span.big { color: #00ff00 }");
    open("p");
    TProperties& link = open("a", "", "", "link");
    ASSERT_NE(link.linkFonts(), nullptr);
    const TFontInfoArray before = *link.linkFonts();

    TProperties& first = open("font");
    first.assign(piColor, red);
    first.setCharacterSet(31);
    EXPECT_EQ((*first.linkFonts())[lsNormal].color, TColor(red));
    EXPECT_EQ((*first.linkFonts())[lsHover].charset, 238);
    stack.Pop(styles, "font");

    TProperties& second = open("font");
    ASSERT_NE(second.linkFonts(), nullptr);
    EXPECT_TRUE(second.linkFonts()->Ary == before.Ary);
    stack.Pop(styles, "font");

    TProperties& big = open("span", "big");
    EXPECT_EQ((*big.linkFonts())[lsVisited].color, TColor(RGBColor(0, 255, 0) | ClPaletteFlag));
    stack.Pop(styles, "span");
    EXPECT_TRUE(open("span").linkFonts()->Ary == before.Ary);
    EXPECT_TRUE(link.linkFonts()->Ary == before.Ary);
}

// An ID no rule names does not keep siblings apart, but each keeps its own
// ID and is an ancestor under it; an ID a rule names is looked at.
TEST_F(PropStackTest, IdsOnlyMatterWhereRulesNameThem)
{
    sheet("#named { color: #0000ff }");
    open("body");
    open("div", "", "first");
    open("p");
    stack.PopTo(2, [](int) {});
    TProperties& second = open("div", "", "second");
    EXPECT_EQ(second.id(), "second");
    EXPECT_FALSE(second.isSetHere(piColor));
    EXPECT_EQ(open("p").id(), "");
    sheet("#second p span { color: #ff0000 }");
    EXPECT_EQ(IntOf(open("span")[piColor]), int(RGBColor(255, 0, 0) | ClPaletteFlag));
    stack.PopTo(2, [](int) {});
    EXPECT_EQ(IntOf(open("div", "", "named")[piColor]), int(RGBColor(0, 0, 255) | ClPaletteFlag));
}

TEST(AncestorFilter, HoldsWhatWasAddedIncludingEachClassOfAList)
{
    TAncestorFilter stack;
    stack.add(TAncestorFilter::TKey::Tag, "div");
    stack.addClasses("menu  wide\tdark");
    stack.add(TAncestorFilter::TKey::ID, "main");
    auto key = [](TAncestorFilter::TKey kind, std::string_view name) {
        TAncestorFilter f;
        f.add(kind, name);
        return f;
    };
    for (std::string_view cls : {"menu", "wide", "dark", "menu  wide\tdark"})
        EXPECT_TRUE(stack.mayHold(key(TAncestorFilter::TKey::Class, cls))) << cls;
    TAncestorFilter all = key(TAncestorFilter::TKey::Tag, "div");
    all.addAll(key(TAncestorFilter::TKey::ID, "main"));
    EXPECT_TRUE(stack.mayHold(all));
    EXPECT_TRUE(stack.mayHold(TAncestorFilter()));
    // A tag is not a class of the same name, and absent names are absent.
    EXPECT_FALSE(stack.mayHold(key(TAncestorFilter::TKey::Class, "div")));
    EXPECT_FALSE(stack.mayHold(key(TAncestorFilter::TKey::Tag, "table")));
    all.addAll(key(TAncestorFilter::TKey::ID, "footer"));
    EXPECT_FALSE(stack.mayHold(all));
}
