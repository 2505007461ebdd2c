// An element's property set reaches images and controls as their style overrides.
#include <gtest/gtest.h>

#include "gfx/TFixedCanvas.h"
#include "html/build/ObjectStyleAdapter.h"
#include "html/style/TProperties.h"

TEST(ObjectStyle, ReadsMarginsSizesAlignmentFloatAndBorder)
{
    TFixedCanvas screen;
    SetStyleScreen(&screen);
    TProperties props;
    props.setPropertyByName("margin-left", "10%");
    props.setPropertyByName("margin-top", "7px");
    props.setPropertyByName("width", "auto");
    props.setPropertyByName("height", "30%");
    props.setPropertyByName("vertical-align", "middle");
    props.setPropertyByName("float", "left");
    props.setPropertyByName("border-left-style", "solid");
    TObjectStyle s = ObjectStyleOf(props);
    EXPECT_TRUE(s.margins[SideLeft].IsPercent());
    EXPECT_EQ(s.margins[SideLeft].value, 10);
    EXPECT_EQ(s.margins[SideTop].Resolve(0), 7);
    EXPECT_FALSE(s.margins[SideRight].IsSet());
    EXPECT_EQ(s.width.kind, TStyleLength::Kind::Auto);
    EXPECT_TRUE(s.height.IsPercent());
    EXPECT_EQ(s.verticalAlign, TVAlign::Middle);
    EXPECT_EQ(s.floatKind, TFloatKind::Left);
    EXPECT_TRUE(s.hasBorderStyle);
    SetStyleScreen(nullptr);
}
