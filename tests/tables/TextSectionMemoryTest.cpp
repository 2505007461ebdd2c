// Text sections keep their font runs, lines, break flags and pictures in
// compact form: runs in one array that must not move once the link list
// points at it, a single line in place, the rare parts out of line. Every
// use must read them back as they were made.
#include <gmock/gmock.h>

#include <cstring>

#include "BuilderTestSupport.h"

using namespace buildtest;
using ::testing::HasSubstr;

namespace {

// Highlighted code: a colour change every word, and among the words links
// whose text changes font inside the link.
std::string HighlightedCode(int words)
{
    std::string html = "<pre>";
    for (int i = 0; i < words; ++i) {
        std::string n = std::to_string(i);
        if (i % 10 == 3)
            html += "<a href=\"l" + n + ".htm\">k<b>" + n + "</b></a> ";
        else
            html += std::string("<span style=\"color:#") + (i % 2 ? "c00" : "00c") + "\">w" + n + "</span> ";
    }
    return html + "</pre>";
}

// Index of run in its section's runs, or -1.
int RunIndex(const TSection& section, const TFontObj* run)
{
    TSection& s = const_cast<TSection&>(section);
    for (size_t i = 0; i < s.Fonts().Count(); ++i)
        if (&s.Fonts()[i] == run)
            return int(i);
    return -1;
}

std::vector<TDrawCall> Painted(Built& b, TSectionList& doc)
{
    b.canvas.clearCalls();
    TPaintContext pc{b.canvas, TRect{0, 0, 800, 3000}};
    doc.PaintDocument(pc, 0);
    return b.canvas.calls();
}

} // namespace

TEST(TextSectionMemory, LinkRunsAmongManyRunsStayWhereTheLinkListPointsAtThem)
{
    Built b(HighlightedCode(40) + "<p>after <a href=\"z.htm\">z</a> and <i>more</i> text");
    TSection* pre = SectionWith(b.doc, "w0");
    TSection* after = SectionWith(b.doc, "after");
    ASSERT_TRUE(pre && after);
    EXPECT_GE(pre->Fonts().Count(), 40u);
    // Four links of two runs each (the number is bold), then the paragraph's link.
    ASSERT_EQ(b.doc.LinkList.size(), 9u);
    for (size_t i = 0; i < 8; ++i) {
        const TFontObj* run = b.doc.LinkList[i];
        ASSERT_EQ(run->Section(), pre);
        int index = RunIndex(*pre, run);
        ASSERT_GE(index, 0) << "link " << i << " points at a run its section holds";
        EXPECT_EQ(run->Link().url, "l" + std::to_string(i / 2 * 10 + 3) + ".htm");
        // A link's runs share its first run, its Y and its hover state.
        EXPECT_EQ(run->FirstOfLink(), b.doc.LinkList[i - i % 2]);
        EXPECT_EQ(run->YValue(), b.doc.LinkList[i - i % 2]->YValue());
        EXPECT_GE(run->YValue(), pre->YValue);
    }
    EXPECT_EQ(b.doc.LinkList[8], &after->Fonts()[1]);
    EXPECT_EQ(b.doc.LinkList[8]->Section(), after);
    EXPECT_EQ(after->Fonts()[0].Section(), nullptr) << "plain runs are in no list";
    // The point over the link's bold number finds that run.
    TFontObj* bold = b.doc.LinkList[3];
    int x = 0, y = 0;
    ASSERT_TRUE(b.doc.CaretXY(b.canvas, pre->StartCurs + bold->Pos, x, y));
    TLinkHit hit;
    ASSERT_NE(b.doc.LinkAt(b.canvas, x + 2, y + 2, hit) & HitLink, 0);
    EXPECT_EQ(hit.run, bold);
    EXPECT_EQ(hit.link.url, "l13.htm");
    // The runs read back in order and the text is whole.
    for (size_t i = 1; i < pre->Fonts().Count(); ++i)
        EXPECT_LT(pre->Fonts()[i - 1].Pos, pre->Fonts()[i].Pos);
    EXPECT_THAT(b.Text(), HasSubstr("w38 w39"));
    EXPECT_THAT(b.Text(), HasSubstr("k33"));
}

