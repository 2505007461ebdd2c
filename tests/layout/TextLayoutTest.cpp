// Line breaking, alignment and line heights of text sections.
#include <gtest/gtest.h>

#include "LayoutTestSupport.h"
#include "gfx/THeadlessControls.h"

using namespace layouttest;

namespace {

std::vector<std::u16string> LineTexts(const TSection& s)
{
    std::vector<std::u16string> out;
    for (const LineRec& l : s.Lines())
        if (l.Ln > 0)
            out.emplace_back(s.Text().substr(size_t(l.Start), size_t(l.Ln)));
    return out;
}

} // namespace

TEST(LineBreaking, BreaksAtSpacesAndKeepsTheSpaceOnTheLine)
{
    Doc d;
    TSection* s = d.AddText(*d.body, u"aaa bbb ccc ddd");
    d.Layout(80);
    EXPECT_EQ(LineTexts(*s), (std::vector<std::u16string>{u"aaa bbb ", u"ccc ddd"}));
    EXPECT_EQ(s->Lines()[0].TextWidth, 56); // trailing space not measured
    EXPECT_EQ(s->Lines()[1].Y, 19);
    EXPECT_EQ(s->SectionHeight, 38);
}

TEST(LineBreaking, WhiteSpaceIsCleanedWhenTheSectionCloses)
{
    Doc d;
    TSection* s = d.AddText(*d.body, u"  two  spaces  ");
    EXPECT_EQ(s->Text(), u"two spaces");
    // An empty section without clear or anchor is dropped.
    EXPECT_EQ(d.AddText(*d.body, u"   "), nullptr);
}

TEST(LineBreaking, LongWordOverflowsInsteadOfBeingCut)
{
    Doc d;
    TSection* s = d.AddText(*d.body, u"aaaaaaaaaaaaaaaaaaaa bb");
    d.Layout(80);
    EXPECT_EQ(LineTexts(*s), (std::vector<std::u16string>{u"aaaaaaaaaaaaaaaaaaaa ", u"bb"}));
    int maxWidth = 0;
    d.doc.LayOut(d.canvas, 0, 80, 600, maxWidth);
    EXPECT_GE(maxWidth, 160);
}

TEST(LineBreaking, BreaksAfterHyphenAndBetweenIdeographs)
{
    Doc d;
    TSection* hyphen = d.AddText(*d.body, u"aaaa-bbbbbb");
    TSection* ideographs = d.AddText(*d.body, u"\u4e00\u4e01\u4e02\u4e03\u4e04\u4e05\u4e06\u4e07\u4e08\u4e09");
    d.Layout(80);
    EXPECT_EQ(LineTexts(*hyphen), (std::vector<std::u16string>{u"aaaa-", u"bbbbbb"}));
    ASSERT_EQ(LineTexts(*ideographs).size(), 2u);
    EXPECT_EQ(ideographs->Lines()[0].Ln, 5);
}

TEST(LineBreaking, ForcedBreakEndsTheLine)
{
    Doc d;
    auto s = std::make_unique<TSection>(d.doc, Text());
    Doc::Fill(*s, u"ab", 0);
    s->AddChar(BreakChar, 2);
    Doc::Fill(*s, u"cd", 3);
    TSection* raw = s.get();
    d.body->AddSection(std::move(s));
    d.Layout(500);
    EXPECT_EQ(LineTexts(*raw), (std::vector<std::u16string>{u"ab\b", u"cd"}));
}

TEST(LineBreaking, EveryForcedBreakOfALongParagraphEndsItsLine)
{
    // Breaks at the start, twice in a row and after a wrapped line: each is
    // found again once the lines pass the one before it (the one at the end
    // is dropped when the section closes).
    Doc d;
    auto s = std::make_unique<TSection>(d.doc, Text());
    int source = 0;
    auto text = [&](std::u16string_view t) {
        Doc::Fill(*s, t, source);
        source += int(t.size());
    };
    auto brk = [&]() { s->AddChar(BreakChar, source++); };
    brk();
    text(u"aa bb");
    brk();
    brk();
    text(u"cccc dddd eeee ffff gg");
    brk();
    text(u"hh");
    brk();
    TSection* raw = s.get();
    d.body->AddSection(std::move(s));
    d.Layout(80);
    EXPECT_EQ(LineTexts(*raw), (std::vector<std::u16string>{u"\b", u"aa bb\b", u"\b", u"cccc dddd ", u"eeee ffff ",
                                                             u"gg\b", u"hh"}));
}

