// Today's box layout read from style sheets: shrink-to-fit floats, overflow
// and clipping, positioned boxes, size limits, box sizing, centring and list
// indents. Each page is built from HTML and laid out on the fixed-metrics
// canvas (every character 8 pixels wide, lines 19 high).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HtmlPageSupport.h"
#include "html/layout/TBlock.h"
#include "html/layout/TSectionList.h"
#include "html/style/StyleValues.h"

using namespace pagetest;

TEST(ShrinkToFit, FloatsWithoutAWidthSitSideBySide)
{
    Page p(Html("<div class=m style='float:left'>Home</div><div class=m style='float:left'>About us</div>"
                "<div class=m style='float:left'>Download</div>"));
    std::vector<TBlock*> menu = p.Blocks("m");
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0]->NewWidth, 4 * 8);
    EXPECT_EQ(menu[1]->NewWidth, 8 * 8);
    EXPECT_EQ(menu[1]->ContentLeft, 32);
    EXPECT_EQ(menu[2]->ContentLeft, 32 + 64);
    EXPECT_EQ(menu[2]->YValue, menu[0]->YValue);
}

TEST(ShrinkToFit, AFloatNeverGetsWiderThanTheRoomUnlessAWordNeedsIt)
{
    std::string words;
    for (int i = 0; i < 40; ++i)
        words += "word ";
    Page p(Html("<div class=f style='float:right'>" + words + "</div><div class=g style='float:left'>"
                "Unbreakableword</div>"),
           300);
    EXPECT_EQ(p.Only("f").NewWidth, 300);
    Page narrow(Html("<div class=g style='float:left'>Unbreakableword</div>"), 40);
    EXPECT_EQ(narrow.Only("g").NewWidth, 15 * 8);
}

TEST(ShrinkToFit, AFloatedSpanIsAFloatedBoxOfItsOwn)
{
    Page p(Html("<p>Before <span class=s style='float:right'>Right</span>after <b>bold</b></p>"));
    TBlock& span = p.Only("s");
    EXPECT_TRUE(span.Floats());
    EXPECT_EQ(span.NewWidth, 5 * 8);
    EXPECT_EQ(span.ContentLeft, 800 - 40);
    // The text after it stays in the paragraph's flow, not in the float.
    EXPECT_EQ(span.Content().Sections.size(), 1u);
    EXPECT_NE(p.Painted(u"bold"), nullptr);
}

TEST(Overflow, AWidePreformattedLineDoesNotWidenItsBlock)
{
    std::string line(200, 'x');
    Page p(Html("<div class=box style='border: 1px solid black'><pre>" + line + "</pre></div>"
                "<div class=next>next</div>"));
    EXPECT_EQ(p.Only("box").NewWidth, 800 - 2);
    EXPECT_EQ(p.Only("next").NewWidth, 800);
    // Visible overflow still lets the document scroll to it.
    EXPECT_GT(p.maxWidth, 1000);
}

TEST(Overflow, ABlockWithItsOwnWidthKeepsIt)
{
    Page p(Html("<div class=box style='width: 100px'>Unbreakablewordthatiswide</div>"
                "<div class=wide style='width: 1000px'>x</div>"));
    EXPECT_EQ(p.Only("box").NewWidth, 100);
    EXPECT_EQ(p.Only("wide").NewWidth, 1000);
}

TEST(Overflow, HiddenAndAutoClipTheirContentAndWidenNothing)
{
    std::string line(1000, 'x');
    for (const char* overflow : {"hidden", "auto", "scroll"}) {
        SCOPED_TRACE(overflow);
        Page p(Html(std::string("<div class=box style='overflow: ") + overflow + "; height: 40px'><pre>" + line +
                    "</pre><p>second<p>third<p>fourth</div><p>after"));
        EXPECT_EQ(p.maxWidth, 800);
        TBlock& box = p.Only("box");
        EXPECT_EQ(OwnHeight(box), 40);
        const TDrawCall* pre = p.Painted(u"xxxx");
        ASSERT_NE(pre, nullptr);
        EXPECT_EQ(pre->clip.right, 800);
        EXPECT_EQ(pre->clip.bottom, 40);
        // Hit tests outside the box do not reach the clipped content.
        TFloatingObj* obj = nullptr;
        int ox = 0, oy = 0;
        EXPECT_FALSE(box.ObjectAt(900, 10, obj, ox, oy));
        TLinkHit hit;
        EXPECT_EQ(box.LinkAt(p.canvas, 10, 70, hit), 0);
    }
}

