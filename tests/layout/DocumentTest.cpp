// Document-level services: selection, search, caret, hit tests, errors, copies and the dump.
#include <gtest/gtest.h>

#include "LayoutTestSupport.h"
#include "html/layout/EProcessError.h"

using namespace layouttest;

namespace {

class FailingSection : public TSectionBase {
public:
    explicit FailingSection(TSectionList* doc) : TSectionBase(doc) {}
    std::unique_ptr<TSectionBase> CloneInto(TSectionList& target) const override
    {
        return std::make_unique<FailingSection>(&target);
    }
    int LayOut(TCanvas&, const TLayoutArea&, IndentManager&, int&, int&) override
    {
        throw EProcessError("Broken section");
    }
};

} // namespace

TEST(Selection, CopyAcrossSectionsAddsLineBreaks)
{
    Doc d;
    d.AddText(d.AddBlock(*d.body, Block(Box(), "div"))->Content(), u"Hello");
    d.AddText(d.AddBlock(*d.body, Block(Box(), "div"))->Content(), u"World");
    d.Layout(300);
    d.doc.SelB = 0;
    d.doc.SelE = 10;
    EXPECT_EQ(d.doc.GetSelText(), u"Hello\nWorld");
    d.doc.SelB = 2;
    d.doc.SelE = 7;
    EXPECT_EQ(d.doc.GetSelText(), u"llo\nWo");
    EXPECT_EQ(d.doc.GetSelLength(), 6);
    std::u16string clip;
    d.doc.Host.copyToClipboard = [&](const std::u16string& t) { clip = t; };
    d.doc.CopyToClipboard();
    EXPECT_EQ(clip, u"llo\nWo");
    d.doc.SelE = d.doc.SelB;
    EXPECT_EQ(d.doc.GetSelLength(), 0);
}

TEST(Selection, ParagraphsAreSeparatedByAnEmptyLine)
{
    Doc d;
    d.AddText(d.AddBlock(*d.body, Block(Box(), "p"))->Content(), u"one");
    d.AddText(d.AddBlock(*d.body, Block(Box(), "p"))->Content(), u"two");
    d.Layout(300);
    d.doc.SelB = 0;
    d.doc.SelE = 6;
    EXPECT_EQ(d.doc.GetSelText(), u"one\n\ntwo");
}

TEST(Search, ForwardAndBackwardWithAndWithoutCase)
{
    Doc d;
    d.AddText(*d.body, u"Hello World");
    d.AddText(*d.body, u"hello again");
    d.Layout(500);
    EXPECT_EQ(d.doc.FindText(0, u"world", false), 6);
    EXPECT_EQ(d.doc.FindText(0, u"world", true), -1);
    EXPECT_EQ(d.doc.FindText(1, u"hello", true), 11);
    EXPECT_EQ(d.doc.FindTextBack(22, u"hello", false), 11);
    EXPECT_EQ(d.doc.FindTextBack(11, u"hello", false), 0);
    EXPECT_EQ(d.doc.FindTextBack(4, u"o", true), -1);
    EXPECT_EQ(d.doc.FindTextBack(5, u"o", true), 4);
    EXPECT_EQ(d.doc.FindTextBack(8, u"o", true), 7);
}

TEST(Caret, PositionsAndThePlaceAfterTheLastCharacter)
{
    Doc d;
    d.AddText(*d.body, u"abc def");
    d.Layout(40); // "abc " / "def"
    int x = 0, y = 0;
    ASSERT_TRUE(d.doc.CaretXY(d.canvas, 5, x, y));
    EXPECT_EQ(x, 8);
    EXPECT_EQ(y, 19);
    ASSERT_TRUE(d.doc.CaretXY(d.canvas, 7, x, y));
    EXPECT_EQ(x, 16); // the last character's place
    EXPECT_EQ(y, 19 + 15);

    TCaretHit hit;
    EXPECT_EQ(d.doc.PositionAt(d.canvas, 13, 25, hit), 6); // beyond the middle of "e"
    EXPECT_TRUE(hit.inText);
    EXPECT_EQ(d.doc.PositionAt(d.canvas, 11, 25, hit), 5);
    char16_t ch = 0;
    TIDObject* obj = nullptr;
    ASSERT_TRUE(d.doc.CharAt(4, ch, obj));
    EXPECT_EQ(ch, u'd');
}

