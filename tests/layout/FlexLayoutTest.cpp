// Flex and grid containers built from small documents and laid out on the
// fixed-metrics canvas (16-pixel text: characters 8 wide, lines 19 high).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "gfx/TFixedCanvas.h"
#include "html/build/DocumentBuilder.h"
#include "html/layout/TBlock.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"
#include "html/style/StyleValues.h"

namespace {

struct Page {
    TFixedCanvas canvas;
    TSectionList doc;
    TStyleList styles;
    int height = 0;

    explicit Page(const std::string& body, int width = 800, const std::string& sheet = {})
    {
        SetStyleScreen(&canvas);
        std::string html = "<html><head><style>body { margin: 0 } " + sheet + "</style></head><body>" + body +
                           "</body></html>";
        HtmlParseString(html, doc, styles, THtmlParseSettings{}, THtmlParseEvents{});
        int maxWidth = 0;
        height = doc.LayOut(canvas, 0, width, 600, maxWidth);
    }
    ~Page() { SetStyleScreen(nullptr); }

    // The first block whose class is name.
    TBlock& Block(const std::string& name) const
    {
        TBlock* found = nullptr;
        std::function<void(const TCellBasic&)> walk = [&](const TCellBasic& cell) {
            for (const auto& s : cell.Sections)
                if (auto* b = dynamic_cast<TBlock*>(s.get()); b && !found) {
                    if (b->Style().className == name)
                        found = b;
                    walk(b->Content());
                }
        };
        walk(doc);
        EXPECT_TRUE(found) << "no block of class " << name;
        static TSectionList none;
        static TBlock empty(none, none, TBlockStyle{});
        return found ? *found : empty;
    }
    int X(const std::string& name) const { return Block(name).ContentLeft; }
    int Y(const std::string& name) const { return Block(name).YValue; }
    int W(const std::string& name) const { return Block(name).NewWidth; }
    int H(const std::string& name) const { return Block(name).SectionHeight; }
};

TEST(FlexRow, SidebarBesideTheContentInsteadOfAboveIt)
{
    Page p(R"(<div class=row style="display:flex"><div class=side style="width:200px">Sidebar</div>)"
           R"(<div class=main style="flex:1">Main text</div></div><p class=after>After</p>)");
    EXPECT_EQ(p.Block("row").KindName(), std::string("flex"));
    EXPECT_EQ(p.X("side"), 0);
    EXPECT_EQ(p.W("side"), 200);
    EXPECT_EQ(p.X("main"), 200);
    EXPECT_EQ(p.W("main"), 600);
    EXPECT_EQ(p.Y("main"), p.Y("side"));
    // The container is one line high and what follows comes below it.
    EXPECT_EQ(p.H("row"), 19);
    EXPECT_GE(p.Y("after"), 19);
}

TEST(FlexRow, AZeroMinWidthLetsAColumnShrinkBelowItsLongestLine)
{
    const std::string word(100, 'x'); // 800 pixels that cannot wrap
    Page p(R"(<div style="display:flex"><div style="width:200px; flex-shrink:0">Side</div>)"
           R"(<div class=main style="flex-grow:1; min-width:0">)" + word + "</div></div>"
           R"(<div style="display:flex"><div style="width:200px; flex-shrink:0">Side</div>)"
           R"(<div class=auto style="flex-grow:1">)" + word + "</div></div>"
           R"(<div style="display:flex"><div style="width:200px; flex-shrink:0">Side</div>)"
           R"(<div class=clip style="flex-grow:1; overflow:hidden; padding:0 5px">)" + word + "</div></div>");
    EXPECT_EQ(p.X("main"), 200);
    EXPECT_EQ(p.W("main"), 600);
    // Without one, the automatic minimum is the content's.
    EXPECT_EQ(p.W("auto"), 800);
    // Content clipped to the box does not hold it open either.
    EXPECT_EQ(p.W("clip"), 590);
}

TEST(FlexRow, GrowShrinkBasisAndGap)
{
    Page p(R"(<div style="display:flex; width:400px; column-gap:20px"><div class=a style="flex:1">a</div>)"
           R"(<div class=b style="flex:3">b</div></div>)"
           R"(<div style="display:flex; width:400px"><div class=c style="width:300px">c</div>)"
           R"(<div class=d style="width:300px">d</div></div>)"
           R"(<div style="display:flex; width:400px"><div class=e style="flex:0 0 100px; padding-left:10px">e</div>)"
           R"(<div class=f style="flex-shrink:0; width:350px">f</div></div>)");
    EXPECT_EQ(p.W("a"), 95); // (400 - 20) / 4
    EXPECT_EQ(p.W("b"), 285);
    EXPECT_EQ(p.X("b"), 115);
    EXPECT_EQ(p.W("c"), 200); // both shrink alike to fit
    EXPECT_EQ(p.W("d"), 200);
    EXPECT_EQ(p.W("e"), 100); // the basis is the content box
    EXPECT_EQ(p.X("e"), 10);
    EXPECT_EQ(p.X("f"), 110); // does not shrink: overflows
    EXPECT_EQ(p.W("f"), 350);
}

TEST(FlexRow, WrapJustifyOrderAndReverse)
{
    Page p(R"(<div style="display:flex; flex-wrap:wrap; width:400px; gap:10px 0">)"
           R"(<div class=w1 style="width:150px">1</div><div class=w2 style="width:150px">2</div>)"
           R"(<div class=w3 style="width:150px">3</div></div>)"
           R"(<div style="display:flex; justify-content:space-between; width:400px">)"
           R"(<div class=j1 style="width:100px">1</div><div class=j2 style="width:100px">2</div></div>)"
           R"(<div style="display:flex; width:400px"><div class=o1 style="width:100px">1</div>)"
           R"(<div class=o2 style="width:100px; order:-1">2</div></div>)"
           R"(<div style="display:flex; flex-direction:row-reverse; width:400px">)"
           R"(<div class=r1 style="width:100px">1</div><div class=r2 style="width:100px">2</div></div>)");
    EXPECT_EQ(p.Y("w1"), p.Y("w2"));
    EXPECT_EQ(p.Y("w3"), p.Y("w1") + 19 + 10); // the next row, below the row gap
    EXPECT_EQ(p.X("w3"), 0);
    EXPECT_EQ(p.X("j2"), 300);
    EXPECT_EQ(p.X("o2"), 0);
    EXPECT_EQ(p.X("o1"), 100);
    EXPECT_EQ(p.X("r1"), 300);
    EXPECT_EQ(p.X("r2"), 200);
}

TEST(FlexRow, AlignItemsAcrossTheLine)
{
    const std::string tall = R"(<div class=tall style="width:100px; height:100px">T</div>)";
    Page p(R"(<div style="display:flex">)" + tall + R"(<div class=s>stretched</div></div>)"
           R"(<div class=cc style="display:flex; align-items:center"><div style="height:100px; width:10px"></div>)"
           R"(<div class=c>centred</div></div>)"
           R"(<div class=ce style="display:flex"><div style="height:100px; width:10px"></div>)"
           R"(<div class=e style="align-self:flex-end">end</div><div class=b style="align-self:baseline">top</div></div>)");
    EXPECT_EQ(p.H("s"), 100); // the box stretches to the line...
    EXPECT_EQ(p.Y("s"), p.Y("tall")); // ...its text stays at the top
    EXPECT_EQ(p.Y("c") - p.Y("cc"), (100 - 19) / 2);
    EXPECT_EQ(p.H("c"), 19);
    EXPECT_EQ(p.Y("e") - p.Y("ce"), 100 - 19);
    EXPECT_EQ(p.Y("b"), p.Y("ce"));
}

TEST(FlexRow, WrappedLinesShareATallContainerByAlignContent)
{
    auto page = [](const std::string& alignContent) {
        return std::make_unique<Page>("<div class=box style='display:flex; flex-wrap:wrap; height:200px;" +
                                      alignContent + "'><div class=a style='width:500px'>a</div>"
                                      "<div class=b style='width:500px'>b</div></div>");
    };
    // Two lines of 19: 162 pixels to share.
    auto center = page("align-content:center");
    EXPECT_EQ(center->Y("a"), 81);
    EXPECT_EQ(center->Y("b"), 81 + 19);
    auto between = page("align-content:space-between");
    EXPECT_EQ(between->Y("a"), 0);
    EXPECT_EQ(between->Y("b"), 200 - 19);
    auto end = page("align-content:flex-end");
    EXPECT_EQ(end->Y("b"), 200 - 19);
    // Stretch (also what normal does) grows each line by half: items stretch with it.
    auto stretch = page("");
    EXPECT_EQ(stretch->Y("b"), 19 + 81);
    EXPECT_EQ(stretch->H("a"), 19 + 81);
    EXPECT_EQ(stretch->H("box"), 200);
}

TEST(FlexRow, BorderBoxPercentagesMakeColumnsThatFitOneRow)
{
    const std::string sheet = "* { box-sizing: border-box } .row { display: flex; flex-wrap: wrap }"
                              ".col3 { flex: 0 0 25%; max-width: 25%; padding: 0 15px }"
                              ".col9 { flex: 0 0 75%; max-width: 75%; padding: 0 15px }";
    // A wide line inside does not push the column onto a row of its own:
    // max-width caps what the item asks for.
    Page p("<div class=row><div class=col3>Navigation</div><div class=col9>Content<pre>" + std::string(200, 'x') +
               "</pre></div></div>",
           800, sheet);
    EXPECT_EQ(p.Y("col3"), p.Y("col9"));
    EXPECT_EQ(p.W("col3"), 200 - 30);
    EXPECT_EQ(p.X("col9"), 200 + 15);
    EXPECT_EQ(p.W("col9"), 600 - 30);
}

TEST(FlexColumn, StackedCentredAndGrownInAFixedHeight)
{
    Page p(R"(<div class=col style="display:flex; flex-direction:column; align-items:center; width:400px">)"
           R"(<div class=n1>abcd</div><div class=n2>ab</div></div>)"
           R"(<div class=fix style="display:flex; flex-direction:column; height:200px">)"
           R"(<div class=g style="flex-grow:1">grows</div><div class=last>last</div></div>)"
           R"(<div class=rev style="display:flex; flex-direction:column-reverse"><div class=v1>1</div>)"
           R"(<div class=v2>2</div></div>)");
    EXPECT_EQ(p.W("n1"), 32); // shrink to fit, centred
    EXPECT_EQ(p.X("n1"), (400 - 32) / 2);
    EXPECT_EQ(p.Y("n2"), p.Y("n1") + 19);
    EXPECT_EQ(p.H("g"), 200 - 19); // takes what the last one leaves
    EXPECT_EQ(p.Y("last"), p.Y("fix") + 200 - 19);
    EXPECT_EQ(p.H("fix"), 200);
    EXPECT_LT(p.Y("v2"), p.Y("v1"));
}

TEST(FlexItems, AbsoluteBoxesInAnItemAnchorToThePositionedContainerAroundTheFlexBox)
{
    Page p(R"(<div class=frame style="position:relative;width:400px"><div style="display:flex">)"
           R"(<div class=item style="width:100px"><div class=badge style="position:absolute;right:0;top:0;)"
           R"(width:50px">x</div>item</div></div></div>)");
    EXPECT_EQ(p.W("item"), 100);
    // right: 0 of the 400 px frame, not of the 100 px item it sits in.
    EXPECT_EQ(p.X("badge"), 350);
}

