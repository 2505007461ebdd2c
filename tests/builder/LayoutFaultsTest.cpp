// Pages that used to lay out or paint wrongly: floats at the very top, lists
// in list items, tabs in preformatted text.
#include <map>

#include "BuilderTestSupport.h"
#include "html/layout/TDocumentObjects.h"
#include "html/layout/Backgrounds.h"
#include "html/layout/TSectionBase.h"

using namespace buildtest;

namespace {

// A page whose pictures are plain 60x40 bitmaps, painted on the test canvas.
struct PicturePage {
    TFixedCanvas canvas;
    TSectionList doc;
    TStyleList styles;

    explicit PicturePage(const std::string& html)
    {
        SetStyleScreen(&canvas);
        doc.Objects.Host.bitmapRequest = [](const std::string& name, TBitmap& bitmap, TColor& color) {
            if (name.find("missing") != std::string::npos)
                return false;
            color = ClNone;
            bitmap = TBitmap(60, 40, 0xFF336699u);
            return true;
        };
        HtmlParseString(html, doc, styles, THtmlParseSettings{});
        int maxWidth = 0;
        doc.LayOut(canvas, 0, 800, 600, maxWidth);
    }
    ~PicturePage() { SetStyleScreen(nullptr); }

    // The pictures drawn when the band [top, top + 300) is painted.
    std::vector<TRect> PaintedPictures(int top = 0)
    {
        canvas.clearCalls();
        TPaintContext pc{canvas, {0, 0, 800, 300}};
        pc.yOffset = top;
        doc.PaintDocument(pc, 0);
        std::vector<TRect> pictures;
        for (const TDrawCall& c : canvas.calls())
            if (c.kind == TDrawKind::Bitmap)
                pictures.push_back(c.rect);
        return pictures;
    }
};

TEST(FloatAtTheTop, IsPaintedWithoutATopMargin)
{
    for (const char* page : {"<body marginheight=0 marginwidth=0><div><img src=a.gif align=left></div>Beside.",
                             "<body topmargin=0><img src=a.gif align=left><p>Beside.",
                             "<style>body { margin: 0 }</style><div><img src=a.gif style=\"float: left\"></div>x"}) {
        SCOPED_TRACE(page);
        PicturePage p(page);
        std::vector<TRect> pictures = p.PaintedPictures();
        ASSERT_EQ(pictures.size(), 1u);
        EXPECT_EQ(pictures[0].height(), 40);
        // Still painted while its lower part is in view.
        EXPECT_EQ(p.PaintedPictures(20).size(), 1u);
        EXPECT_TRUE(p.PaintedPictures(60).empty());
    }
}

TEST(NestedLists, EndWithoutABlankLineInsideTheItem)
{
    for (const char* list : {"<ul><li>one<ul><li>inner</li></ul></li><li>two</li></ul>",
                             "<ol><li>one<ol><li>inner</ol><li>two</ol>", "<ul><li>one<ol><li>inner</ol></ul>x"}) {
        SCOPED_TRACE(list);
        Built b(list);
        TSection* inner = SectionWith(b.doc, "inner");
        TSection* after = SectionWith(b.doc, "two") ? SectionWith(b.doc, "two") : SectionWith(b.doc, "x");
        ASSERT_TRUE(inner && after);
        const int lineHeight = inner->DrawBot - inner->DrawTop;
        const int gap = after->DrawTop - inner->DrawBot;
        if (SectionWith(b.doc, "two"))
            EXPECT_EQ(gap, 0);
        else
            EXPECT_LE(gap, DefaultParagraphMarginPixels); // the outer list's own margin only
        EXPECT_EQ(SectionWith(b.doc, "one")->DrawBot, inner->DrawTop) << lineHeight;
    }
    // A style sheet's margins for nested lists are kept.
    Built styled("<style>ul ul { margin-bottom: 30px }</style><ul><li>one<ul><li>inner</ul><li>two</ul>");
    EXPECT_EQ(SectionWith(styled.doc, "two")->DrawTop - SectionWith(styled.doc, "inner")->DrawBot, 30);
}

TEST(PreformattedTabs, MoveToEightColumnStops)
{
    Built pre("<pre>a\tb\nabcdefghi\tc\n\tx <b>y</b>\tz\nabcdefgh\tq</pre>");
    EXPECT_EQ(pre.Text(), "a       b\nabcdefghi       c\n        x y     z\nabcdefgh        q\n");
    THtmlParseSettings settings;
    TFixedCanvas canvas;
    SetStyleScreen(&canvas);
    TSectionList doc;
    TStyleList styles;
    HtmlParseTextString("1\t2\n123456789\t0\n", doc, styles, settings);
    int maxWidth = 0;
    doc.LayOut(canvas, 0, 800, 600, maxWidth);
    doc.SelB = 0;
    doc.SelE = 1 << 30;
    EXPECT_EQ(CodePage::FromUtf16(CodePage::Utf8, doc.GetSelText()).substr(0, 28), "1       2\n123456789       0\n");
    SetStyleScreen(nullptr);
}

TEST(ListStyleImage, AMissingPictureLeavesThePlainMarker)
{
    PicturePage page("<ul style=\"list-style-image: url(missing.png)\"><li>one<li>two</ul>");
    EXPECT_TRUE(page.PaintedPictures().empty());
    int discs = 0;
    for (const TDrawCall& c : page.canvas.calls())
        discs += c.kind == TDrawKind::Ellipse ? 1 : 0;
    EXPECT_EQ(discs, 2);
}

} // namespace

