// The flex, grid and collapsed-border properties: shorthands expanded as
// sheets write them, values kept, nothing inherited, and the flex style a
// block reads from them.
#include "StyleTestSupport.h"
#include "html/build/FlexStyleOf.h"

namespace {

class ArrangementTest : public StyleTest {};

TEST_F(ArrangementTest, FlexShorthandGivesItsThreeParts)
{
    sheet(".one { flex: 1 } .none { flex: none } .auto { flex: auto } .full { flex: 2 0 30px }"
          " .basis { flex: 10em } .bad { flex: 1 2 3 4 } .flow { flex-flow: column wrap } .gap { gap: 4px 1em }"
          " .grid { grid-gap: 7px }");
    TProperties& one = push("div", "one");
    EXPECT_EQ(TextOf(one[piFlexGrow]), "1");
    EXPECT_EQ(TextOf(one[piFlexShrink]), "1");
    EXPECT_EQ(TextOf(one[piFlexBasis]), "0%");
    TProperties& none = push("div", "none");
    EXPECT_EQ(TextOf(none[piFlexGrow]), "0");
    EXPECT_EQ(TextOf(none[piFlexShrink]), "0");
    EXPECT_EQ(TextOf(none[piFlexBasis]), "auto");
    EXPECT_EQ(TextOf(push("div", "auto")[piFlexGrow]), "1");
    TProperties& full = push("div", "full");
    EXPECT_EQ(TextOf(full[piFlexGrow]), "2");
    EXPECT_EQ(TextOf(full[piFlexShrink]), "0");
    EXPECT_EQ(TextOf(full[piFlexBasis]), "30px");
    EXPECT_EQ(TextOf(push("div", "basis")[piFlexBasis]), "10em");
    EXPECT_FALSE(push("div", "bad").isSetHere(piFlexGrow));
    TProperties& flow = push("div", "flow");
    EXPECT_EQ(TextOf(flow[piFlexDirection]), "column");
    EXPECT_EQ(TextOf(flow[piFlexWrap]), "wrap");
    TProperties& gap = push("div", "gap");
    EXPECT_EQ(TextOf(gap[piRowGap]), "4px");
    EXPECT_EQ(TextOf(gap[piColumnGap]), "1em");
    EXPECT_EQ(TextOf(push("div", "grid")[piColumnGap]), "7px");
}

TEST_F(ArrangementTest, NothingIsInheritedAndTheFlexStyleIsReadWhereGiven)
{
    sheet(".row { display: flex; justify-content: space-between; align-items: center; column-gap: 12px }"
          " .item { flex: 3 1 25%; order: -2; align-self: flex-end }");
    TProperties& row = push("div", "row");
    auto container = FlexStyleOf(row);
    ASSERT_TRUE(container);
    EXPECT_EQ(container->display, TBoxDisplay::Flex);
    EXPECT_EQ(container->justify, TFlexJustify::SpaceBetween);
    EXPECT_EQ(container->alignItems, TFlexAlign::Center);
    EXPECT_EQ(container->columnGap, 12);
    TProperties& item = push("div", "item");
    EXPECT_TRUE(IsEmpty(item[piJustifyContent]));
    auto flex = FlexStyleOf(item);
    ASSERT_TRUE(flex);
    EXPECT_FALSE(flex->IsContainer());
    EXPECT_DOUBLE_EQ(flex->grow, 3);
    EXPECT_EQ(flex->basisKind, TFlexBasisKind::Percent);
    EXPECT_DOUBLE_EQ(flex->basis, 25);
    EXPECT_EQ(flex->order, -2);
    EXPECT_EQ(flex->alignSelf, TFlexAlign::End);
    // A plain block has none.
    EXPECT_FALSE(FlexStyleOf(push("p")));
}

TEST_F(ArrangementTest, AbsurdValuesAreClampedOrDropped)
{
    sheet(".x { flex-grow: 1e30; flex-shrink: -2; order: -2147483648; flex-basis: nan }"
          " .y { order: 99999999999999999999; flex-grow: nan }");
    auto x = FlexStyleOf(push("div", "x"));
    ASSERT_TRUE(x);
    EXPECT_DOUBLE_EQ(x->grow, MaxFlexFactor);
    EXPECT_DOUBLE_EQ(x->shrink, 1); // negative: dropped
    EXPECT_EQ(x->order, -MaxFlexOrder);
    EXPECT_EQ(x->basisKind, TFlexBasisKind::Auto);
    auto y = FlexStyleOf(push("div", "y"));
    ASSERT_TRUE(y);
    EXPECT_EQ(y->order, MaxFlexOrder);
    EXPECT_DOUBLE_EQ(y->grow, 0);
}

TEST_F(ArrangementTest, GridColumnsReadLengthsFractionsAndRepeats)
{
    TFlexStyle s;
    ASSERT_TRUE(ReadGridColumns("[a] 100px repeat(2, 1fr 2em) minmax(50px, 2fr) auto 25%", 16, 8, s));
    ASSERT_EQ(s.columns.size(), 8u);
    EXPECT_EQ(s.columns[0].kind, TGridTrackKind::Pixels);
    EXPECT_DOUBLE_EQ(s.columns[0].value, 100);
    EXPECT_EQ(s.columns[1].kind, TGridTrackKind::Fraction);
    EXPECT_DOUBLE_EQ(s.columns[2].value, 32);
    EXPECT_EQ(s.columns[5].kind, TGridTrackKind::Fraction);
    EXPECT_EQ(s.columns[5].minPixels, 50);
    EXPECT_EQ(s.columns[6].kind, TGridTrackKind::Auto);
    EXPECT_EQ(s.columns[7].kind, TGridTrackKind::Percent);
    TFlexStyle fill;
    ASSERT_TRUE(ReadGridColumns("repeat(auto-fill, minmax(12em, 1fr))", 10, 5, fill));
    EXPECT_TRUE(fill.autoRepeat);
    EXPECT_EQ(fill.repeatTrack.minPixels, 120);
    TFlexStyle huge;
    ASSERT_TRUE(ReadGridColumns("repeat(99999999, 1fr)", 16, 8, huge));
    EXPECT_EQ(huge.columns.size(), size_t(MaxGridTracks));
    TFlexStyle words;
    EXPECT_FALSE(ReadGridColumns("subgrid", 16, 8, words));
}

} // namespace
