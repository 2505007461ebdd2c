// Inheritance, assignment, the cascade, fonts and resolved box values.
#include "StyleTestSupport.h"

namespace {

class CascadeTest : public StyleTest {};

TEST_F(CascadeTest, SpanHandsItsBackgroundToABlockInside)
{
    sheet("span, p { background-color: #00ff00; margin-left: 7px }");
    push("span");
    TProperties& div = push("div");
    EXPECT_EQ(IntOf(div[piBackgroundColor]), int(RGBColor(0, 255, 0) | ClPaletteFlag));
    EXPECT_EQ(TextOf(div[piMarginLeft]), "7px");
    EXPECT_FALSE(div.isSetHere(piBackgroundColor));
}

TEST_F(CascadeTest, ParagraphKeepsItsBoxToItself)
{
    sheet("p { background-color: #00ff00; margin-left: 7px; border-style: solid; color: #0000ff }");
    push("p");
    TProperties& div = push("div");
    EXPECT_TRUE(IsEmpty(div[piBackgroundColor]));
    EXPECT_TRUE(IsEmpty(div[piBorderStyle]));
    EXPECT_EQ(IntOf(div[piMarginLeft]), NotSet);
    EXPECT_EQ(IntOf(div[piColor]), int(RGBColor(0, 0, 255) | ClPaletteFlag)); // text colour is inherited
}

TEST_F(CascadeTest, PresentationalAttributesNeverOverrideStyleRules)
{
    sheet("p.styled { color: #0000ff }");
    TProperties& styled = push("p", "styled");
    styled.assign(piColor, int(RGBColor(255, 0, 0)));
    EXPECT_EQ(IntOf(styled[piColor]), int(RGBColor(0, 0, 255) | ClPaletteFlag));

    TProperties& inlineStyled = push("span", "", "", "color: #00ff00");
    inlineStyled.assign(piColor, int(RGBColor(255, 0, 0)));
    EXPECT_EQ(IntOf(inlineStyled[piColor]), int(RGBColor(0, 255, 0) | ClPaletteFlag));

    TProperties& plain = push("font");
    plain.assign(piColor, int(RGBColor(255, 0, 0)));
    plain.assign(piColor, int(RGBColor(0, 0, 1)));
    EXPECT_EQ(IntOf(plain[piColor]), int(RGBColor(255, 0, 0))); // the first attribute stays
}

TEST_F(CascadeTest, LaterKeysOverrideEarlierOnes)
{
    sheet("p { color: #000001 } .c { color: #000002; margin-top: 1px } p.c { margin-top: 2px }"
          "#i { color: #000003 }");
    TProperties& byClass = push("p", "c");
    EXPECT_EQ(IntOf(byClass[piColor]), int(RGBColor(0, 0, 2) | ClPaletteFlag));
    EXPECT_EQ(TextOf(byClass[piMarginTop]), "2px");
    TProperties& byId = push("p", "c", "i");
    EXPECT_EQ(IntOf(byId[piColor]), int(RGBColor(0, 0, 3) | ClPaletteFlag));
    TProperties& styled = push("p", "c", "i", "color: #000004");
    EXPECT_EQ(IntOf(styled[piColor]), int(RGBColor(0, 0, 4) | ClPaletteFlag));
}

TEST_F(CascadeTest, DescendantRuleReachesThroughIntermediateElements)
{
    sheet("div p { color: #0000ff } div.box em { font-weight: bold }");
    TProperties& outside = push("p");
    EXPECT_FALSE(outside.isSetHere(piColor));
    sets.pop_back();

    push("div", "box");
    push("span");
    TProperties& inside = push("p");
    EXPECT_EQ(IntOf(inside[piColor]), int(RGBColor(0, 0, 255) | ClPaletteFlag));
    EXPECT_TRUE(push("em").isBold());
}

TEST_F(CascadeTest, DescendantAncestorsMustNestInOrder)
{
    sheet("ul ol li { color: #0000ff }");
    push("ol");
    push("ul");
    EXPECT_FALSE(push("li").isSetHere(piColor));
    sets.resize(1);
    push("ul");
    push("ol");
    EXPECT_TRUE(push("li").isSetHere(piColor));
}

TEST_F(CascadeTest, FontSizesResolveAgainstTheParent)
{
    sheet("div { font-size: 10pt } p { font-size: 2em } span { font-size: 120% }");
    push("div");
    EXPECT_DOUBLE_EQ(RealOf(push("p")[piFontSize]), 20);
    sets.pop_back();
    EXPECT_DOUBLE_EQ(RealOf(push("span")[piFontSize]), 12);
    EXPECT_DOUBLE_EQ(RealOf(push("h1")[piFontSize]), 24);
}

TEST_F(CascadeTest, DefaultSheetParagraphMargins)
{
    TProperties& p = push("p");
    TBoxValues box = p.boxValues(400, 0, 16, 8);
    EXPECT_EQ(box[piMarginTop], 14);
    EXPECT_TRUE(box.defaultTopMargin);
    push("pre");
    TProperties& inPre = push("p");
    TBoxValues preBox = inPre.boxValues(400, 0, 16, 8);
    EXPECT_EQ(preBox[piMarginTop], 0);
    EXPECT_FALSE(preBox.defaultTopMargin);
    EXPECT_TRUE(preBox.defaultBottomMargin);
}

TEST_F(CascadeTest, LinkFontsForTheFourStates)
{
    sheet("a:hover { color: #00ff00; text-decoration: none } a:visited { font-weight: bold }");
    TProperties& link = push("a", "", "", "", "link");
    ASSERT_TRUE(link.isLink());
    const TFontInfoArray& fonts = *link.linkFonts();
    EXPECT_EQ(fonts[lsNormal].color, RGBColor(0, 0, 255) | ClPaletteFlag);
    EXPECT_TRUE(fonts[lsNormal].style & fsUnderline);
    EXPECT_EQ(fonts[lsVisited].color, RGBColor(128, 0, 128) | ClPaletteFlag);
    EXPECT_TRUE(fonts[lsVisited].style & fsBold);
    EXPECT_EQ(fonts[lsHover].color, RGBColor(0, 255, 0) | ClPaletteFlag);
    EXPECT_FALSE(fonts[lsHover].style & fsBold);
    EXPECT_FALSE(fonts[lsHover].style & fsUnderline);
    EXPECT_TRUE(fonts[lsHoverVisited].style & fsBold);
    EXPECT_EQ(fonts[lsHoverVisited].color, RGBColor(0, 255, 0) | ClPaletteFlag);
    EXPECT_TRUE(styles.hoverUsed());

    // Elements inside the link carry the link fonts and restyle all four.
    TProperties& bold = push("b");
    ASSERT_NE(bold.linkFonts(), nullptr);
    for (int state = lsNormal; state <= lsHoverVisited; ++state)
        EXPECT_TRUE((*bold.linkFonts())[state].style & fsBold) << state;
    bold.assign(piColor, int(RGBColor(1, 2, 3)));
    EXPECT_EQ((*bold.linkFonts())[lsHover].color, RGBColor(1, 2, 3));
}

TEST_F(CascadeTest, ReinheritKeepsOwnValuesAndTakesTheNewParents)
{
    sheet("b { color: #0000ff } i { font-style: italic }");
    push("div", "", "", "color: #ff0000; letter-spacing: 2px");
    push("b");
    TProperties& italic = push("i");
    EXPECT_EQ(IntOf(italic[piColor]), int(RGBColor(0, 0, 255) | ClPaletteFlag));
    // </b> closes the B under the I: the I now sits on the DIV.
    std::vector<const TProperties*> below = {sets[0].get(), sets[1].get()};
    italic.reinherit(*sets[1], styles, below);
    EXPECT_EQ(IntOf(italic[piColor]), int(RGBColor(255, 0, 0) | ClPaletteFlag));
    EXPECT_EQ(TextOf(italic[piFontStyle]), "italic");
    EXPECT_EQ(TextOf(italic[piLetterSpacing]), "2px");
}

TEST_F(CascadeTest, CopiesUnderOneKeyApplyInTheOrderAdded)
{
    sheet("p { color: #000001; margin-top: 1px }");
    TProperties extra;
    extra.setValue(piColor, int(RGBColor(0, 0, 9)));
    styles.addCopy("p", extra);
    TProperties& p = push("p");
    EXPECT_EQ(IntOf(p[piColor]), int(RGBColor(0, 0, 9)));
    EXPECT_EQ(TextOf(p[piMarginTop]), "1px"); // the copy's unset margin does not erase it
    EXPECT_EQ(styles.nextOrdinal(), "10");
    EXPECT_EQ(styles.nextOrdinal(), "11");
}

TEST_F(CascadeTest, LinkFontsFollowTheCharacterSetAndLeaveWithTheLink)
{
    TProperties& link = push("a", "", "", "", "link");
    link.setCharacterSet(204);
    EXPECT_EQ((*link.linkFonts())[lsHover].charset, 204);
    TProperties& inside = push("span");
    ASSERT_NE(inside.linkFonts(), nullptr);
    // The link is closed under the span: the span is no link any more.
    std::vector<const TProperties*> below = {sets[0].get()};
    inside.reinherit(*sets[0], styles, below);
    EXPECT_EQ(inside.linkFonts(), nullptr);
}

class CharsetTest : public StyleTest {};

TEST_F(CharsetTest, CharacterSetsAndCodePages)
{
    TProperties props;
    props.setCharacterSet(31);
    EXPECT_EQ(props.charset(), 238);
    EXPECT_EQ(props.codePage(), 28592);
    props.setCharacterSet(204);
    EXPECT_EQ(props.codePage(), 1251);
    props.setCharacterSet(200); // unlisted: code page unchanged
    EXPECT_EQ(props.charset(), 200);
    EXPECT_EQ(props.codePage(), 1251);
    props.setCharacterSet(99); // the test screen offers set 0 instead
    EXPECT_EQ(props.charset(), 0);
    EXPECT_EQ(props.codePage(), 1252);
    props.setCharacterSet(1);
    EXPECT_EQ(props.charset(), 1);
    EXPECT_EQ(props.codePage(), 0);
}

class FontTest : public StyleTest {};

TEST_F(FontTest, FontFromValues)
{
    TProperties& p = push("p", "", "", "font-family: 'Fancy', sans-serif; font-size: 12pt; font-weight: 700;"
                                       "text-decoration: underline line-through; letter-spacing: 0.5em");
    TMyFont font = p.font();
    EXPECT_EQ(font.name, "Arial");
    EXPECT_EQ(font.height, 16);
    EXPECT_EQ(font.style, fsBold | fsUnderline | fsStrikeOut);
    EXPECT_EQ(font.fontHeight, 18); // the fixed metrics add an eighth as internal leading
    EXPECT_EQ(p.emSize(), 16);
    EXPECT_EQ(p.exSize(), 8);
    EXPECT_EQ(font.charExtra, 8);
    ASSERT_TRUE(font.font);
    EXPECT_EQ(font.font->spec().name, "Arial");
    EXPECT_EQ(font.font->spec().height, -16);
}

TEST_F(FontTest, FontIsCachedUntilAValueChanges)
{
    TProperties& p = push("p");
    p.font();
    int created = canvas.fontsCreated;
    p.font();
    EXPECT_EQ(canvas.fontsCreated, created);
    p.setValue(piFontSize, 20.0);
    EXPECT_EQ(p.font().height, 27);
    EXPECT_GT(canvas.fontsCreated, created);
}

// Family lists are resolved once per screen and document: the same list on
// another screen, or after the screen gained a font, is resolved again.
TEST_F(FontTest, FamilyListsAreResolvedAgainForAnotherScreenOrDocument)
{
    const std::string_view list = "Fancy, Verdana, sans-serif";
    EXPECT_EQ(ResolveFontFamily(list), "Arial");
    TStyleTestCanvas other;
    other.addInstalledFamily("Fancy");
    SetStyleScreen(&other);
    EXPECT_EQ(ResolveFontFamily(list), "Fancy");
    SetStyleScreen(&canvas);
    EXPECT_EQ(ResolveFontFamily(list), "Arial");
    canvas.addInstalledFamily("Verdana");
    styles.initializeDefaults(TStyleDefaults{});
    EXPECT_EQ(ResolveFontFamily(list), "Verdana");
    EXPECT_EQ(ResolveFontFamily("Verdana"), "Verdana");
    SetStyleScreen(nullptr);
    EXPECT_EQ(ResolveFontFamily(list), "Fancy");
}

TEST_F(FontTest, SymbolFontKeepsItsCharacterSet)
{
    TProperties& p = push("span", "", "", "font-family: Symbol");
    p.setCharacterSet(204);
    EXPECT_EQ(p.font().charset, 2);
    TProperties& q = push("span", "", "", "font-family: Arial");
    EXPECT_EQ(q.font().obtainedCharset, 204);
}

class BoxTest : public StyleTest {};

TEST_F(BoxTest, ResolvedBoxValues)
{
    TProperties& div = push("div", "", "",
                            "margin: 1em auto 10% 2px; padding: 3px; border-style: solid none none none;"
                            "border-top-width: thick; border-bottom-width: 5px; width: 50%; height: 100%;"
                            "background-color: #00ff00");
    TBoxValues box = div.boxValues(400, 200, 16, 8);
    EXPECT_EQ(box[piBackgroundColor], int(RGBColor(0, 255, 0) | ClPaletteFlag));
    EXPECT_EQ(box[piMarginTop], 16);
    EXPECT_EQ(box[piMarginRight], AutoValue);
    EXPECT_EQ(box[piMarginBottom], 40);
    EXPECT_EQ(box[piMarginLeft], 2);
    EXPECT_EQ(box[piPaddingLeft], 3);
    EXPECT_EQ(box[piBorderTopWidth], 6);
    EXPECT_EQ(box[piBorderBottomWidth], 0); // no style on that side
    EXPECT_EQ(box[piBorderTopStyle], 0);
    EXPECT_EQ(box[piWidth], 200);
    EXPECT_EQ(box[piHeight], 200 - 3 - 3 - 6);
    EXPECT_EQ(box[piTop], AutoValue);
    EXPECT_EQ(box.autoCount, 1);
}

TEST_F(BoxTest, UnsetBoxValues)
{
    TProperties& div = push("div", "", "", "border-style: dashed");
    TBoxValues box = div.boxValues(400, 200, 16, 8);
    EXPECT_EQ(box[piMarginTop], 0);
    EXPECT_EQ(box[piBorderLeftWidth], 4); // medium when a style is given
    EXPECT_EQ(box[piWidth], AutoValue);
    EXPECT_EQ(box[piHeight], 0);
    EXPECT_EQ(box[piLeft], AutoValue);
    EXPECT_EQ(box.autoCount, 1);
    EXPECT_TRUE(div.hasVisibleBorder());
}

TEST_F(BoxTest, KeywordReaders)
{
    TProperties& p = push("div", "", "",
                          "vertical-align: super; float: right; clear: both; text-align: center;"
                          "list-style-type: upper-roman; list-style-image: url('dot.gif');"
                          "background-position: right bottom; background-repeat: repeat-x;"
                          "background-attachment: fixed; position: absolute; display: none; visibility: hidden;"
                          "z-index: 3; line-height: 1.5; text-indent: 10%; page-break-before: always;"
                          "page-break-inside: avoid; font-variant: small-caps");
    EXPECT_EQ(p.verticalAlign(), TAlignment::Super);
    EXPECT_EQ(p.floatValue(), TAlignment::Right);
    EXPECT_EQ(p.clear(), TClear::Both);
    EXPECT_EQ(p.textAlign(), TAlignment::Middle);
    EXPECT_EQ(p.listStyleType(), TListStyle::UpperRoman);
    EXPECT_EQ(p.listStyleImage(), "dot.gif");
    EXPECT_EQ(p.backgroundPosition().x, (TLengthOrPercent{100, true}));
    EXPECT_EQ(p.backgroundPosition().y, (TLengthOrPercent{100, true}));
    EXPECT_EQ(p.backgroundRepeat(), TBackgroundRepeat::Horizontal);
    EXPECT_TRUE(p.backgroundFixed());
    EXPECT_EQ(p.position(), TPositionType::Absolute);
    EXPECT_TRUE(p.displayNone());
    EXPECT_TRUE(p.isHidden());
    EXPECT_EQ(p.zIndex(), 3);
    EXPECT_EQ(p.lineHeight(20), 30);
    EXPECT_EQ(p.textIndent(), (TLengthOrPercent{10, true}));
    EXPECT_TRUE(p.pageBreakBefore());
    EXPECT_FALSE(p.pageBreakAfter());
    EXPECT_TRUE(p.pageBreakInside());
    EXPECT_EQ(p.fontVariant(), "small-caps");
    EXPECT_EQ(AlignmentFromText("AbsMiddle"), TAlignment::Middle);
}

TEST_F(BoxTest, KeywordReadersWithoutValues)
{
    TProperties& p = push("span", "", "", "background-position: 10px; background-image: none");
    EXPECT_EQ(p.verticalAlign(), std::nullopt);
    EXPECT_EQ(p.floatValue(), std::nullopt);
    EXPECT_EQ(p.backgroundImage(), std::nullopt);
    EXPECT_EQ(p.backgroundPosition().x, (TLengthOrPercent{10, false}));
    EXPECT_EQ(p.backgroundPosition().y, (TLengthOrPercent{50, true}));
    EXPECT_EQ(p.lineHeight(20), -1);
    EXPECT_EQ(p.ownColor(), ClNone);
    EXPECT_EQ(p.position(), TPositionType::Static);
}

} // namespace