TEST(FlexHits, CaretAndSelectionFindTheItemBesideTheOther)
{
    Page p(R"(<div style="display:flex"><div class=l style="width:400px">left words</div>)"
           R"(<div class=r>right words</div></div>)");
    TCaretHit hit;
    const TBlock& right = p.Block("r");
    int pos = p.doc.PositionAt(p.canvas, 420, p.Y("r") + 5, hit);
    EXPECT_GE(pos, right.StartCurs);
    EXPECT_LE(pos, right.StartCurs + right.Len);
    const TBlock& left = p.Block("l");
    pos = p.doc.PositionAt(p.canvas, 10, p.Y("l") + 5, hit);
    EXPECT_GE(pos, left.StartCurs);
    EXPECT_LT(pos, left.StartCurs + left.Len);
    // Positions run on through the row in source order: find and copy see both.
    EXPECT_LT(left.StartCurs, right.StartCurs);
    EXPECT_GE(p.doc.FindText(0, u"right", false), right.StartCurs);
    int x = 0, y = 0;
    ASSERT_TRUE(p.doc.CaretXY(p.canvas, right.StartCurs + 1, x, y));
    EXPECT_GE(x, 400);
}

TEST(FlexCopy, APrintingCopyLaysOutAlike)
{
    Page p(R"(<div style="display:flex"><div class=a style="width:300px">a</div><div class=b>b</div></div>)");
    auto copy = TSectionList::CreateCopy(p.doc);
    int maxWidth = 0;
    copy->LayOut(p.canvas, 0, 800, 600, maxWidth);
    EXPECT_EQ(copy->Dump(), p.doc.Dump());
}