TEST(Overflow, ClippedContentStaysInTheTextExport)
{
    Page p(Html("<div style='overflow: hidden; height: 19px'>first line<br>hidden line</div>"));
    p.doc.SelB = 0;
    p.doc.SelE = 0x7FFFFFFF;
    std::u16string text = p.doc.GetSelText();
    EXPECT_NE(text.find(u"hidden line"), std::u16string::npos);
}

TEST(Positioning, AbsoluteBoxesAnchorToAnySideOfTheirContainingBlock)
{
    Page p(Html("<div class=c style='position: relative; width: 400px; height: 300px; margin-left: 100px'>"
                "<div class=r style='position: absolute; right: 10px; top: 20px'>Right</div>"
                "<div class=b style='position: absolute; left: 0; bottom: 0'>Bottom</div>"
                "<div class=s style='position: absolute; left: 50px; right: 50px; top: 0'>Stretch</div>"
                "</div>"));
    TBlock& right = p.Only("r");
    EXPECT_EQ(right.ContentLeft + right.NewWidth, 100 + 400 - 10);
    EXPECT_EQ(right.YValue, 20);
    TBlock& bottom = p.Only("b");
    EXPECT_EQ(bottom.ContentLeft, 100);
    EXPECT_EQ(bottom.YValue, 300 - 19);
    TBlock& stretch = p.Only("s");
    EXPECT_EQ(stretch.ContentLeft, 150);
    EXPECT_EQ(stretch.NewWidth, 300);
    // Out of the flow: the container keeps its own height.
    EXPECT_EQ(OwnHeight(p.Only("c")), 300);
}

TEST(Positioning, BottomAnchorsToAContainingBlockTheContentMakesTall)
{
    // The container's height comes from its three paragraphs; the boxes that
    // hang from its bottom are placed once it is known.
    Page p(Html("<div class=c style='position: relative'><p style='margin:0'>one</p><p style='margin:0'>two</p>"
                "<p style='margin:0'>three</p>"
                "<div class=b style='position: absolute; bottom: 0; right: 0; width: 50px'>corner</div>"
                "<div class=t style='position: absolute; top: 10px; bottom: 10px'>tall</div></div>"));
    EXPECT_EQ(OwnHeight(p.Only("c")), 3 * 19);
    EXPECT_EQ(p.Only("b").YValue, 3 * 19 - 19);
    EXPECT_EQ(p.Only("b").ContentLeft, 800 - 50);
    TBlock& tall = p.Only("t");
    EXPECT_EQ(tall.YValue, 10);
    EXPECT_EQ(tall.DrawBot - tall.YValue, 3 * 19 - 20);
}

TEST(Positioning, AbsoluteBoxesInTableCellsAnchorToThePositionedBoxAround)
{
    Page p(Html("<div style='position: relative; margin-left: 100px; margin-top: 30px'><table><tr><td>cell"
                "<div class=a style='position: absolute; top: 10px; left: 20px'>abs</div></td></tr></table></div>"
                "<table><tr><td><div class=d style='position: absolute; top: 5px; left: 7px'>doc</div></td></tr>"
                "</table>"));
    const TDrawCall* inCell = p.Painted(u"abs");
    ASSERT_NE(inCell, nullptr);
    const TRect cellBox = inCell->rect;
    EXPECT_EQ(cellBox.left, 100 + 20);
    // Without a positioned box around, the document is the containing block.
    const TDrawCall* inDoc = p.Painted(u"doc");
    ASSERT_NE(inDoc, nullptr);
    EXPECT_EQ(inDoc->rect.left, 7);
    EXPECT_EQ(cellBox.top - inDoc->rect.top, (30 + 10) - 5);
}

TEST(Positioning, AbsoluteBoxWithoutOffsetsStaysWhereTheFlowHadIt)
{
    Page p(Html("<p style='margin:0'>line one</p><div class=a style='position: absolute'>Here</div>"));
    EXPECT_EQ(p.Only("a").YValue, 19);
    EXPECT_EQ(p.Only("a").ContentLeft, 0);
}

