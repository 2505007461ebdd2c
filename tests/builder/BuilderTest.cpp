#include <gmock/gmock.h>

#include "BuilderTestSupport.h"
#include "html/layout/TBlockLI.h"
#include "html/layout/TPreFormated.h"

using namespace buildtest;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

std::string Repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

std::string Links(int n)
{
    std::string html;
    for (int i = 0; i < n; ++i)
        html += "<a href=\"p" + std::to_string(i) + ".htm\">x</a> ";
    return html;
}

} // namespace

TEST(BuilderBlocks, PreKeepsTagsOfOtherElementsAsItsOwnText)
{
    Built b("<pre>one <h1>two</h1>\n<table><tr><td>three</table>\n<div>four<li>five</div></pre>after");
    EXPECT_TRUE(BlocksTagged(b.doc, "h1").empty());
    EXPECT_TRUE(All<TTableBlock>(b.doc).empty());
    EXPECT_TRUE(BlocksTagged(b.doc, "div").empty());
    EXPECT_TRUE(All<TBlockLI>(b.doc).empty());
    auto pres = BlocksTagged(b.doc, "pre");
    ASSERT_EQ(pres.size(), 1u);
    auto lines = All<TPreFormated>(pres[0]->Content());
    ASSERT_EQ(lines.size(), 3u); // one section per source line
    EXPECT_EQ(TextOf(*lines[0]), "one two");
    EXPECT_EQ(TextOf(*lines[1]), "three");
    EXPECT_EQ(TextOf(*lines[2]), "fourfive");
    // The text after /PRE is outside the block.
    EXPECT_EQ(SectionWith(pres[0]->Content(), "after"), nullptr);
    EXPECT_NE(SectionWith(b.doc, "after"), nullptr);
}

TEST(BuilderBlocks, PreEndsAtCellEnd)
{
    Built b("<table><tr><td><pre>code</td><td>next</table>");
    auto tables = All<ThtmlTable>(b.doc);
    ASSERT_EQ(tables.size(), 1u);
    ASSERT_EQ(tables[0]->Rows.size(), 1u);
    EXPECT_EQ(tables[0]->Rows[0]->Cells.size(), 2u);
}

TEST(BuilderBlocks, UnclosedParagraphEndsAtHeadingAndEmptyParagraphsMerge)
{
    Built b("<p>one<h2>two</h2><p align=left><p></p><p align=right>three");
    auto ps = BlocksTagged(b.doc, "p");
    ASSERT_EQ(ps.size(), 2u);
    EXPECT_EQ(SectionWith(ps[0]->Content(), "two"), nullptr);
    auto h2 = BlocksTagged(b.doc, "h2");
    ASSERT_EQ(h2.size(), 1u);
    EXPECT_NE(SectionWith(h2[0]->Content(), "two"), nullptr);
    // One paragraph with the attributes of the last P.
    TSection* three = SectionWith(ps[1]->Content(), "three");
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(three->Justify, TTextAlignKind::Right);
}

TEST(BuilderBlocks, HeadingLevelSevenIsNoHeading)
{
    Built b("<p>before <h7>seven</h7> after");
    EXPECT_EQ(BlocksTagged(b.doc, "h7").size(), 0u);
    auto ps = BlocksTagged(b.doc, "p");
    ASSERT_EQ(ps.size(), 1u);
    EXPECT_NE(SectionWith(ps[0]->Content(), "seven"), nullptr);
}

TEST(BuilderBlocks, ListNumbersNearTheIntegerLimitStopCounting)
{
    Built b("<ol start=2147483647><li>a<li>b</ol><ol><li value=2147483647>c<li>d<li value=-2147483647>e<li>f</ol>");
    std::vector<std::string> markers;
    for (TBlockLI* item : All<TBlockLI>(b.doc))
        markers.push_back(CodePage::FromUtf16(CodePage::Utf8, item->MarkerText()));
    EXPECT_EQ(markers, (std::vector<std::string>{"1000000000.", "1000000000.", "1000000000.", "1000000000.",
                                                 "-1000000000.", "-999999999."}));
}

TEST(BuilderBlocks, ListItemsEndAtNextItemListEndAndCellEnd)
{
    Built b("<ol start=3><li>a<li value=10>b</ol><table><tr><td><ul><li>c<td>d</table>");
    auto items = All<TBlockLI>(b.doc);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(CodePage::FromUtf16(CodePage::Utf8, items[0]->MarkerText()), "3.");
    EXPECT_EQ(CodePage::FromUtf16(CodePage::Utf8, items[1]->MarkerText()), "10.");
    auto tables = All<ThtmlTable>(b.doc);
    ASSERT_EQ(tables.size(), 1u);
    ASSERT_EQ(tables[0]->Rows[0]->Cells.size(), 2u);
    EXPECT_EQ(SectionWith(items[2]->Content(), "d"), nullptr);
    EXPECT_NE(SectionWith(tables[0]->Rows[0]->Cells[1]->Content(), "d"), nullptr);
}

