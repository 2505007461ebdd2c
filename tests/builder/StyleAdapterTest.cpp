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