TEST(LineBreaking, ParagraphOfThousandsOfLinesCoversItsTextInOrderWithinTheWidth)
{
    Doc d;
    std::u16string words;
    for (int i = 0; i < 20000; ++i)
        words += i % 7 == 0 ? u"lantern " : i % 3 == 0 ? u"tide " : u"keeper ";
    TSection* s = d.AddText(*d.body, words);
    d.Layout(200);
    ASSERT_GT(s->Lines().size(), 2000u);
    int next = 0;
    for (const LineRec& line : s->Lines()) {
        ASSERT_EQ(line.Start, next);
        EXPECT_LE(line.TextWidth, 200);
        // Each line is as full as the next word allows.
        if (line.Start + line.Ln < int(s->Text().size())) {
            size_t wordEnd = std::min(s->Text().find(u' ', size_t(line.Start + line.Ln)), s->Text().size());
            EXPECT_GT(line.TextWidth + 8 * int(wordEnd - size_t(line.Start + line.Ln) + 1), 200);
        }
        next = line.Start + line.Ln;
    }
    EXPECT_EQ(next, int(s->Text().size()));
}

TEST(LineBreaking, NoBreakRegionKeepsWordsTogether)
{
    Doc d;
    auto s = std::make_unique<TSection>(d.doc, Text());
    Doc::Fill(*s, u"aa ", 0);
    s->SetNoBreak(true);
    Doc::Fill(*s, u"bb cc dd", 3);
    s->SetNoBreak(false);
    TSection* raw = s.get();
    d.body->AddSection(std::move(s));
    d.Layout(64);
    EXPECT_EQ(LineTexts(*raw), (std::vector<std::u16string>{u"aa ", u"bb cc dd"}));
}

TEST(Alignment, CentreRightAndJustifyWithUnstretchedLastLine)
{
    Doc d;
    TTextStyle centre = Text(), right = Text(), justify = Text();
    centre.align = TTextAlignKind::Center;
    right.align = TTextAlignKind::Right;
    justify.align = TTextAlignKind::Justify;
    TSection* c = d.AddText(*d.body, u"abcd", centre);
    TSection* r = d.AddText(*d.body, u"abcd", right);
    TSection* j = d.AddText(*d.body, u"aaa bbb ccc ddd", justify);
    d.Layout(80);
    EXPECT_EQ(c->Lines()[0].X, 24);
    EXPECT_EQ(r->Lines()[0].X, 48);
    EXPECT_EQ(j->Lines()[0].Extra, 24);
    EXPECT_EQ(j->Lines()[0].Spaces, 1);
    EXPECT_EQ(j->Lines()[1].Extra, 0);

    d.Paint();
    std::vector<std::pair<std::u16string, int>> drawn;
    for (const TDrawCall& call : d.canvas.calls())
        if (call.kind == TDrawKind::Text)
            drawn.emplace_back(call.text, call.justifyExtra);
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), std::make_pair(std::u16string(u"aaa bbb"), 24)), drawn.end());
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), std::make_pair(std::u16string(u"ccc ddd"), 0)), drawn.end());
}

TEST(LineHeights, MiddleImageAloneSplitsAroundTheFontHeight)
{
    Doc d;
    auto s = std::make_unique<TSection>(d.doc, Text());
    s->AddImage(std::make_unique<TestImage>(30, 50, TVAlign::Middle), 0);
    TSection* raw = s.get();
    d.body->AddSection(std::move(s));
    d.Layout(300);
    ASSERT_EQ(raw->Lines().size(), 1u);
    EXPECT_EQ(raw->Lines()[0].Height(), 50);
    EXPECT_EQ(raw->Lines()[0].SpaceBefore, 16);
    EXPECT_EQ(raw->Lines()[0].SpaceAfter, 15);
}