TEST(Positioning, RelativeBoxesPaintShiftedAndKeepTheirSpace)
{
    Page p(Html("<div class=r style='position: relative; left: 30px; top: 10px'>Shifted</div>"
                "<div class=n>Next</div>"));
    EXPECT_EQ(p.Only("n").YValue, 19);
    Page plain(Html("<div>Shifted</div>"));
    const TDrawCall* unshifted = plain.Painted(u"Shifted");
    ASSERT_NE(unshifted, nullptr);
    const int left = unshifted->rect.left, top = unshifted->rect.top;
    const TDrawCall* shifted = p.Painted(u"Shifted");
    ASSERT_NE(shifted, nullptr);
    EXPECT_EQ(shifted->rect.left, left + 30);
    EXPECT_EQ(shifted->rect.top, top + 10);
    // Hit tests find the text where it is drawn.
    TCaretHit hit;
    EXPECT_GE(p.doc.PositionAt(p.canvas, 35, 15, hit), 0);
    Page right(Html("<div style='position: relative; right: 30px; bottom: 5px'>Shifted</div>"));
    const TDrawCall* back = right.Painted(u"Shifted");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->rect.left, left - 30);
    EXPECT_EQ(back->rect.top, top - 5);
}

TEST(Positioning, FixedBoxesStayInTheWindowWhileTheDocumentScrolls)
{
    std::string filler;
    for (int i = 0; i < 200; ++i)
        filler += "<p>filler</p>";
    Page p(Html("<div class=f style='position: fixed; right: 0; top: 0; width: 100px'>Sidebar</div>" + filler));
    TBlock& fixed = p.Only("f");
    EXPECT_EQ(fixed.ContentLeft, 700);
    const TDrawCall* atTop = p.Painted(u"Sidebar");
    ASSERT_NE(atTop, nullptr);
    const int top = atTop->rect.top;
    EXPECT_LT(top, 5);
    for (int scrolled : {1000, 2500}) {
        const TDrawCall* side = p.Painted(u"Sidebar", scrolled);
        ASSERT_NE(side, nullptr) << scrolled;
        EXPECT_EQ(side->rect.top, top) << scrolled;
    }
    // Hit tests find it where the window shows it.
    p.doc.ScrollTo(2500);
    TCaretHit hit;
    EXPECT_GE(p.doc.PositionAt(p.canvas, 710, 2505, hit), 0);
    // Out of the flow: the first paragraph starts at the top.
    const TDrawCall* first = p.Painted(u"filler");
    ASSERT_NE(first, nullptr);
    EXPECT_LT(first->rect.top, 40);
}

TEST(Positioning, ZIndexOrdersPositionedSiblings)
{
    Page p(Html("<div style='position:absolute; z-index: 5; top:0'>Top</div>"
                "<div style='position:absolute; z-index: -2147483648; top:0'>Under</div>"
                "<div style='position:absolute; z-index: 2147483647; top:0'>Highest</div>"));
    std::vector<TDrawCall> texts = p.PaintTexts();
    std::vector<std::u16string> order;
    for (const TDrawCall& c : texts)
        order.push_back(c.text);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], u"Under");
    EXPECT_EQ(order[1], u"Top");
    EXPECT_EQ(order[2], u"Highest");
}

TEST(Positioning, AbsurdOffsetsAndSizesAreClamped)
{
    Page p(Html("<div class=a style='position:absolute; left: 1e9px; top: 1e9px; right: -1e9px; bottom: 1e12px'>A</div>"
                "<div class=b style='position:absolute; left: 10px; right: 1e9px; height: -5px; bottom: 0'>B</div>"
                "<div style='position:fixed; bottom: 100%; max-width: -3px; min-height: 1e10px'>C</div>"
                "<div style='width: 1e10px; box-sizing: border-box; padding: 1e9px'>D</div>"));
    EXPECT_GE(p.Only("b").NewWidth, 0);
    EXPECT_LE(p.Only("a").ContentLeft, DocumentLimit);
    p.PaintTexts(1000000);
}

TEST(SizeLimits, MaxWidthWithAutoMarginsCentres)
{
    Page p(Html("<div class=c style='max-width: 400px; margin: 0 auto'>text</div>"
                "<div class=n style='min-width: 900px'>x</div>"
                "<div class=p style='max-width: 50%'>x</div>"));
    EXPECT_EQ(p.Only("c").NewWidth, 400);
    EXPECT_EQ(p.Only("c").ContentLeft, 200);
    EXPECT_EQ(p.Only("n").NewWidth, 900);
    EXPECT_EQ(p.Only("p").NewWidth, 400);
}

