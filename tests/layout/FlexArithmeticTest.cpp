// The line arithmetic of flexible boxes and the column widths of grids,
// apart from the layout objects.
#include <gtest/gtest.h>

#include <numeric>

#include "html/layout/FlexLayout.h"
#include "html/layout/GridLayout.h"

namespace {

TFlexItemSize Item(int base, int minSize = 0, double grow = 0, double shrink = 1)
{
    TFlexItemSize s;
    s.base = base;
    s.minSize = minSize;
    s.grow = grow;
    s.shrink = shrink;
    return s;
}

int Sum(const std::vector<int>& v) { return std::accumulate(v.begin(), v.end(), 0); }

TEST(FlexLines, WrapOnlyWhenAskedAndKeepAtLeastOneItemPerLine)
{
    std::vector<TFlexItemSize> items{Item(150), Item(150), Item(150), Item(500)};
    EXPECT_EQ(BreakFlexLines(items, 400, 10, false), (std::vector<size_t>{0}));
    // 150 + 10 + 150 fits, a third does not; the over-wide item gets a line of its own.
    EXPECT_EQ(BreakFlexLines(items, 400, 10, true), (std::vector<size_t>{0, 2, 3}));
    // The minimum counts, not the smaller base.
    EXPECT_EQ(BreakFlexLines({Item(10, 300), Item(10, 300)}, 400, 0, true), (std::vector<size_t>{0, 1}));
    EXPECT_TRUE(BreakFlexLines({}, 400, 0, true).empty());
}

TEST(FlexLengths, GrowShareTheFreeSpaceByFactor)
{
    EXPECT_EQ(ResolveFlexibleLengths({Item(0, 0, 1), Item(0, 0, 3)}, 400, 0), (std::vector<int>{100, 300}));
    // A fixed sidebar keeps its width; the gap is not shared.
    EXPECT_EQ(ResolveFlexibleLengths({Item(200), Item(50, 0, 1)}, 800, 20), (std::vector<int>{200, 580}));
    // Factors that sum below 1 take only their share of the free space.
    EXPECT_EQ(ResolveFlexibleLengths({Item(100, 0, 0.5)}, 300, 0), (std::vector<int>{200}));
}

TEST(FlexLengths, ShrinkByFactorTimesBaseAndStopAtTheMinimum)
{
    EXPECT_EQ(ResolveFlexibleLengths({Item(300), Item(300)}, 400, 0), (std::vector<int>{200, 200}));
    // Weighted by base: 600 over, 100 and 500 give 100 and 500 of it in that ratio.
    EXPECT_EQ(ResolveFlexibleLengths({Item(200), Item(1000)}, 600, 0), (std::vector<int>{100, 500}));
    // The first stops at its minimum; the other gives the rest.
    EXPECT_EQ(ResolveFlexibleLengths({Item(300, 250), Item(300)}, 400, 0), (std::vector<int>{250, 150}));
    // flex-shrink 0 keeps the size and overflows.
    EXPECT_EQ(ResolveFlexibleLengths({Item(300, 0, 0, 0), Item(300, 0, 0, 0)}, 400, 0), (std::vector<int>{300, 300}));
}

TEST(FlexLengths, AbsurdFactorsAndSizesStayFiniteAndInRange)
{
    for (double factor : {1e6, 1e-300, 0.0}) {
        std::vector<int> sizes = ResolveFlexibleLengths({Item(0, 0, factor, factor), Item(MaxBoxPixels, 0, 1e6, 1e6)},
                                                        DocumentLimit, MaxBoxPixels);
        for (int s : sizes) {
            EXPECT_GE(s, 0);
            EXPECT_LE(s, MaxBoxPixels);
        }
    }
    std::vector<TFlexItemSize> many(1000, Item(MaxBoxPixels, MaxBoxPixels / 2));
    for (int s : ResolveFlexibleLengths(many, 10, 0))
        EXPECT_EQ(s, MaxBoxPixels / 2);
}

TEST(FlexPlacement, JustifyContentSpreadsTheFreeSpace)
{
    std::vector<TFlexItemSize> items{Item(100), Item(100)};
    std::vector<int> sizes{100, 100};
    EXPECT_EQ(PlaceFlexLine(items, sizes, 400, 0, TFlexJustify::Start, false), (std::vector<int>{0, 100}));
    EXPECT_EQ(PlaceFlexLine(items, sizes, 400, 0, TFlexJustify::End, false), (std::vector<int>{200, 300}));
    EXPECT_EQ(PlaceFlexLine(items, sizes, 400, 0, TFlexJustify::Center, false), (std::vector<int>{100, 200}));
    EXPECT_EQ(PlaceFlexLine(items, sizes, 400, 0, TFlexJustify::SpaceBetween, false), (std::vector<int>{0, 300}));
    EXPECT_EQ(PlaceFlexLine(items, sizes, 400, 0, TFlexJustify::SpaceAround, false), (std::vector<int>{50, 250}));
    EXPECT_EQ(PlaceFlexLine(items, sizes, 400, 20, TFlexJustify::SpaceEvenly, false), (std::vector<int>{60, 240}));
    // Without free space space-between falls back to the start; centre overflows both ways.
    EXPECT_EQ(PlaceFlexLine(items, sizes, 150, 0, TFlexJustify::SpaceBetween, false), (std::vector<int>{0, 100}));
    EXPECT_EQ(PlaceFlexLine(items, sizes, 150, 0, TFlexJustify::Center, false), (std::vector<int>{-25, 75}));
}

TEST(FlexPlacement, AutoMarginsTakeTheFreeSpaceAndReverseMirrors)
{
    std::vector<TFlexItemSize> items{Item(100), Item(100), Item(100)};
    items[2].autoStart = true; // a navigation bar's last entry pushed to the right
    std::vector<int> sizes{100, 100, 100};
    EXPECT_EQ(PlaceFlexLine(items, sizes, 800, 0, TFlexJustify::Center, false), (std::vector<int>{0, 100, 700}));
    std::vector<TFlexItemSize> plain{Item(100), Item(50)};
    EXPECT_EQ(PlaceFlexLine(plain, {100, 50}, 400, 10, TFlexJustify::Start, true), (std::vector<int>{300, 240}));
}

TEST(FlexPlacement, UsedWidthFillsTheMarginBoxLessItsSides)
{
    TMargArray m;
    m[BoxMarginLeft] = BoxAuto;
    m[BoxMarginRight] = 10;
    m[BoxPaddingLeft] = 5;
    m[BoxBorderRight] = 2;
    m[BoxWidth] = 50;
    m.autoCount = 1;
    m.widthIsPercent = true;
    GiveUsedWidth(m, 300);
    EXPECT_EQ(m[BoxMarginLeft], 0);
    EXPECT_EQ(m[BoxWidth], 283);
    EXPECT_EQ(m.autoCount, 0);
    EXPECT_FALSE(m.widthIsPercent);
    GiveUsedWidth(m, 3);
    EXPECT_EQ(m[BoxWidth], 0);
}

TGridTrack Track(TGridTrackKind kind, double value, int minPixels = 0)
{
    TGridTrack t;
    t.kind = kind;
    t.value = value;
    t.minPixels = minPixels;
    return t;
}

TEST(GridColumns, LengthsPercentagesAndFractions)
{
    std::vector<TGridTrack> tracks{Track(TGridTrackKind::Pixels, 100), Track(TGridTrackKind::Fraction, 1),
                                   Track(TGridTrackKind::Fraction, 2)};
    // 400 less 100 less two gaps of 10 leaves 280 for 3 fr.
    EXPECT_EQ(SizeGridColumns(tracks, 400, 10, {}, {}), (std::vector<int>{100, 93, 187}));
    // An fr column is never narrower than its widest word.
    EXPECT_EQ(SizeGridColumns(tracks, 400, 10, {0, 150, 0}, {0, 150, 0}), (std::vector<int>{100, 150, 187}));
    EXPECT_EQ(SizeGridColumns({Track(TGridTrackKind::Percent, 25), Track(TGridTrackKind::Percent, 75)}, 400, 0, {}, {}),
              (std::vector<int>{100, 300}));
}

TEST(GridColumns, AutoColumnsFitTheirItemsAndShareWhatIsLeft)
{
    std::vector<TGridTrack> tracks{Track(TGridTrackKind::Auto, 0), Track(TGridTrackKind::Auto, 0)};
    EXPECT_EQ(SizeGridColumns(tracks, 400, 0, {10, 10}, {100, 200}), (std::vector<int>{150, 250}));
    // Too wide: they give back toward their narrowest content.
    std::vector<int> narrow = SizeGridColumns(tracks, 200, 0, {50, 50}, {300, 300});
    EXPECT_EQ(Sum(narrow), 200);
    EXPECT_EQ(SizeGridColumns({Track(TGridTrackKind::Auto, 0), Track(TGridTrackKind::Fraction, 1)}, 400, 0, {0, 0},
                              {120, 50}),
              (std::vector<int>{120, 280}));
}

TEST(GridColumns, AutoFillRepeatsAsManyAsFitAndAlwaysOne)
{
    TFlexStyle style;
    style.autoRepeat = true;
    style.repeatTrack = Track(TGridTrackKind::Fraction, 1, 100);
    EXPECT_EQ(GridTracksAt(style, 420, 10).size(), 3u); // 3 x 100 + 2 x 10 fits, 4 x 100 + 3 x 10 does not
    EXPECT_EQ(GridTracksAt(style, 10, 10).size(), 1u);
    style.repeatTrack = Track(TGridTrackKind::Pixels, 0);
    EXPECT_LE(GridTracksAt(style, DocumentLimit, 0).size(), size_t(MaxGridTracks));
    EXPECT_EQ(GridTracksAt(TFlexStyle{}, 400, 0).size(), 1u);
}

} // namespace