TEST(BuilderBlocks, DivLeftOpenInACellEndsAtTheCellEnd)
{
    Built b("<table><tr><td><div>in<td>out</table>");
    auto t = All<ThtmlTable>(b.doc);
    ASSERT_EQ(t.size(), 1u);
    ASSERT_EQ(t[0]->Rows[0]->Cells.size(), 2u);
    EXPECT_EQ(BlocksTagged(t[0]->Rows[0]->Cells[1]->Content(), "div").size(), 0u);
}

TEST(BuilderLinks, FourHundredAndOneLinksMakeManyLinks)
{
    EXPECT_FALSE(Built(Links(400)).doc.ManyLinks);
    EXPECT_TRUE(Built(Links(401)).doc.ManyLinks);
}

TEST(BuilderLinks, AnchorNamesAreRegisteredUpperCased)
{
    Built b("<p>x<a name=\"#Here\">target</a> <a href=\"a.htm\" target=\"_top\">go</a>");
    EXPECT_NE(b.doc.FindID("HERE"), nullptr);
    ASSERT_EQ(b.doc.LinkList.size(), 1u);
    EXPECT_EQ(b.doc.LinkList[0]->Link().url, "a.htm");
    EXPECT_EQ(b.doc.LinkList[0]->Link().target, "_top");
}

TEST(BuilderLinks, AnchorTargetsAnswerTheirLaidOutPosition)
{
    std::string html = "<p>top</p>";
    for (int i = 0; i < 30; ++i)
        html += "<p>filler paragraph</p>";
    html += "<p>before <a name=\"deep\">deep</a> after</p><h1 id=\"Head\">heading</h1>";
    Built b(html);
    TIDObject* deep = b.doc.FindID("deep");
    TIDObject* head = b.doc.FindID("head");
    ASSERT_NE(deep, nullptr) << "names are found without regard to case";
    ASSERT_NE(head, nullptr);
    EXPECT_GT(deep->YPosition(), 30 * 16);
    EXPECT_GT(head->YPosition(), deep->YPosition());
    EXPECT_LT(head->YPosition(), b.height);
}

TEST(BuilderHead, TitleBaseEventsAndStyles)
{
    std::vector<std::string> seen;
    THtmlParseEvents ev;
    ev.OnMeta = [&](const std::string& h, const std::string& n, const std::string& c) { seen.push_back("meta " + h + "|" + n + "|" + c); };
    ev.OnLink = [&](const std::string& r, const std::string& v, const std::string& h) { seen.push_back("link " + r + "|" + v + "|" + h); };
    ev.OnSound = [&](const std::string& s, int loop, bool t) { seen.push_back("sound " + s + " " + std::to_string(loop) + (t ? "t" : "f")); };
    ev.OnScript = [&](const std::string& n, const std::string& l, const std::string& s) { seen.push_back("script " + n + "|" + l + "|" + s); };
    ev.OnGetStream = [&](const std::string& src, std::unique_ptr<std::string>& stream) {
        seen.push_back("stream " + src);
        stream = std::make_unique<std::string>("p { color: #ff0000 }");
    };
    Built b("<title>The &amp; title</title><base href=\"http://x/\" target=\"main\">"
            "<meta name=keywords content=\"a,b\"><link rel=StyleSheet href=\"s.css\" rev=r>"
            "<bgsound src=\"bell.wav\" loop=3><script language=js>x=y</script><p>text",
            800, ev);
    EXPECT_EQ(b.result.title, "The & title");
    EXPECT_EQ(b.result.base, "http://x/");
    EXPECT_EQ(b.result.baseTarget, "main");
    EXPECT_THAT(seen, ::testing::ElementsAre("meta |keywords|a,b", "stream s.css", "link StyleSheet|r|s.css",
                                             "sound bell.wav 3f", "script |js|x=y"));
    TSection* text = SectionWith(b.doc, "text");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Fonts()[0].Font().color & 0xFFFFFF, 0x0000FFu); // the loaded sheet's red
}

TEST(BuilderHead, EucJpMetaConvertsTheRestOnce)
{
    // EUC-JP "日本" (C6 FC CB DC) after the META reads as Shift-JIS 93 FA 96 7B.
    std::string html = "<meta http-equiv=Content-Type content=\"text/html; charset=EUC-JP\">"
                       "<meta http-equiv=content-type content=\"euc-jp\">\xC6\xFC\xCB\xDC";
    Built b(html);
    TSection* s = All<TSection>(b.doc).empty() ? nullptr : All<TSection>(b.doc).back();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Text(), std::u16string(u"\u65E5\u672C"));
    EXPECT_TRUE(ReadState.ConvertedJapanese);
}

TEST(BuilderFonts, FontSizesFollowTheTableAndTheBaseFont)
{
    Built b("<font size=+1>four</font> <font size=9>seven</font> <font size=-5>one</font>"
            "<basefont size=5><font size=+1>six</font>");
    auto heightOf = [&](const char* word) {
        TSection* s = SectionWith(b.doc, word);
        EXPECT_NE(s, nullptr) << word;
        if (!s)
            return 0;
        size_t at = TextOf(*s).find(word);
        return -s->Fonts().GetFontObjAt(int(at))->Font().spec.height;
    };
    auto pixels = [](int step) { return int(std::nearbyint(96 * FontSizeTable(TFontTable::Normal, step, 12) / 72)); };
    EXPECT_EQ(heightOf("four"), pixels(4));
    EXPECT_EQ(heightOf("seven"), pixels(7));
    EXPECT_EQ(heightOf("one"), pixels(1));
    EXPECT_EQ(heightOf("six"), pixels(6));
}

