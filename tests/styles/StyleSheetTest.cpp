// The style sheet parser: STYLE element content, loaded sheets, STYLE attributes.
#include "StyleTestSupport.h"
#include "html/parse/HtmlReader.h"
#include "html/parse/TAttributeList.h"

namespace {

// Stands in for the HTML reader: gives its bytes and 0 at the end, and
// remembers how far it was read.
class ReaderSource : public TStyleSource {
public:
    explicit ReaderSource(std::string text) : FText(std::move(text)) {}
    char next() override { return FPos < FText.size() ? FText[FPos++] : 0; }
    char peek() override { return FPos < FText.size() ? FText[FPos] : 0; }
    std::string rest() const { return FText.substr(FPos); }

private:
    std::string FText;
    size_t FPos = 0;
};

class SheetTest : public StyleTest {
protected:
    const TProperties& rule(const std::string& key)
    {
        const TProperties* set = styles.find(key);
        if (!set)
            throw std::runtime_error("no rule " + key);
        return *set;
    }
    char styleElement(ReaderSource& source) { return ParseStyleSheet(styles, '>', source); }
};

TEST_F(SheetTest, StyleElementWrappedInCommentMarkers)
{
    ReaderSource source("\r<!--\r  P.note { color: red }\r-->\r</style><p>");
    EXPECT_EQ(styleElement(source), '<');
    EXPECT_EQ(source.rest(), "/style><p>");
    EXPECT_EQ(IntOf(rule("p.note")[piColor]), int(RGBColor(255, 0, 0)));
}

TEST_F(SheetTest, StyleElementThroughTheHtmlReader)
{
    InstallDocument("<html><style>\r\n<!--\r\n\tp.x {\tcolor: red }\n--></STYLE><b>bold</b>");
    NextSymbol();
    NextSymbol();
    ASSERT_EQ(ReadState.Sy, StyleSy);
    ParseStyleElement(styles);
    EXPECT_EQ(ReadState.Ch, '<');
    EXPECT_EQ(IntOf(rule("p.x")[piColor]), int(RGBColor(255, 0, 0)));
    NextSymbol();
    EXPECT_EQ(ReadState.Sy, StyleEndSy);
    NextSymbol();
    EXPECT_EQ(ReadState.Sy, BSy);
    ReleaseDocument();
}

TEST_F(SheetTest, EmptyStyleElementLeavesItsEndTag)
{
    ReaderSource source("</style>text");
    EXPECT_EQ(styleElement(source), '<');
    EXPECT_EQ(source.rest(), "/style>text");
}

TEST_F(SheetTest, StyleElementAtTheEndOfTheDocument)
{
    ReaderSource source("h1 { color: red ");
    EXPECT_EQ(styleElement(source), 0);
    EXPECT_EQ(IntOf(rule("h1")[piColor]), int(RGBColor(255, 0, 0)));
}

TEST_F(SheetTest, TagEndsASheetWithUnbalancedBraces)
{
    ReaderSource source("p { color: red; margin-top: 3px </style><b>");
    EXPECT_EQ(styleElement(source), '<');
    EXPECT_EQ(source.rest(), "/style><b>");
    EXPECT_EQ(TextOf(rule("p")[piMarginTop]), "3px");
}

TEST_F(SheetTest, UnclosedCommentStillLeavesTheEndTag)
{
    ReaderSource source("p { color: red } /* never closed </style><b>");
    EXPECT_EQ(styleElement(source), '<');
    EXPECT_EQ(source.rest(), "/style><b>");
}

TEST_F(SheetTest, GroupedSelectorsShareTheDeclarations)
{
    sheet("h1, H2 ,h3.x { color: #0000ff; text-align: center }");
    for (const char* key : {"h1", "h2", "h3.x"}) {
        EXPECT_EQ(IntOf(rule(key)[piColor]), int(RGBColor(0, 0, 255) | ClPaletteFlag)) << key;
        EXPECT_EQ(TextOf(rule(key)[piTextAlign]), "center") << key;
    }
}

TEST_F(SheetTest, DescendantSelectorKey)
{
    sheet("div p { color: red }\nul  li.x a { color: blue }");
    EXPECT_NE(styles.find("p 110div "), nullptr);
    EXPECT_NE(styles.find("a 211li.x ul "), nullptr);
}

TEST_F(SheetTest, CommentsAnywhere)
{
    sheet("/* head **/ p /* between */ { color: /* in value */ red; } /***/ b { font-weight: bold }");
    EXPECT_EQ(IntOf(rule("p")[piColor]), int(RGBColor(255, 0, 0)));
    EXPECT_EQ(TextOf(rule("b")[piFontWeight]), "bold");
}

TEST_F(SheetTest, AtRulesAreSkipped)
{
    sheet("@import url(other.css);\np { color: red }\n@media print { p { color: blue } b { x: y } }\n"
          "i { font-style: italic }");
    EXPECT_EQ(IntOf(rule("p")[piColor]), int(RGBColor(255, 0, 0)));
    EXPECT_EQ(TextOf(rule("i")[piFontStyle]), "italic");
}

TEST_F(SheetTest, MarginShorthand)
{
    sheet("p { margin: 1px 2px } div { padding: 1px 2px 3px } td { border-width: 1px 2px 3px 4px }");
    EXPECT_EQ(TextOf(rule("p")[piMarginTop]), "1px");
    EXPECT_EQ(TextOf(rule("p")[piMarginBottom]), "1px");
    EXPECT_EQ(TextOf(rule("p")[piMarginRight]), "2px");
    EXPECT_EQ(TextOf(rule("p")[piMarginLeft]), "2px");
    EXPECT_EQ(TextOf(rule("div")[piPaddingLeft]), "2px");
    EXPECT_EQ(TextOf(rule("div")[piPaddingBottom]), "3px");
    EXPECT_EQ(TextOf(rule("td")[piBorderLeftWidth]), "4px");
}

TEST_F(SheetTest, FontShorthand)
{
    sheet("p { font: bold 12pt/14pt arial } h2 { font: italic small-caps larger \"Times New Roman\", serif }");
    const TProperties& p = rule("p");
    EXPECT_EQ(TextOf(p[piFontWeight]), "bold");
    EXPECT_EQ(TextOf(p[piFontSize]), "12pt");
    EXPECT_EQ(TextOf(p[piLineHeight]), "14pt");
    EXPECT_EQ(TextOf(p[piFontFamily]), "arial");
    const TProperties& h2 = rule("h2");
    EXPECT_EQ(TextOf(h2[piFontStyle]), "italic");
    EXPECT_EQ(TextOf(h2[piFontVariant]), "small-caps");
    EXPECT_EQ(TextOf(h2[piFontSize]), "larger");
    EXPECT_EQ(TextOf(h2[piFontFamily]), "\"times new roman\",serif");
}

TEST_F(SheetTest, BorderShorthand)
{
    sheet("p { border: 1px solid #ff0000 } div { border-left: rgb(0, 0, 255) dotted thin }");
    const TProperties& p = rule("p");
    for (int side = 0; side < 4; ++side) {
        EXPECT_EQ(TextOf(p[piBorderTopWidth + side]), "1px");
        EXPECT_EQ(TextOf(p[piBorderTopStyle + side]), "solid");
        EXPECT_EQ(IntOf(p[piBorderTopColor + side]), int(RGBColor(255, 0, 0) | ClPaletteFlag));
    }
    EXPECT_EQ(TextOf(p[piBorderStyle]), "solid");
    EXPECT_EQ(IntOf(p[piBorderColor]), int(RGBColor(255, 0, 0) | ClPaletteFlag));
    const TProperties& div = rule("div");
    EXPECT_EQ(IntOf(div[piBorderLeftColor]), int(RGBColor(0, 0, 255) | ClPaletteFlag));
    EXPECT_EQ(TextOf(div[piBorderLeftStyle]), "dotted");
    EXPECT_EQ(TextOf(div[piBorderLeftWidth]), "thin");
    EXPECT_EQ(TextOf(div[piBorderStyle]), "dotted");
    EXPECT_EQ(IntOf(div[piBorderTopColor]), NotSet);
}

TEST_F(SheetTest, BackgroundAndListStyleShorthands)
{
    sheet("body { background: #ffffff url('img/back.gif') no-repeat fixed right top }"
          "ul { list-style: square url(dot.gif) } ol { list-style: upper-roman outside } dir { list-style: inside disc }");
    const TProperties& body = rule("body");
    EXPECT_EQ(IntOf(body[piBackgroundColor]), int(RGBColor(255, 255, 255) | ClPaletteFlag));
    EXPECT_EQ(TextOf(body[piBackgroundImage]), "url('img/back.gif')");
    EXPECT_EQ(TextOf(body[piBackgroundRepeat]), "no-repeat");
    EXPECT_EQ(TextOf(body[piBackgroundAttachment]), "fixed");
    EXPECT_EQ(TextOf(body[piBackgroundPosition]), "right top");
    EXPECT_EQ(TextOf(rule("ul")[piListStyleType]), "square");
    EXPECT_EQ(TextOf(rule("ul")[piListStyleImage]), "url(dot.gif)");
    EXPECT_EQ(TextOf(rule("ol")[piListStyleType]), "upper-roman");
    EXPECT_EQ(TextOf(rule("dir")[piListStyleType]), "disc");
}

TEST_F(SheetTest, UrlsResolveAgainstTheSheetsLocation)
{
    ParseStyleSheetText(styles, "body { background: url(\"img/a.gif\") } p { background-image: url(../b.gif) }",
                        "http://host/docs/css/main.css");
    EXPECT_EQ(TextOf(rule("body")[piBackgroundImage]), "url(http://host/docs/css/img/a.gif)");
    EXPECT_EQ(TextOf(rule("p")[piBackgroundImage]), "url(http://host/docs/b.gif)");

    EXPECT_EQ(ResolveStyleUrl("/data/css/", "url(x.gif)"), "url(/data/css/x.gif)");
    EXPECT_EQ(ResolveStyleUrl("/data/css", "url('x.gif')"), "url(/data/css/x.gif)");
    EXPECT_EQ(ResolveStyleUrl("/data/css/", "url(/abs/x.gif)"), "url(/abs/x.gif)");
    EXPECT_EQ(ResolveStyleUrl("/data/css/", "url(c:\\x.gif)"), "url(c:\\x.gif)");
    EXPECT_EQ(ResolveStyleUrl("http://h/a/b.css", "url(ftp://o/x.gif)"), "url(ftp://o/x.gif)");
    EXPECT_EQ(ResolveStyleUrl("http://h/a/b.css", "url(/x.gif)"), "url(http://h/x.gif)");
    EXPECT_EQ(ResolveStyleUrl("http://h/a/b.css", "url(./x/../y.gif)"), "url(http://h/a/y.gif)");
    EXPECT_EQ(ResolveStyleUrl("http://h/a/b.css", "url(../../../y.gif)"), "url(http://h/y.gif)");
    EXPECT_EQ(ResolveStyleUrl("http://h", "url(y.gif)"), "url(http://h/y.gif)");
}

TEST_F(SheetTest, LinkRules)
{
    sheet("a { color: #00ff00 } :visited { color: #0000ff }");
    EXPECT_EQ(IntOf(rule("::link")[piColor]), int(RGBColor(0, 255, 0) | ClPaletteFlag));
    EXPECT_EQ(IntOf(rule("::hover")[piColor]), int(RGBColor(0, 0, 255) | ClPaletteFlag));
    EXPECT_FALSE(styles.hoverUsed());
    sheet(":link { color: #ff0000 }");
    EXPECT_EQ(IntOf(rule("::visited")[piColor]), int(RGBColor(255, 0, 0) | ClPaletteFlag));
    sheet("a.x:hover { color: red }");
    EXPECT_TRUE(styles.hoverUsed());
}

TEST_F(SheetTest, StyleListRulesForSpecialProperties)
{
    sheet("p { color: nonsense; background-color: nonsense; visibility: hidden; text-transform: uppercase;"
          "font-variant: bogus; unknown-thing: 3; border-color: #010203 }");
    const TProperties& p = rule("p");
    EXPECT_TRUE(IsEmpty(p[piColor]));
    EXPECT_EQ(IntOf(p[piBackgroundColor]), int(ClNone));
    EXPECT_EQ(IntOf(p[piVisibility]), VisibilityHidden);
    EXPECT_EQ(IntOf(p[piTextTransform]), TransformUpper);
    EXPECT_TRUE(IsEmpty(p[piFontVariant]));
    EXPECT_EQ(IntOf(p[piBorderRightColor]), int(RGBColor(1, 2, 3) | ClPaletteFlag));
}

TEST_F(SheetTest, InlineDeclarations)
{
    auto props = ParsePropertyDeclarations("COLOR: nonsense; Margin: 1PX 2px;; background-color:bad-value;"
                                           "font-family: 'a}b<c'");
    EXPECT_EQ(IntOf((*props)[piColor]), 0);
    EXPECT_EQ(TextOf((*props)[piMarginTop]), "1px");
    EXPECT_EQ(TextOf((*props)[piMarginLeft]), "2px");
    EXPECT_EQ(IntOf((*props)[piBackgroundColor]), int(ClNone));
    EXPECT_EQ(TextOf((*props)[piFontFamily]), "a}b<c");
}

TEST_F(SheetTest, AttributeListParsesStyleAttributesWithUs)
{
    TAttributeList attributes;
    attributes.Add(TAttribute(StyleSy, 0, "STYLE", "Color: #00FF00; margin-top: 2px"));
    TProperties* inlineSet = attributes.TheStyle();
    ASSERT_NE(inlineSet, nullptr);
    EXPECT_EQ(IntOf((*inlineSet)[piColor]), int(RGBColor(0, 255, 0) | ClPaletteFlag));
    EXPECT_EQ(TextOf((*inlineSet)[piMarginTop]), "2px");
}

TEST_F(SheetTest, InlineBorderStyles)
{
    auto props = ParsePropertyDeclarations("border-style: none; border-left-style: groove");
    EXPECT_EQ(TextOf((*props)[piBorderStyle]), "groove");
    EXPECT_EQ(TextOf((*props)[piBorderTopStyle]), "none");
    EXPECT_EQ(TextOf((*props)[piBorderLeftStyle]), "groove");
}

TEST_F(SheetTest, StrayCharactersDoNotDerailTheSheet)
{
    sheet("} ;; p > b, * { color: red } [x] { } i { font-style: italic } { orphan: 1 } b { font-weight: bold");
    EXPECT_EQ(TextOf(rule("i")[piFontStyle]), "italic");
    EXPECT_EQ(TextOf(rule("b")[piFontWeight]), "bold");
    EXPECT_EQ(styles.find(""), nullptr);
}

TEST_F(SheetTest, HugeAndBrokenSheetsEnd)
{
    std::string longSelector(1 << 20, 'x');
    sheet(longSelector + " { color: red }");
    EXPECT_NE(styles.find(longSelector), nullptr);

    std::string manySelectors;
    for (int i = 0; i < 1000; ++i)
        manySelectors += (i ? ", .c" : ".c") + std::to_string(i);
    sheet(manySelectors + " { margin: 1px }");
    EXPECT_EQ(TextOf(rule(".c999")[piMarginLeft]), "1px");

    std::string groups;
    for (int i = 0; i < 50000; ++i)
        groups += "rgb(1,2,3) url(x) ";
    sheet("p { border: " + groups + "; background: " + groups + "}");
    EXPECT_EQ(IntOf(rule("p")[piBorderColor]), int(RGBColor(1, 2, 3) | ClPaletteFlag));
    std::string deepUrl = "url(";
    for (int i = 0; i < 100000; ++i)
        deepUrl += "a/./../";
    EXPECT_EQ(ResolveStyleUrl("http://h/b/c.css", deepUrl + "x.gif)"), "url(http://h/b/x.gif)");

    sheet("p { color: \"unterminated; } /* open {{{{ ");
    sheet(std::string(100000, '{') + std::string(100000, '@'));
    ReaderSource nested("@media x { { { { </style>");
    EXPECT_EQ(styleElement(nested), '<');
    EXPECT_EQ(nested.rest(), "/style>");
}

} // namespace