TEST(HitTests, LinksTitlesAndHoverOverEveryRunOfTheLink)
{
    Doc d;
    d.doc.LinksActive = true;
    TTextStyle plain = Text();
    TTextStyle link = Text();
    link.hasLinkFonts = true;
    link.linkFonts[0].color = 0xFF0000;
    link.linkFonts[2].color = 0x0000FF; // hover
    TTextStyle linkBold = link;
    for (auto& f : linkBold.linkFonts)
        f.spec.style = fsBold;
    TLinkInfo target{"next.htm", "", 7, 0};
    auto s = std::make_unique<TSection>(d.doc, plain);
    Doc::Fill(*s, u"go ", 0);
    s->ChangeLink(link, &target);
    Doc::Fill(*s, u"there", 3);
    s->ChangeFont(linkBold);
    Doc::Fill(*s, u"now", 8);
    s->ChangeLink(plain, nullptr);
    Doc::Fill(*s, u" end", 11);
    TSection* raw = s.get();
    d.body->AddSection(std::move(s));
    d.Layout(500);

    TLinkHit miss;
    EXPECT_EQ(d.doc.LinkAt(d.canvas, 4, 5, miss) & HitLink, 0);
    TLinkHit hit;
    ASSERT_NE(d.doc.LinkAt(d.canvas, 30, 5, hit) & HitLink, 0);
    EXPECT_EQ(hit.link.url, "next.htm");
    // Both runs of the link are now in their hover font.
    EXPECT_EQ(raw->Fonts()[1].Font().color, 0x0000FFu);
    EXPECT_EQ(raw->Fonts()[2].Font().color, 0x0000FFu);
    d.doc.ClearHover();
    EXPECT_EQ(raw->Fonts()[2].Font().color, 0xFF0000u);
}

TEST(Errors, AFailingSectionIsReportedAndRemovedWhileTheRestLaysOut)
{
    Doc d;
    std::vector<std::string> shown;
    d.doc.Host.showError = [&](const std::string& m) { shown.push_back(m); };
    d.AddText(*d.body, u"before");
    d.body->AddSection(std::make_unique<FailingSection>(&d.doc));
    TSection* after = d.AddText(*d.body, u"after");
    d.Layout(300);
    EXPECT_EQ(shown, (std::vector<std::string>{"Broken section"}));
    EXPECT_EQ(d.body->Sections.size(), 2u);
    EXPECT_EQ(after->YValue, 19);
    EXPECT_EQ(after->StartCurs, 6);
}

TEST(Copies, APrintingCopyLaysOutLikeTheOriginal)
{
    Doc d;
    d.AddText(d.AddBlock(*d.body, Block(Box(), "p"))->Content(), u"some text to copy");
    d.Layout(80);
    auto copy = TSectionList::CreateCopy(d.doc);
    EXPECT_TRUE(copy->IsCopy);
    int maxWidth = 0;
    copy->LayOut(d.canvas, 0, 80, 600, maxWidth);
    EXPECT_EQ(copy->Dump(), d.doc.Dump());
    EXPECT_TRUE(copy->PositionList.empty());
}

TEST(Dump, ListsBlocksSectionsAndLinesWithPositions)
{
    Doc d;
    TMargArray b = Box();
    b[BoxMarginLeft] = 10;
    TBlock* p = d.AddBlock(*d.body, Block(b, "p"));
    d.AddText(p->Content(), u"aaa bbb");
    d.Layout(50);
    EXPECT_EQ(d.doc.Dump(), "body body x=0 y=0 w=50 h=38\n"
                            "  block p x=10 y=0 w=40 h=38\n"
                            "    section x=10 y=0 h=38 n=7\n"
                            "      line x=10 y=0 w=24 h=19 n=4\n"
                            "      line x=10 y=19 w=24 h=19 n=3\n");
}

TEST(Positions, SectionAtYFindsTheLastSectionAbove)
{
    Doc d;
    d.AddText(d.AddBlock(*d.body, Block(Box()))->Content(), u"first");
    TSection* second = d.AddText(d.AddBlock(*d.body, Block(Box()))->Content(), u"second");
    d.Layout(300);
    int y = 0, index = 0;
    EXPECT_EQ(d.doc.SectionAtY(25, y, index), second);
    EXPECT_EQ(y, 19);
    EXPECT_EQ(index, 1);
}

TEST(SourcePositions, MapBothWays)
{
    Doc d;
    TSection* s = d.AddText(*d.body, u"ab  cd", Text(), 100); // one space is removed
    d.Layout(300);
    EXPECT_EQ(s->Text(), u"ab cd");
    EXPECT_EQ(d.doc.SourcePosOf(3), 104);
    EXPECT_EQ(d.doc.DocPosOf(103, false), 3);
    EXPECT_EQ(d.doc.DocPosOf(103, true), 2);
    EXPECT_EQ(d.doc.DocPosOf(500, false), 5); // past everything: the document length

    auto copy = TSectionList::CreateCopy(d.doc); // printing copies map the same way
    int maxWidth = 0;
    copy->LayOut(d.canvas, 0, 300, 600, maxWidth);
    EXPECT_EQ(copy->SourcePosOf(1), 101);
    EXPECT_EQ(copy->SourcePosOf(3), 104);
}