TEST(LineHeights, BottomImageRaisesTheLineAndSuperscriptIsRaised)
{
    Doc d;
    auto s = std::make_unique<TSection>(d.doc, Text());
    Doc::Fill(*s, u"x", 0);
    s->AddImage(std::make_unique<TestImage>(10, 40), 1);
    TTextStyle sup = Text();
    sup.verticalShift = TVAlign::Super;
    s->ChangeFont(sup);
    Doc::Fill(*s, u"2", 2);
    TSection* raw = s.get();
    d.body->AddSection(std::move(s));
    d.Layout(300);
    // Above := image height + descent - text height = 40 + 4 - 19.
    EXPECT_EQ(raw->Lines()[0].SpaceBefore, 25);
    d.Paint();
    int xBaseline = 0, supBaseline = 0;
    for (const TDrawCall& call : d.canvas.calls())
        if (call.kind == TDrawKind::Text)
            (call.text == u"x" ? xBaseline : supBaseline) = call.rect.top;
    EXPECT_EQ(xBaseline - supBaseline, 19 / 3);
}

TEST(LineHeights, StyleLineHeightSplitsTheLeading)
{
    Doc d;
    TTextStyle tall = Text();
    tall.lineHeight = 30;
    TSection* s = d.AddText(*d.body, u"abc", tall);
    d.Layout(300);
    EXPECT_EQ(s->Lines()[0].SpaceBefore, 5);
    EXPECT_EQ(s->Lines()[0].SpaceAfter, 6);
    EXPECT_EQ(s->SectionHeight, 30);
}

TEST(MinMaxWidths, WidestWordAndWholeText)
{
    Doc d;
    TSection* s = d.AddText(*d.body, u"a bbbb-cc dd");
    int mn = 0, mx = 0;
    s->MeasureWidths(d.canvas, mn, mx);
    EXPECT_EQ(mn, 40); // "bbbb-" breaks after the hyphen
    EXPECT_EQ(mx, 96);
}

TEST(TextTransform, UpperCaseAndSmallCaps)
{
    Doc d;
    TTextStyle upper = Text();
    upper.transform = TTextTransform::Upper;
    TSection* s = d.AddText(*d.body, u"abc", upper);
    EXPECT_EQ(s->Text(), u"ABC");
    TTextStyle caps = Text();
    caps.smallCaps = true;
    caps.smallFont.spec.height = 12;
    TSection* sc = d.AddText(*d.body, u"Ab", caps);
    EXPECT_EQ(sc->Text(), u"AB");
    ASSERT_EQ(sc->Fonts().Count(), 2u);
    EXPECT_EQ(sc->Fonts()[1].Pos, 1);
    EXPECT_EQ(sc->Fonts()[1].Font().spec.height, 12);
}

TEST(TextLinks, ADroppedSectionLeavesNoKeyboardStopBehind)
{
    // A section of nothing but an empty link is dropped by its cell; its
    // link's keyboard stop went with it and must not reach the tab order.
    THeadlessControlFactory factory; // outlives the document's stops
    Doc d;
    d.doc.Controls = &factory;
    TLinkInfo gone{"gone.htm", "", 1, 1};
    d.body->AddSection(std::make_unique<TSection>(d.doc, Text(), &gone));
    TLinkInfo kept{"kept.htm", "", 2, 2};
    auto section = std::make_unique<TSection>(d.doc, Text(), &kept);
    Doc::Fill(*section, u"kept", 0);
    TSection* raw = section.get();
    d.body->AddSection(std::move(section));
    ASSERT_EQ(d.body->Sections.back().get(), raw);
    d.Layout(300);
    ASSERT_EQ(d.doc.LinkList.size(), 1u);
    EXPECT_EQ(d.doc.LinkList[0], &raw->Fonts()[0]);
    ASSERT_EQ(factory.tabOrder().size(), 1u);
    EXPECT_EQ(factory.tabOrder()[0], raw->Fonts()[0].TabStop());
}