TEST(TextSectionMemory, OnlyKeptSectionsEnterTheirLinksAndLinksTakenBackAreNotEntered)
{
    // A paragraph of nothing but an empty link is dropped: its link must not
    // be left behind in the link list nor its keyboard stop in the tab order.
    // A link closed where it opened gives its run back to plain text.
    Built b("<p><a href=\"gone.htm\" tabindex=1></a></p><p>x<a href=\"none.htm\"></a><b>y</b></p>"
            "<p><a href=\"kept.htm\" tabindex=2>kept</a>");
    ASSERT_EQ(b.doc.LinkList.size(), 1u);
    EXPECT_EQ(b.doc.LinkList[0]->Link().url, "kept.htm");
    TSection* xy = SectionWith(b.doc, "xy");
    ASSERT_NE(xy, nullptr);
    for (size_t i = 0; i < xy->Fonts().Count(); ++i)
        EXPECT_FALSE(xy->Fonts()[i].IsLink());
}

TEST(TextSectionMemory, APrintingCopyOfCompactSectionsLaysOutAndPaintsLikeTheOriginal)
{
    // One-line and many-line sections, many runs, a no-break region (break
    // flags per character), a picture and a link.
    Built b("<h1>Title</h1><p>" + std::string(60, 'a') + " and <nobr>never broken here</nobr> then" +
                std::string(" words to wrap the paragraph over lines") + " <img src=\"none.gif\" width=20 height=30> end"
                " <a href=\"l.htm\">link</a></p>" + HighlightedCode(30),
            300);
    TSection* para = SectionWith(b.doc, "never");
    TSection* title = SectionWith(b.doc, "Title");
    ASSERT_TRUE(para && title);
    EXPECT_EQ(title->Lines().size(), 1u);
    EXPECT_GT(para->Lines().size(), 2u);
    auto copy = TSectionList::CreateCopy(b.doc);
    int maxWidth = 0;
    copy->LayOut(b.canvas, 0, 300, 600, maxWidth);
    EXPECT_EQ(copy->Dump(), b.doc.Dump());
    std::vector<TDrawCall> original = Painted(b, b.doc);
    std::vector<TDrawCall> copied = Painted(b, *copy);
    ASSERT_EQ(copied.size(), original.size());
    for (size_t i = 0; i < original.size(); ++i) {
        EXPECT_EQ(copied[i].text, original[i].text) << i;
        EXPECT_EQ(copied[i].rect, original[i].rect) << i;
        EXPECT_EQ(copied[i].color, original[i].color) << i;
    }
    EXPECT_TRUE(copy->LinkList.empty()) << "a copy enters nothing in lists";
}

TEST(TextSectionMemory, LinesFollowEachLayoutFromOneToManyAndBack)
{
    Built b("<p>" + std::string(20, 'w') + " " + std::string(20, 'v') + " " + std::string(20, 'u'), 800);
    TSection* s = SectionWith(b.doc, "www");
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->Lines().size(), 1u);
    const std::string wide = b.Dump();
    int maxWidth = 0;
    b.doc.LayOut(b.canvas, 0, 200, 600, maxWidth);
    ASSERT_EQ(s->Lines().size(), 3u);
    EXPECT_EQ(s->Lines().at(1).Start, 21);
    EXPECT_GT(s->Lines().at(2).Y, s->Lines().at(1).Y);
    EXPECT_THROW((void)s->Lines().at(3), std::out_of_range);
    b.doc.LayOut(b.canvas, 0, 800, 600, maxWidth);
    EXPECT_EQ(b.Dump(), wide);
    TCaretHit hit;
    const LineRec& line = s->Lines().at(0);
    EXPECT_EQ(b.doc.PositionAt(b.canvas, line.X + 1, line.Y + 2, hit), s->StartCurs);
}

TEST(TextSectionMemory, TitlesStayWithTheirOwnRunsAndInPrintingCopies)
{
    Built b("<p><a href=\"a.htm\" title=\"First tip\">first</a> plain <span title=\"Second tip\">second</span> "
            "<a href=\"c.htm\">third</a>");
    auto titles = [](TSectionList& doc) {
        TSection* s = SectionWith(doc, "first");
        std::vector<std::string> out;
        for (const char* word : {"first", "plain", "second", "third"}) {
            int pos = int(s->Text().find(std::u16string(word, word + std::strlen(word))));
            out.push_back(s->Fonts().GetFontObjAt(pos)->Title());
        }
        return out;
    };
    const std::vector<std::string> expected{"First tip", "", "Second tip", ""};
    EXPECT_EQ(titles(b.doc), expected);
    std::unique_ptr<TSectionList> copy = TSectionList::CreateCopy(b.doc);
    EXPECT_EQ(titles(*copy), expected);
}
