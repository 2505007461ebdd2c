// What readers see of a document's text and markup: in-page targets on every
// element, plain-text files in their encoding, character references in
// preformatted text, form text in the page's code page and the frame-set
// head scan.
#include <gmock/gmock.h>

#include "BuilderTestSupport.h"
#include "gfx/THeadlessControls.h"
#include "html/layout/TEditFormControlObj.h"
#include "html/layout/TTextAreaFormControlObj.h"
#include "html/layout/ThtmlForm.h"

using namespace buildtest;
using ::testing::HasSubstr;

namespace {

std::string Filler(int paragraphs)
{
    std::string html;
    for (int i = 0; i < paragraphs; ++i)
        html += "<p>filler paragraph " + std::to_string(i) + "</p>";
    return html;
}

// A plain-text file built as the viewer builds it.
struct TextFile {
    TFixedCanvas canvas;
    TSectionList doc;
    TStyleList styles;

    explicit TextFile(std::string_view bytes)
    {
        SetStyleScreen(&canvas);
        HtmlParseTextString(bytes, doc, styles, THtmlParseSettings{});
        int maxWidth = 0;
        doc.LayOut(canvas, 0, 800, 600, maxWidth);
    }
    ~TextFile() { SetStyleScreen(nullptr); }
    std::string Text()
    {
        doc.SelB = 0;
        doc.SelE = 1 << 30;
        return CodePage::FromUtf16(CodePage::Utf8, doc.GetSelText());
    }
};

} // namespace

TEST(InPageTargets, EveryElementsIdIsATargetAtItsText)
{
    Built b(Filler(30) + "<p>before <a id=anchor>anchored</a> and <span id=spanned>spanned</span> and "
            "<b id=bold>bold</b></p>" + Filler(30) +
            "<table><tr id=row><td>row cell</td></tr></table>" + Filler(30));
    TSection* words = SectionWith(b.doc, "anchored");
    TSection* cell = SectionWith(b.doc, "row cell");
    ASSERT_NE(words, nullptr);
    ASSERT_NE(cell, nullptr);
    for (const char* id : {"anchor", "spanned", "bold"}) {
        TIDObject* target = b.doc.FindID(id);
        ASSERT_NE(target, nullptr) << id;
        EXPECT_NEAR(target->YPosition(), words->YPosition(), 20) << id;
    }
    TIDObject* row = b.doc.FindID("ROW");
    ASSERT_NE(row, nullptr) << "found without regard to case";
    EXPECT_GT(row->YPosition(), words->YPosition() + 300);
    EXPECT_LE(row->YPosition(), cell->YPosition());
    EXPECT_GT(row->YPosition(), cell->YPosition() - 60) << "the row's top, above its cells' text";
}

TEST(InPageTargets, BlocksKeepTheirOwnTargetsAndTheFirstOfTwoEqualIdsWins)
{
    Built b("<div id=box style=\"margin-top: 40px\">in the box</div>" + Filler(20) +
            "<span id=twice>first</span>" + Filler(20) + "<span id=twice>second</span><p id=box>not this</p>");
    EXPECT_NE(dynamic_cast<TBlock*>(b.doc.FindID("box")), nullptr);
    TIDObject* twice = b.doc.FindID("twice");
    ASSERT_NE(twice, nullptr);
    EXPECT_NEAR(twice->YPosition(), SectionWith(b.doc, "first")->YPosition(), 20);
}

TEST(PlainTextFiles, ReadLikeAPageWithoutADeclaredCharacterSet)
{
    EXPECT_EQ(TextFile("caf\xC3\xA9 na\xC3\xAFve\r\nline two\n").Text(), "caf\xC3\xA9 na\xC3\xAFve\nline two\n\n");
    EXPECT_EQ(TextFile("\xEF\xBB\xBFwith a mark").Text(), "with a mark\n");
    // Not UTF-8: the ANSI code page, quotation marks included.
    EXPECT_EQ(TextFile("caf\xE9 \x93quoted\x94").Text(), "caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D\n");
    EXPECT_EQ(TextFile("a\tb\nxy\bz").Text(), "a       b\nxz\n");
}

TEST(PreformattedText, ReferencesDecodeAsInOtherText)
{
    const std::string refs = "x &rarr; &alpha; &#8594; &#x3B1; &amp; &eacute; &#233; &bogus; y";
    Built b("<p>" + refs + "</p><pre>" + refs + "</pre>");
    auto sections = All<TSection>(b.doc);
    std::vector<std::string> texts;
    for (TSection* s : sections)
        if (TextOf(*s).find('x') != std::string::npos)
            texts.push_back(TextOf(*s));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], texts[1]);
    EXPECT_THAT(texts[1], HasSubstr("\xE2\x86\x92 \xCE\xB1 \xE2\x86\x92 \xCE\xB1 & \xC3\xA9 \xC3\xA9 &bogus;"));
}

TEST(FormText, IsReadAndSubmittedInTheDocumentsCodePage)
{
    // No declared character set and no UTF-8: the ANSI code page.
    Built b("<form><input name=q value=\"caf\xE9\"><textarea name=t>na\xEFve</textarea>"
            "<select name=s><option>\xE0 la carte</select></form>");
    ThtmlForm& form = *b.doc.Objects.Forms().at(0);
    EXPECT_THAT(form.GetFormSubmission(),
                ::testing::ElementsAre("q=caf\xE9", "t=na\xEFve", "s=\xE0 la carte"));
    auto* edit = dynamic_cast<TEditFormControlObj*>(form.ControlList().at(0));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Edit().text(), u"caf\u00E9");
    static_cast<THeadlessEdit&>(edit->Edit()).typeText(u"cr\u00E8me \u20AC \u3042");
    EXPECT_EQ(form.GetFormSubmission().at(0), "q=cr\xE8me \x80 ?") << "what the page cannot hold becomes ?";

    // A page that declares UTF-8 submits UTF-8.
    Built utf8("<meta http-equiv=content-type content=\"text/html; charset=utf-8\">"
               "<form><input name=q value=\"caf\xC3\xA9\"></form>");
    EXPECT_THAT(utf8.doc.Objects.Forms().at(0)->GetFormSubmission(), ::testing::ElementsAre("q=caf\xC3\xA9"));
}

TEST(FrameSetHead, MetaAndSoundAfterTheFrameSetAreSeen)
{
    std::vector<std::string> seen;
    TFrameSetHost host;
    host.addFrame = [&](const TAttributeList& a) { seen.push_back("frame " + a.Find(SrcSy)->Text); };
    host.OnMeta = [&](const std::string& httpEq, const std::string&, const std::string& content) {
        seen.push_back("meta " + httpEq + " " + content);
    };
    host.OnSound = [&](const std::string& src, int, bool) { seen.push_back("sound " + src); };
    FrameParseString("<html><head><title>t</title></head><frameset cols=\"*,*\"><frame src=a.htm><frame src=b.htm>"
                     "</frameset><meta http-equiv=refresh content=\"5; url=next.htm\"><bgsound src=bell.wav>"
                     "<frameset rows=\"*\"><frame src=ignored.htm></frameset></html>",
                     host);
    EXPECT_THAT(seen, ::testing::ElementsAre("frame a.htm", "frame b.htm", "meta refresh 5; url=next.htm",
                                             "sound bell.wav"));
}