TEST(BuilderMaps, MapWithoutEndIsDropped)
{
    EXPECT_THAT(Built("<map name=nav><area href=a><area href=b></map>x").result.mapNames, ::testing::ElementsAre("NAV"));
    Built open("<map name=lost><area><b><i><u>shown");
    EXPECT_TRUE(open.result.mapNames.empty());
    EXPECT_NE(SectionWith(open.doc, "shown"), nullptr);
}

TEST(BuilderSelect, UnclosedSelectEndsAtTheNextCellWhichIsPassedOver)
{
    Built b("<table><tr><td>a<select><option>x<option selected>y<td>b<td>c</table>");
    auto t = All<ThtmlTable>(b.doc);
    ASSERT_EQ(t.size(), 1u);
    // The TD that ended the options is passed over: "b" stays in the first cell.
    ASSERT_EQ(t[0]->Rows[0]->Cells.size(), 2u);
    EXPECT_NE(SectionWith(t[0]->Rows[0]->Cells[0]->Content(), "b"), nullptr);
}

TEST(BuilderRobustness, DeepNestingDoesNotExhaustTheStack)
{
    for (const char* open : {"<div>", "<table><tr><td>", "<li>", "<ul><li>", "<font size=+1>", "<b>", "<blockquote>"}) {
        Built b(Repeat(open, 100000) + "deepest text");
        EXPECT_THAT(b.Text(), HasSubstr("deepest text")) << open;
    }
}

TEST(BuilderRobustness, BadInputEndsQuietlyKeepingWhatWasBuilt)
{
    Built b("<p>kept text</p>\x01\x02 more");
    EXPECT_THAT(b.Text(), HasSubstr("kept text"));
    EXPECT_THAT(b.Text(), Not(HasSubstr("more")));
}

TEST(BuilderText, PlainTextGivesOneSectionPerLine)
{
    TFixedCanvas canvas;
    SetStyleScreen(&canvas);
    TSectionList doc;
    TStyleList styles;
    HtmlParseTextString("first <b>line</b>\r\nsecond\n\nfourth", doc, styles, THtmlParseSettings{});
    auto lines = All<TPreFormated>(doc);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(TextOf(*lines[0]), "first <b>line</b>");
    EXPECT_EQ(TextOf(*lines[3]), "fourth");
    SetStyleScreen(nullptr);
}

TEST(BuilderText, PlainTextControlBytesAreShownHarmlessly)
{
    TFixedCanvas canvas;
    SetStyleScreen(&canvas);
    TSectionList doc;
    TStyleList styles;
    // Overstruck bold and underlined words as formatted manual pages hold them.
    HtmlParseTextString("N\bNA\bAM\bME\bE _\bl_\bs\n\bx\x0By\x0C\x02\x04z", doc, styles, THtmlParseSettings{});
    auto lines = All<TPreFormated>(doc);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(TextOf(*lines[0]), "NAME ls");
    EXPECT_EQ(TextOf(*lines[1]), "x y   z");
    int maxWidth = 0;
    doc.LayOut(canvas, 0, 400, 600, maxWidth);
    TPaintContext pc{canvas, {0, 0, 400, 600}};
    doc.PaintDocument(pc, 0);
    EXPECT_EQ(canvas.drawnText(), u"NAME ls|x y   z");
    SetStyleScreen(nullptr);
}

TEST(BuilderFrames, FrameSetTestAndHeadScan)
{
    EXPECT_TRUE(IsFrameSetString("<html><head><title>t</title></head><frameset cols=\"*,*\"><frame src=a>"));
    EXPECT_FALSE(IsFrameSetString("<html><body><frameset>"));
    EXPECT_FALSE(IsFrameSetString("<p>text"));
    std::vector<std::string> calls;
    TFrameSetHost host;
    host.beginFrameSet = [&](const TAttributeList& a) { calls.push_back("set " + std::string(a.Find(ColsSy) ? a.Find(ColsSy)->Text : "")); };
    host.addFrame = [&](const TAttributeList& a) { calls.push_back("frame " + a.Find(SrcSy)->Text); };
    host.endFrameSet = [&] { calls.push_back("end"); };
    TFrameSetHead head = FrameParseString("<title>Frames</title><frameset cols=\"20%,*\"><frame src=a.htm>"
                                          "<frameset rows=\"*,*\"><frame src=b.htm><frame src=c.htm></frameset>"
                                          "<noframes><frame src=no.htm></noframes></frameset>",
                                          host);
    EXPECT_EQ(head.title, "Frames");
    EXPECT_THAT(calls, ::testing::ElementsAre("set 20%,*", "frame a.htm", "set ", "frame b.htm", "frame c.htm", "end", "end"));
}