TEST(Grid, ColumnsFilledRowByRow)
{
    Page p(R"(<div class=g style="display:grid; grid-template-columns:100px 1fr 2fr; gap:10px; width:400px">)"
           R"(<div class=c1>1</div><div class=c2>2</div><div class=c3>3</div><div class=c4>4</div></div>)"
           R"(<div class=r style="display:grid; grid-template-columns:repeat(auto-fill, minmax(100px, 1fr)); width:380px">)"
           R"(<div class=a1>1</div><div class=a2>2</div><div class=a3>3</div><div class=a4>4</div></div>)");
    EXPECT_EQ(p.Block("g").KindName(), std::string("grid"));
    EXPECT_EQ(p.W("c1"), 100);
    EXPECT_EQ(p.X("c2"), 110);
    EXPECT_EQ(p.W("c2"), 93);
    EXPECT_EQ(p.X("c3"), 213);
    EXPECT_EQ(p.Y("c4"), p.Y("c1") + 19 + 10);
    EXPECT_EQ(p.X("c4"), 0);
    EXPECT_EQ(p.W("a1"), 127); // four of 100 do not fit in 380: three share it
    EXPECT_EQ(p.X("a4"), 0);
    EXPECT_GT(p.Y("a4"), p.Y("a1"));
}

TEST(Grid, UnknownPlacementStacksInOrder)
{
    Page p(R"(<div style="display:grid; grid-template-areas:'a b'"><div class=x>x</div><div class=y>y</div></div>)");
    EXPECT_EQ(p.X("y"), p.X("x"));
    EXPECT_EQ(p.Y("y"), p.Y("x") + 19);
    EXPECT_EQ(p.W("x"), 800);
}

