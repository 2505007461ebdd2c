// The property sets of the style module reach the layout objects intact.
#include <gtest/gtest.h>

#include "gfx/TFixedCanvas.h"
#include "html/build/DocumentBuilderInternal.h"
#include "html/style/TProperties.h"

TEST(StyleAdapter, BlockStyleResolvesBoxValuesAtEachLayout)
{
    TFixedCanvas screen;
    SetStyleScreen(&screen);
    auto props = std::make_shared<TProperties>();
    props->setPropertyByName("margin-left", "10%");
    props->setPropertyByName("width", "50%");
    props->setPropertyByName("float", "right");
    props->setPropertyByName("border-top-style", "dashed");
    props->setPropertyByName("text-align", "center");
    TBlockStyle block = BlockStyleOf(*props);
    EXPECT_EQ(block.floatKind, TFloatKind::Right);
    EXPECT_EQ(block.borderStyles[0], TBorderKind::Dashed);
    TMargArray narrow = block.boxValues(200, 0), wide = block.boxValues(400, 0);
    EXPECT_EQ(narrow[BoxMarginLeft], 20);
    EXPECT_EQ(wide[BoxWidth], 200);
    EXPECT_TRUE(wide.widthIsPercent);
    EXPECT_EQ(TextStyleOf(*props).align, TTextAlignKind::Center);
    SetStyleScreen(nullptr);
}

// The text style of a set is read again whenever the set changed since it
// was last asked for, also when a copy of another set took its place or the
// builder's state differs; asking again unchanged gives the same style.
TEST(StyleAdapter, TextStyleFollowsChangesOfTheSetAndTheBuilder)
{
    TFixedCanvas screen;
    SetStyleScreen(&screen);
    TProperties props;
    props.setPropertyByName("text-align", "right");
    props.setPropertyByName("font-size", "20px");
    const TTextStyle first = TextStyleOf(props);
    EXPECT_EQ(first.align, TTextAlignKind::Right);
    EXPECT_EQ(TextStyleOf(props).font.spec.height, first.font.spec.height);

    props.setPropertyByName("text-align", "center");
    EXPECT_EQ(TextStyleOf(props).align, TTextAlignKind::Center);
    props.assign(piColor, int(RGBColor(0, 128, 0)));
    EXPECT_EQ(TextStyleOf(props).font.color, RGBColor(0, 128, 0));
    props.setPropertyByName("font-size", "40px");
    EXPECT_LT(TextStyleOf(props).font.spec.height, first.font.spec.height); // heights are negative

    // A copy keeps the stamp but takes an ID of its own.
    TProperties copy;
    copy.copyCombinedFrom(props);
    copy.placeCopy(props, "own");
    EXPECT_EQ(TextStyleOf(copy).id, "own");
    EXPECT_EQ(TextStyleOf(props).id, "");

    props.setPropertyByName("white-space", "pre-wrap");
    const bool wasInPre = Build.inPre;
    Build.inPre = false;
    EXPECT_FALSE(TextStyleOf(props).wrapsPreformatted);
    Build.inPre = true;
    EXPECT_TRUE(TextStyleOf(props).wrapsPreformatted);
    Build.inPre = wasInPre;
    SetStyleScreen(nullptr);
}