namespace {

TEST(BackgroundStyles, RepeatPositionAndAttachmentReachTheLayout)
{
    PicturePage page("<body background=a.gif bgproperties=fixed style=\"background-repeat: no-repeat;"
                     " background-position: center 25%\">"
                     "<div style=\"background: url(b.gif) repeat-x right; height: 100px\">x</div>"
                     "<table><tr><td style=\"background-image: url(c.gif); background-repeat: repeat-y\">c</td></tr></table>");
    const TBackgroundPlacement& body = page.doc.BackgroundPlacement;
    EXPECT_TRUE(page.doc.BackgroundFixed);
    EXPECT_EQ(body.repeat, TBackgroundRepeatKind::None);
    EXPECT_EQ(body.x.kind, TStyleLength::Kind::Percent);
    EXPECT_EQ(body.x.value, 50);
    EXPECT_EQ(body.y.value, 25);
    std::vector<TBlock*> divs = BlocksTagged(page.doc, "div");
    ASSERT_EQ(divs.size(), 1u);
    TBackgroundPlacement div = BackgroundPlacementOf(divs[0]->Style());
    EXPECT_EQ(div.repeat, TBackgroundRepeatKind::Horizontal);
    EXPECT_EQ(div.x.kind, TStyleLength::Kind::Percent);
    EXPECT_EQ(div.x.value, 100);

    // The div's 60x40 picture is repeated along one row only: 780 / 60 tiles.
    // (the body's and the cell's pictures lie elsewhere).
    std::map<int, int> tilesPerRow;
    for (const TRect& r : page.PaintedPictures())
        if (r.top >= divs[0]->DrawTop && r.top < divs[0]->DrawTop + 100)
            ++tilesPerRow[r.top];
    ASSERT_EQ(tilesPerRow.size(), 1u);
    EXPECT_GE(tilesPerRow.begin()->second, 13);
    EXPECT_LE(tilesPerRow.begin()->second, 14);
}

TEST(TextIndent, MovesTheFirstLineOfEachBlockOnly)
{
    Built b("<style>p { text-indent: 40px } div { text-indent: 10% }</style>"
            "<p>first <b>bold</b> words<br>second line</p><div>in the div</div>", 400);
    TSection* p = SectionWith(b.doc, "first");
    TSection* div = SectionWith(b.doc, "in the div");
    ASSERT_TRUE(p && div);
    EXPECT_EQ(p->FirstLineIndent, 40);
    EXPECT_EQ(div->FirstLineIndent, 38); // 10% of the 380 pixels inside the body margins
    Built plain("<p>no indent</p>");
    EXPECT_EQ(SectionWith(plain.doc, "no indent")->FirstLineIndent, 0);
}

TEST(ListStyleImage, DrawsThePictureAsTheMarker)
{
    PicturePage page("<ul style=\"list-style-image: url(dot.gif)\"><li>one<li>two</ul><ul><li>plain</ul>");
    std::vector<TRect> markers = page.PaintedPictures();
    ASSERT_EQ(markers.size(), 2u);
    TSection* one = nullptr;
    for (TSection* s : All<TSection>(page.doc))
        if (TextOf(*s) == "one")
            one = s;
    ASSERT_NE(one, nullptr);
    EXPECT_LT(markers[0].right, one->ContentLeft + 45);
}

} // namespace