TEST(FlexItems, ItemsNeitherFloatNorCollapseTheirMargins)
{
    Page p(R"(<div style="display:flex"><div class=f style="float:right; width:100px; margin:10px">f</div>)"
           R"(<div class=g style="margin:10px">g</div></div>)");
    EXPECT_EQ(p.X("f"), 10);
    EXPECT_EQ(p.X("g"), 130);
    EXPECT_EQ(p.Y("g"), 10);
}

TEST(FlexItems, ASpansFlexValuesDoNotReachTheBlocksInside)
{
    Page p(R"(<span style="display:flex"><div class=inner><div class=a>a</div><div class=b>b</div></div></span>)");
    EXPECT_EQ(p.Block("inner").KindName(), std::string("block"));
    EXPECT_EQ(p.Y("b"), p.Y("a") + 19);
}

TEST(FlexBadInput, ExtremeValuesAreClampedOrDropped)
{
    Page p(R"(<div style="display:flex; width:400px; gap:-5px">)"
           R"(<div class=a style="order:-2147483648; flex-grow:1e30; width:-50px">a</div>)"
           R"(<div class=b style="order:99999999999999999999; flex:nan nan; flex-basis:1e30px">b</div>)"
           R"(<div class=c style="flex-shrink:-3; margin-left:-1e9px">c</div></div>)"
           R"x(<div style="display:grid; grid-template-columns:repeat(99999999, 1e30fr) repeat(auto-fill, 0px)">)x"
           R"(<div>g</div></div>)");
    EXPECT_EQ(p.X("a"), 0); // the least order comes first
    EXPECT_LT(p.X("a"), p.X("b"));
    for (const char* name : {"a", "b", "c"}) {
        EXPECT_GE(p.W(name), 0) << name;
        EXPECT_LE(p.W(name), MaxBoxPixels) << name;
    }
}

TEST(FlexBadInput, DeepNestingOfCentredContainersStaysLinear)
{
    // Each level centres a container beside a taller sibling: laid out again
    // at every level this would take 2^1000 layouts.
    std::string html;
    for (int i = 0; i < 1000; ++i)
        html += R"(<div style="display:flex; align-items:center"><div style="height:50px; width:1px"></div><div>)";
    html += "deep";
    for (int i = 0; i < 1000; ++i)
        html += "</div></div>";
    Page p(html);
    EXPECT_GT(p.height, 0);
    EXPECT_GE(p.doc.FindText(0, u"deep", false), 0);
}

} // namespace