TEST(SizeLimits, HeightsStayWithinMinAndMax)
{
    Page p(Html("<div class=a style='min-height: 100px'>one</div>"
                "<div class=b style='max-height: 20px; overflow: hidden'>one<br>two<br>three</div>"
                "<div class=c>after</div>"));
    EXPECT_EQ(OwnHeight(p.Only("a")), 100);
    EXPECT_EQ(OwnHeight(p.Only("b")), 20);
    EXPECT_EQ(p.Only("c").YValue, 120);
}

TEST(SizeLimits, BorderBoxSizingIncludesPaddingAndBorder)
{
    Page p(Html("<div class=a style='box-sizing: border-box; width: 200px; padding: 10px; border: 5px solid'>x</div>"
                "<div class=b style='width: 200px; padding: 10px'>x</div>"));
    EXPECT_EQ(p.Only("a").NewWidth, 200 - 30);
    EXPECT_EQ(p.Only("b").NewWidth, 200);
}

TEST(Centring, ABodyWithAWidthAndAutoMarginsIsCentred)
{
    Page p("<html><head><style>body { margin: 0 auto; width: 50% }</style></head><body><div class=d>x</div>");
    EXPECT_EQ(p.Only("d").ContentLeft, 200);
    EXPECT_EQ(p.Only("d").NewWidth, 400);
}

TEST(ListIndent, ComesFromTheListsOwnMarginAndPadding)
{
    Page plain(Html("<ul class=l><li>item</ul>"));
    Page none(Html("<style>ul { padding: 0; margin: 0 }</style><ul class=l><li>item</ul>"));
    Page padded(Html("<style>ul { padding-left: 10px }</style><ul class=l><li>item</ul>"));
    Page margin(Html("<style>ul { margin-left: 5px }</style><ul class=l><li>item</ul>"));
    EXPECT_EQ(plain.Only("l").ContentLeft, 35);
    EXPECT_EQ(none.Only("l").ContentLeft, 0);
    EXPECT_EQ(padded.Only("l").ContentLeft, 10);
    EXPECT_EQ(margin.Only("l").ContentLeft, 5 + 35);
}

TEST(WhiteSpace, PreWrapWrapsAPreformattedLineAtSpaces)
{
    std::string words;
    for (int i = 0; i < 60; ++i)
        words += "word ";
    Page kept(Html("<pre class=p>" + words + "</pre>"), 300);
    Page wrapped(Html("<pre class=p style='white-space: pre-wrap'>" + words + "</pre>"), 300);
    EXPECT_GT(kept.maxWidth, 300);
    EXPECT_EQ(wrapped.maxWidth, 300);
    EXPECT_GT(OwnHeight(wrapped.Only("p")), 3 * OwnHeight(kept.Only("p")));
}

TEST(WhiteSpace, NowrapKeepsTextOnOneLine)
{
    std::string words;
    for (int i = 0; i < 60; ++i)
        words += "word ";
    Page p(Html("<div class=n style='white-space: nowrap'>" + words + "</div><div class=w>" + words + "</div>"), 300);
    EXPECT_EQ(OwnHeight(p.Only("n")), 19);
    EXPECT_GT(OwnHeight(p.Only("w")), 19);
}

TEST(WhiteSpace, BreakWordCutsAWordWiderThanTheLine)
{
    std::string word(100, 'a');
    Page cut(Html("<div class=d style='overflow-wrap: break-word'>" + word + "</div>"), 200);
    Page old(Html("<div class=d style='word-wrap: break-word'>" + word + "</div>"), 200);
    Page kept(Html("<div class=d>" + word + "</div>"), 200);
    EXPECT_EQ(OwnHeight(kept.Only("d")), 19);
    EXPECT_EQ(OwnHeight(cut.Only("d")), 4 * 19); // 800 pixels of word in 200-pixel lines
    EXPECT_EQ(OwnHeight(old.Only("d")), 4 * 19);
}

TEST(Positioning, AnAbsoluteBoxLaysItsLinesOutApartFromItsParentsEdges)
{
    Page p(Html("<div style='position: fixed; width: 0; overflow: hidden'>"
                "<div class=a style='position: fixed; top: 0; width: 300px'>three short words</div></div>"
                "<div style='width: 50px'><div class=b style='position: absolute; width: 300px'>three short words</div>"
                "<div class=f style='float: left; position: absolute'>x</div></div>"));
    EXPECT_EQ(OwnHeight(p.Only("a")), 19);
    EXPECT_EQ(OwnHeight(p.Only("b")), 19);
    EXPECT_FALSE(p.Only("f").Floats());
}
