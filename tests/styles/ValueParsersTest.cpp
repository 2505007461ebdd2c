// Colours, font sizes and lengths as style sheets and attributes give them.
#include "StyleTestSupport.h"

namespace {

constexpr TColor PaletteRed = 0x020000FF;

TEST(ColorParsing, EveryFormOfRedGivesPaletteRed)
{
    for (const char* text : {"#f00", "#ff0000", "ff0000", "rgb(255,0,0)", "rgb(100%,0%,0%)", " RGB( 255 , 0 , 0 ) ",
                             "rgb(300,-5,0)", "#FF0000"})
        EXPECT_EQ(ParseColor(text), PaletteRed) << text;
}

TEST(ColorParsing, NamesAreNotPaletteRelative)
{
    EXPECT_EQ(ParseColor("red"), RGBColor(255, 0, 0));
    EXPECT_EQ(ParseColor("Crimson"), RGBColor(220, 20, 60));
    EXPECT_EQ(ParseColor("lightslategrey"), ParseColor("lightslategray"));
    EXPECT_EQ(ParseColor("yellowgreen"), RGBColor(0x9A, 0xCD, 0x32));
    EXPECT_EQ(ParseColor("transparent"), ClNone);
}

TEST(ColorParsing, SystemColourNamesGiveSystemColours)
{
    EXPECT_EQ(ParseColor("highlighttext"), ClSystemBase + 14);
    EXPECT_EQ(ParseColor("scrollbar"), ClSystemBase + 0);
    EXPECT_EQ(ParseColor("threedlightshadow"), ClSystemBase + 20);
}

TEST(ColorParsing, NamedListHoldsEveryName)
{
    // 147 web colours, "transparent" and 28 system colours.
    EXPECT_EQ(NamedColorCount(), 176);
}

TEST(ColorParsing, HashRuleDecidesAboutBareHexWords)
{
    EXPECT_EQ(ParseColor("bad", THashRule::Optional), RGBColor(0xBB, 0xAA, 0xDD) | ClPaletteFlag);
    // The cache must not hand the answer without the rule to a caller that requires "#".
    EXPECT_EQ(ParseColor("bad", THashRule::Required), std::nullopt);
    EXPECT_EQ(ParseColor("ff0000", THashRule::Required), std::nullopt);
    EXPECT_EQ(ParseColor("#ff0000", THashRule::Required), PaletteRed);
}

TEST(ColorParsing, NonsenseIsNotAColour)
{
    for (const char* text : {"nonsense", "", "#", "#12345g", "1px", "#123456789"})
        EXPECT_EQ(ParseColor(text), std::nullopt) << text;
    EXPECT_EQ(ParseColor("rgb(a,b,c)"), ClPaletteFlag); // components that are not numbers count 0
}

TEST(ColorParsing, PercentagesRoundAndClamp)
{
    EXPECT_EQ(ParseColor("rgb(50%, 20%, 150%)"), RGBColor(128, 51, 255) | ClPaletteFlag);
    EXPECT_EQ(ParseColor("rgb(12.5, 7, 1e3)"), RGBColor(0, 7, 0) | ClPaletteFlag);
}

TEST(ColorParsing, SeeThroughColoursLieOverWhite)
{
    // A faint tint stays faint instead of turning into its opaque colour.
    const TColor tint = RGBColor(245, 245, 245) | ClPaletteFlag;
    EXPECT_EQ(ParseColor("rgba(135, 135, 135, 0.085)"), tint);
    EXPECT_EQ(ParseColor("rgb(135 135 135 / 8.5%)"), tint);
    EXPECT_EQ(ParseColor("#87878716"), tint);
    EXPECT_EQ(ParseColor("rgba(0, 0, 0, 0)"), ClNone);
    EXPECT_EQ(ParseColor("#0000"), ClNone);
    EXPECT_EQ(ParseColor("rgba(255, 0, 0, 1)"), PaletteRed);
    EXPECT_EQ(ParseColor("#ff0000ff"), PaletteRed);
    EXPECT_EQ(ParseColor("rgb(255 0 0)"), PaletteRed);
}

class SizeTest : public StyleTest {};

TEST_F(SizeTest, FontSizesAgainstTheParent)
{
    EXPECT_DOUBLE_EQ(FontSizeToPoints("2em", 10), 20);
    EXPECT_DOUBLE_EQ(FontSizeToPoints("medium", 10), 14.4);
    EXPECT_DOUBLE_EQ(FontSizeToPoints("120%", 10), 12);
    EXPECT_DOUBLE_EQ(FontSizeToPoints("1ex", 10), 5);
    EXPECT_DOUBLE_EQ(FontSizeToPoints("smaller", 10), 7.5);
    EXPECT_DOUBLE_EQ(FontSizeToPoints("larger", 10), 12.5);
}

TEST_F(SizeTest, FontSizeUnitsAndKeywords)
{
    EXPECT_DOUBLE_EQ(FontSizeToPoints("1in", 10), 72);
    EXPECT_NEAR(FontSizeToPoints("2.54cm", 10), 72, 1e-9);
    EXPECT_DOUBLE_EQ(FontSizeToPoints("9pt", 10), 9);
    EXPECT_DOUBLE_EQ(FontSizeToPoints("16px", 10), 12);
    EXPECT_DOUBLE_EQ(FontSizeToPoints("16", 10), 12);
    EXPECT_DOUBLE_EQ(FontSizeToPoints("1pc", 10), 12);
    EXPECT_DOUBLE_EQ(FontSizeToPoints("xx-small", 10), 8);
    EXPECT_DOUBLE_EQ(FontSizeToPoints("xx-large", 10), 36);
    EXPECT_DOUBLE_EQ(FontSizeToPoints("huge", 10), 12);
    EXPECT_DOUBLE_EQ(FontSizeToPoints("3qq", 10), 12);
}

TEST_F(SizeTest, AbsurdFontSizesStayUsable)
{
    EXPECT_DOUBLE_EQ(FontSizeToPoints("-5pt", 10), 0);
    EXPECT_DOUBLE_EQ(FontSizeToPoints(std::string(400, '9') + "pt", 10), MaxFontPoints);
}

TEST_F(SizeTest, LengthsInPixels)
{
    EXPECT_EQ(LengthToPixels("1in", 0, -1, 16, 8), 96);
    EXPECT_EQ(LengthToPixels("12pt", 0, -1, 16, 8), 16);
    EXPECT_EQ(LengthToPixels("3px", 0, -1, 16, 8), 3);
    EXPECT_EQ(LengthToPixels("3", 0, -1, 16, 8), 3);
    EXPECT_EQ(LengthToPixels("2em", 0, -1, 16, 8), 32);
    EXPECT_EQ(LengthToPixels("2ex", 0, -1, 16, 8), 16);
    EXPECT_EQ(LengthToPixels("1pc", 0, -1, 16, 8), 16);
    EXPECT_EQ(LengthToPixels("25%", 200, -1, 16, 8), 50);
    EXPECT_EQ(LengthToPixels("-4px", 0, -1, 16, 8), -4);
}

TEST_F(SizeTest, LengthFallbacks)
{
    EXPECT_EQ(LengthToPixels("5furlongs", 0, -7, 16, 8), -7);
    EXPECT_EQ(LengthToPixels("auto", 0, AutoValue, 16, 8), AutoValue);
    EXPECT_EQ(LengthToPixels("", 0, -7, 16, 8), 0);
    EXPECT_EQ(LengthToPixels("1.5", 10, 0, 16, 8, TUnitless::Multiple), 15);
    EXPECT_EQ(LengthToPixels(std::string(400, '9') + "px", 0, -7, 16, 8), 100000000);
}

TEST_F(SizeTest, LengthsRoundHalvesToEven)
{
    EXPECT_EQ(LengthToPixels("2.5px", 0, 0, 16, 8), 2);
    EXPECT_EQ(LengthToPixels("3.5px", 0, 0, 16, 8), 4);
    EXPECT_EQ(LengthToPixels("2.6px", 0, 0, 16, 8), 3);
}

TEST(FontTables, GenericFamiliesAndCodePages)
{
    EXPECT_EQ(GenericFamilyFont("monospace"), "Courier New");
    EXPECT_EQ(GenericFamilyFont("cursive"), "Lucida Handwriting");
    EXPECT_EQ(GenericFamilyFont("Verdana"), "Verdana");
    EXPECT_EQ(CodePageOfCharset(204), 1251);
    EXPECT_EQ(CodePageOfCharset(255), 1);
    EXPECT_EQ(CodePageOfCharset(0), 1252);
    EXPECT_EQ(CodePageOfCharset(200), std::nullopt);
    EXPECT_DOUBLE_EQ(FontSizeTable(TFontTable::Normal, 7, 12), 36);
    EXPECT_DOUBLE_EQ(FontSizeTable(TFontTable::Pre, 3, 24), 20);
}

} // namespace
