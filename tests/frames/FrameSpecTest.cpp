#include <gtest/gtest.h>

#include "html/viewer/FrameSpec.h"

TEST(FrameSpec, ParsesPixelsWeightsAndPercentages)
{
    EXPECT_EQ(ParseFrameSpecs("100,*,2*,*"), (std::vector<FrameSpec>{100, -1, -2, -1}));
    EXPECT_EQ(ParseFrameSpecs(" 25% , 75%"), (std::vector<FrameSpec>{-125, -175}));
    EXPECT_EQ(ParseFrameSpecs("150*,2000%,9999"), (std::vector<FrameSpec>{-99, -1000, 5000}));
    EXPECT_EQ(ParseFrameSpecs(""), (std::vector<FrameSpec>{-1}));
    EXPECT_EQ(ParseFrameSpecs("0"), (std::vector<FrameSpec>{1}));
    std::string many;
    for (int i = 0; i < 25; ++i)
        many += std::to_string(i + 1) + ",";
    std::vector<FrameSpec> twenty = ParseFrameSpecs(many);
    ASSERT_EQ(twenty.size(), 20u);
    EXPECT_EQ(twenty.back(), 20);
}

TEST(FrameSpec, SharesALength)
{
    EXPECT_EQ(LayoutFrameSpecs(ParseFrameSpecs("100,*,2*,*"), 500), (std::vector<int>{100, 100, 200, 100}));
    EXPECT_EQ(LayoutFrameSpecs(ParseFrameSpecs("25%,75%"), 400), (std::vector<int>{100, 300}));
    // Percentages take their share of the whole length, weights the rest.
    EXPECT_EQ(LayoutFrameSpecs(ParseFrameSpecs("100,50%,*"), 400), (std::vector<int>{100, 200, 100}));
    // A "0%" entry gets nothing (and divides nothing by zero).
    EXPECT_EQ(LayoutFrameSpecs(ParseFrameSpecs("0%,*"), 400), (std::vector<int>{0, 400}));
    // Percentages never take more than is free.
    EXPECT_EQ(LayoutFrameSpecs(ParseFrameSpecs("300,80%"), 400), (std::vector<int>{300, 100}));
}

TEST(FrameSpec, OverFullPixelsAreScaledAndOthersGetNothing)
{
    EXPECT_EQ(LayoutFrameSpecs(ParseFrameSpecs("300,300,*,20%"), 400), (std::vector<int>{200, 200, 0, 0}));
    EXPECT_EQ(LayoutFrameSpecs(ParseFrameSpecs("100,200"), 200), (std::vector<int>{67, 133}));
    EXPECT_EQ(LayoutFrameSpecs(ParseFrameSpecs("*,*"), 0), (std::vector<int>{0, 0}));
}
