// Images, panels, rules, page breaks, image maps and forms as the builder
// puts them into the document.
#include <gmock/gmock.h>

#include "BuilderTestSupport.h"
#include "html/layout/THRBlock.h"
#include "html/layout/TImageObj.h"
#include "html/layout/TListBoxFormControlObj.h"
#include "html/layout/TPage.h"
#include "html/layout/TPanelObj.h"
#include "html/layout/TTextAreaFormControlObj.h"
#include "html/layout/ThtmlForm.h"

using namespace buildtest;

namespace {

template <typename T> T* Object(TSectionList& doc, const std::string& id)
{
    return dynamic_cast<T*>(doc.FindID(id));
}

} // namespace

TEST(BuilderImages, PercentWidthIsTakenFromTheCell)
{
    Built b("<table border=0 cellpadding=0 cellspacing=0><tr><td width=300>"
            "<img id=half src=none.gif width=50% height=20></td></tr></table>");
    auto* image = Object<TImageObj>(b.doc, "half");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->ObjWidth, 150);
    EXPECT_EQ(image->ObjHeight, 20);
    EXPECT_EQ(image->Source, "none.gif");
}

TEST(BuilderImages, ImagesStandInTheTextWhereTheTagWas)
{
    Built b("<p>before <img id=a src=a.gif width=10 height=10 alt=A> after <panel name=p1 width=40 height=30></p>");
    auto* image = Object<TImageObj>(b.doc, "a");
    auto* panel = Object<TPanelObj>(b.doc, "p1");
    ASSERT_NE(image, nullptr);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Name, "p1");
    // Each stands at its place in the text of the one section.
    EXPECT_EQ(image->Pos, 7);
    EXPECT_EQ(panel->Pos, 15);
    EXPECT_THAT(TextOf(*SectionWith(b.doc, "before")), ::testing::HasSubstr("after"));
}

TEST(BuilderImages, ImageInPreIsKept)
{
    Built b("<pre>one <img id=p src=a.gif width=12 height=12> two</pre>");
    auto* image = Object<TImageObj>(b.doc, "p");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->ObjWidth, 12);
    EXPECT_NE(SectionWith(b.doc, "two"), nullptr);
}

TEST(BuilderRules, RuleSizeOutOfRangeFallsBackAndShowsInTheDump)
{
    Built b("<p>a</p><hr size=30><hr size=7 width=50% align=left><p>b</p>");
    auto rules = All<THRBlock>(b.doc);
    ASSERT_EQ(rules.size(), 2u);
    ASSERT_NE(rules[0]->Line(), nullptr);
    EXPECT_EQ(rules[0]->Line()->VSize, 2);
    EXPECT_EQ(rules[1]->Line()->VSize, 7);
    EXPECT_EQ(rules[1]->Align, TRuleAlign::Left);
    std::string dump = b.Dump();
    EXPECT_THAT(dump, ::testing::HasSubstr("h=2\n"));
    // Rules come between the paragraphs, in order.
    EXPECT_LT(dump.find("rule"), dump.find("h=7"));
    EXPECT_LT(SectionWith(b.doc, "a")->YPosition(), rules[0]->YPosition());
    EXPECT_LT(rules[1]->YPosition(), SectionWith(b.doc, "b")->YPosition());
}

TEST(BuilderRules, RuleAlignmentFromItsOwnStyleOnlyOverridesAlign)
{
    Built b("<style>hr.r { text-align: right }</style><div align=left>"
            "<hr align=center><hr class=r align=left></div>");
    auto rules = All<THRBlock>(b.doc);
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[0]->Align, TRuleAlign::Center);
    EXPECT_EQ(rules[1]->Align, TRuleAlign::Right);
}

TEST(BuilderRules, PageBreakIsASectionOfItsOwn)
{
    Built b("<p>one<page>two</p><pre>x<page>y</pre>");
    EXPECT_EQ(All<TPage>(b.doc).size(), 2u);
    EXPECT_NE(SectionWith(b.doc, "two"), nullptr);
    EXPECT_NE(SectionWith(b.doc, "y"), nullptr);
}

TEST(BuilderMaps, MapAfterItsImageIsFoundAndAnswersItsAreas)
{
    Built b("<img id=m src=m.gif width=100 height=50 usemap=#Nav border=0>"
            "<map name=nav><area shape=rect coords=0,0,49,49 href=left.htm title=Left>"
            "<area shape=rect coords=50,0,99,49 href=right.htm></map>");
    auto* image = Object<TImageObj>(b.doc, "m");
    ASSERT_NE(image, nullptr);
    TLinkHit hit;
    EXPECT_EQ(image->LinkAt(10, 10, hit) & HitLink, HitLink);
    EXPECT_EQ(hit.link.url, "left.htm");
    EXPECT_EQ(hit.title, "Left");
    TLinkHit right;
    image->LinkAt(70, 10, right);
    EXPECT_EQ(right.link.url, "right.htm");
}

TEST(BuilderMaps, DroppedMapIsNotFound)
{
    Built b("<map name=lost><area coords=0,0,9,9 href=x><b><i><u>text");
    EXPECT_EQ(b.doc.Objects.FindMap("LOST"), nullptr);
}

TEST(BuilderForms, ControlsOfAFormSubmitTheirValues)
{
    Built b("<form action=go.htm method=post>"
            "<input type=text name=who value=Ann>"
            "<input type=hidden name=h value=1>"
            "<input type=checkbox name=c value=on checked>"
            "<select name=pick><option value=a>Apple<option selected>  Pear  </option><option value=c>C</select>"
            "<textarea name=note>two\nlines</textarea>"
            "<input type=submit>"
            "</form><p>after</p>");
    const auto& forms = b.doc.Objects.Forms();
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_EQ(b.doc.Objects.CurrentForm(), nullptr);
    std::vector<std::string> items = forms[0]->GetFormSubmission();
    EXPECT_THAT(items, ::testing::ElementsAre("who=Ann", "h=1", "c=on", "pick=Pear", "note=two\r\nlines"));

    std::vector<TFormSubmission> sent;
    b.doc.Objects.Host.formSubmit = [&](TFormSubmission s) { sent.push_back(std::move(s)); };
    forms[0]->SubmitTheForm({});
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].action, "go.htm");
    EXPECT_EQ(sent[0].items, items);
    EXPECT_NE(SectionWith(b.doc, "after"), nullptr);
}

TEST(BuilderForms, ControlsStandInTheSectionsAndTwoFormsStaySeparate)
{
    Built b("<form action=a><p>Name <input name=n1></form><form action=b><input name=n2 value=x></form>");
    const auto& forms = b.doc.Objects.Forms();
    ASSERT_EQ(forms.size(), 2u);
    EXPECT_EQ(forms[0]->ControlList().size(), 1u);
    EXPECT_EQ(forms[1]->ControlList().size(), 1u);
    ASSERT_EQ(b.doc.FormControlList.size(), 2u);
    // The first control stands after "Name " in its paragraph.
    EXPECT_EQ(b.doc.FormControlList[0]->Pos, 5);
}

TEST(BuilderForms, TextAreaAndSelectInsidePre)
{
    Built b("<pre><form><textarea name=t>kept</textarea> <select name=s><option>one</select></form>line</pre>");
    ASSERT_EQ(b.doc.Objects.Forms().size(), 1u);
    EXPECT_THAT(b.doc.Objects.Forms()[0]->GetFormSubmission(), ::testing::ElementsAre("t=kept", "s=one"));
    EXPECT_NE(SectionWith(b.doc, "line"), nullptr);
}
