#include <gtest/gtest.h>

#include "../docimages/ObjectTestSupport.h"
#include "gfx/THeadlessControls.h"
#include "html/layout/FormElements.h"
#include "html/layout/TButtonFormControlObj.h"
#include "html/layout/TCheckBoxFormControlObj.h"
#include "html/layout/TEditFormControlObj.h"
#include "html/layout/TImageFormControlObj.h"
#include "html/layout/TListBoxFormControlObj.h"
#include "html/layout/TRadioButtonFormControlObj.h"
#include "html/layout/TTextAreaFormControlObj.h"
#include "html/layout/ThtmlForm.h"

using namespace objecttest;

namespace {

// A document with headless controls whose form submissions are collected.
struct FormDoc {
    THeadlessControlFactory factory; // outlives the document's controls
    layouttest::Doc d;
    std::vector<TFormSubmission> submitted;
    std::unique_ptr<TSection> section = std::make_unique<TSection>(d.doc, layouttest::Text());
    int source = 0;

    FormDoc()
    {
        d.doc.Controls = &factory;
        d.doc.Objects.Host.formSubmit = [this](TFormSubmission s) { submitted.push_back(std::move(s)); };
    }
    ThtmlForm& StartForm(const TAttributeList& attrs = {})
    {
        return d.doc.Objects.AddForm(std::make_unique<ThtmlForm>(d.doc, attrs));
    }
    TFormElement Add(THtmlSymbol element, const TAttributeList& attrs)
    {
        TFormElement e = CreateFormControls(d.doc, element, attrs, TObjectStyle{});
        for (TFormControlObj* c : e.placed)
            section->AddFormControl(c, source++);
        if (e.image)
            section->AddImage(std::move(e.image), source++);
        return e;
    }
    template <class T>
    T* Input(const TAttributeList& attrs)
    {
        return dynamic_cast<T*>(Add(InputSy, attrs).control);
    }
    void Layout(int width = 600)
    {
        if (section)
            d.body->AddSection(std::move(section));
        d.Layout(width);
        d.Paint();
    }
    const std::vector<std::string>& LastItems() const { return submitted.back().items; }
    // Lays out and paints a printing copy of the document on a fresh record.
    void PrintCopy()
    {
        auto copy = TSectionList::CreateCopy(d.doc);
        int maxWidth = 0;
        copy->LayOut(d.canvas, 0, 600, 600, maxWidth);
        d.canvas.clearCalls();
        TPaintContext pc{d.canvas, {0, 0, 600, 600}};
        pc.printing = true;
        copy->PaintDocument(pc, 0);
    }
};

template <class T>
T& Headless(TFormControlObj* c)
{
    return dynamic_cast<T&>(*c->TheControl());
}

} // namespace

TEST(FormSubmission, AFormWithoutActionSubmitsGetToAnEmptyAction)
{
    FormDoc f;
    ThtmlForm& form = f.StartForm();
    EXPECT_EQ(form.Method, "Get");
    auto* submit = f.Input<TButtonFormControlObj>(Attrs({{TypeSy, "submit"}}));
    EXPECT_EQ(submit->Caption(), u"Submit");
    f.Layout();
    Headless<THeadlessButton>(submit).fireClick();
    ASSERT_EQ(f.submitted.size(), 1u);
    EXPECT_EQ(f.submitted[0].action, "");
    EXPECT_EQ(f.submitted[0].method, "Get");
    EXPECT_TRUE(f.submitted[0].items.empty()) << "an unnamed submit button adds nothing";

    FormDoc g;
    ThtmlForm& posted = g.StartForm(Attrs({{MethodSy, "POSTED"}, {ActionSy, "cgi/echo.sh"}, {TargetSy, "main"}}));
    EXPECT_EQ(posted.Method, "POST");
    EXPECT_EQ(posted.Action, "cgi/echo.sh");
}

TEST(FormSubmission, NamedSubmitButtonItemComesLastAndDisabledControlsAreSkipped)
{
    FormDoc f;
    f.StartForm();
    f.Add(InputSy, Attrs({{NameSy, "who"}, {ValueSy, "Ann"}}));
    f.Add(InputSy, Attrs({{NameSy, "off"}, {ValueSy, "x"}, {DisabledSy, ""}}));
    f.Add(InputSy, Attrs({{TypeSy, "hidden"}, {NameSy, "h"}, {ValueSy, "1"}}));
    auto* go = f.Input<TButtonFormControlObj>(Attrs({{TypeSy, "submit"}, {NameSy, "go"}, {ValueSy, "Send"}}));
    f.Layout();
    go->Click();
    EXPECT_EQ(f.LastItems(), (std::vector<std::string>{"who=Ann", "h=1", "go=Send"}));
}

TEST(FormSubmission, RadioNamesDifferingInCaseAreOneGroup)
{
    FormDoc f;
    f.StartForm();
    auto* red = f.Input<TRadioButtonFormControlObj>(Attrs({{TypeSy, "radio"}, {NameSy, "Color"}, {ValueSy, "red"}, {CheckedSy, ""}}));
    auto* blue = f.Input<TRadioButtonFormControlObj>(Attrs({{TypeSy, "radio"}, {NameSy, "color"}, {ValueSy, "blue"}}));
    auto* other = f.Input<TRadioButtonFormControlObj>(Attrs({{TypeSy, "radio"}, {NameSy, "size"}, {ValueSy, "L"}, {CheckedSy, ""}}));
    f.Layout();
    Headless<THeadlessCheck>(blue).userClick();
    EXPECT_TRUE(blue->Checked());
    EXPECT_FALSE(red->Checked());
    EXPECT_TRUE(other->Checked()) << "another group is left alone";
    EXPECT_EQ(f.d.doc.Objects.Forms()[0]->GetFormSubmission(), (std::vector<std::string>{"color=blue", "size=L"}));

    // The arrow keys walk the group.
    blue->TheControl()->setFocus();
    EXPECT_TRUE(Headless<THeadlessCheck>(blue).fireKey(KeyLeft));
    EXPECT_TRUE(red->TheControl()->hasFocus());
    EXPECT_FALSE(Headless<THeadlessCheck>(red).fireKey('A')) << "other keys go to the viewer";
}

TEST(FormSubmission, CheckBoxesSubmitOnlyWhenCheckedAndDefaultToOn)
{
    FormDoc f;
    f.StartForm();
    auto* plain = f.Input<TCheckBoxFormControlObj>(Attrs({{TypeSy, "checkbox"}, {NameSy, "a"}}));
    auto* valued = f.Input<TCheckBoxFormControlObj>(Attrs({{TypeSy, "CHECKBOX"}, {NameSy, "b"}, {ValueSy, "yes"}}));
    f.Layout();
    ThtmlForm& form = *f.d.doc.Objects.Forms()[0];
    EXPECT_TRUE(form.GetFormSubmission().empty());
    Headless<THeadlessCheck>(plain).userClick();
    EXPECT_EQ(form.GetFormSubmission(), (std::vector<std::string>{"a=on"}));
    Headless<THeadlessCheck>(valued).userClick();
    EXPECT_EQ(form.GetFormSubmission(), (std::vector<std::string>{"a=on", "b=yes"}));
    EXPECT_EQ(plain->VertAlign, TVAlign::Baseline);
}

TEST(FormSubmission, ImageInputSubmitsTheClickPointInThePicture)
{
    FormDoc f;
    f.d.doc.Objects.Host.bitmapRequest = [](const std::string&, TBitmap& b, TColor& c) {
        b = TBitmap(40, 20);
        c = ClNone;
        return true;
    };
    f.StartForm(Attrs({{ActionSy, "find"}}));
    f.Add(InputSy, Attrs({{NameSy, "q"}, {ValueSy, "lamp"}}));
    TFormElement e = f.Add(InputSy, Attrs({{TypeSy, "image"}, {NameSy, "go"}, {SrcSy, "go.gif"}}));
    auto* image = dynamic_cast<TImageFormControlObj*>(e.control);
    ASSERT_NE(image, nullptr);
    f.Layout();
    TImageObj* picture = image->Image();
    TLinkHit hit;
    int flags = f.d.doc.LinkAt(f.d.canvas, picture->DrawX + 5, picture->DrawYY + 7, hit);
    ASSERT_TRUE(flags & HitControl);
    ASSERT_EQ(hit.control, image);
    hit.control->Click();
    EXPECT_EQ(f.LastItems(), (std::vector<std::string>{"q=lamp", "go.x=5", "go.y=7"}));
    EXPECT_TRUE(image->TheControl()->hasFocus());
    // The click is forgotten once submitted.
    EXPECT_EQ(f.d.doc.Objects.Forms()[0]->GetFormSubmission(), (std::vector<std::string>{"q=lamp"}));
}

TEST(FormSubmission, HardWrappedTextAreaJoinsTheDisplayedLines)
{
    FormDoc f;
    f.StartForm();
    TFormElement hard = f.Add(TextAreaSy, Attrs({{NameSy, "t"}, {ColsSy, "10"}, {WrapSy, "HARD"}}));
    TFormElement soft = f.Add(TextAreaSy, Attrs({{NameSy, "s"}, {ColsSy, "10"}}));
    for (TTextAreaFormControlObj* area : {hard.textArea, soft.textArea}) {
        area->AddText(u"the lamp room and the gallery");
        area->ResetToInitial();
    }
    f.Layout();
    std::vector<std::u16string> lines = hard.textArea->Memo().displayedLines();
    ASSERT_GT(lines.size(), 1u);
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i)
        joined += (i ? "\r\n" : "") + std::string(lines[i].begin(), lines[i].end());
    std::string item;
    ASSERT_TRUE(hard.textArea->SubmissionItem(0, item));
    EXPECT_EQ(item, "t=" + joined);
    EXPECT_EQ(item.substr(item.size() - 2), joined.substr(joined.size() - 2)) << "no line break after the last line";
    ASSERT_TRUE(soft.textArea->SubmissionItem(0, item));
    EXPECT_EQ(item, "s=the lamp room and the gallery");
}

TEST(FormSubmission, SelectOptionsSubmitTheirValues)
{
    FormDoc f;
    f.StartForm();
    TFormElement multi = f.Add(SelectSy, Attrs({{NameSy, "m"}, {MultipleSy, ""}}));
    TFormElement combo = f.Add(SelectSy, Attrs({{NameSy, "c"}}));
    TFormElement list = f.Add(SelectSy, Attrs({{NameSy, "l"}, {SizeSy, "3"}}));
    for (TListBoxFormControlObj* s : {multi.select, combo.select, list.select}) {
        s->AddOption(u"North", false, Attrs({{ValueSy, "n"}}));
        s->AddOption(u"South", true, {});
        s->AddOption(u"", false, {});
    }
    EXPECT_EQ(combo.select->Options()[2].value, " ");
    EXPECT_NE(dynamic_cast<THeadlessList&>(*combo.select->TheControl()).kind(), TControlKind::ListBox);
    f.Layout();
    auto& form = *f.d.doc.Objects.Forms()[0];
    EXPECT_EQ(form.GetFormSubmission(), (std::vector<std::string>{"m=South", "c=South", "l=South"}));
    multi.select->List().setSelected(1, false);
    EXPECT_EQ(form.GetFormSubmission(), (std::vector<std::string>{"c=South", "l=South"}))
        << "a multiple list with nothing selected submits nothing";
    multi.select->List().setSelected(0, true);
    multi.select->List().setSelected(2, true);
    EXPECT_EQ(form.GetFormSubmission().front(), "m=n");
    EXPECT_EQ(form.GetFormSubmission()[1], "m= ");
}

TEST(FormReset, ResetButtonRestoresInitialValues)
{
    FormDoc f;
    f.StartForm();
    auto* edit = f.Input<TEditFormControlObj>(Attrs({{NameSy, "e"}, {ValueSy, "start"}}));
    auto* box = f.Input<TCheckBoxFormControlObj>(Attrs({{TypeSy, "checkbox"}, {NameSy, "b"}, {CheckedSy, ""}}));
    TFormElement combo = f.Add(SelectSy, Attrs({{NameSy, "c"}}));
    combo.select->AddOption(u"a", true, {});
    combo.select->AddOption(u"b", true, {});
    combo.select->AddOption(u"c", false, {});
    auto* reset = f.Input<TButtonFormControlObj>(Attrs({{TypeSy, "reset"}}));
    f.Layout();
    EXPECT_EQ(combo.select->List().itemIndex(), 1) << "the last option marked SELECTED";
    Headless<THeadlessEdit>(edit).typeText(u"changed");
    Headless<THeadlessCheck>(box).userClick();
    combo.select->List().setItemIndex(2);
    Headless<THeadlessButton>(reset).fireClick();
    EXPECT_EQ(edit->Edit().text(), u"start");
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(combo.select->List().itemIndex(), 1);
    EXPECT_TRUE(f.submitted.empty());
}

TEST(FormData, SaveAndRestoreBringBackWhatWasEntered)
{
    FormDoc f;
    f.StartForm();
    auto* edit = f.Input<TEditFormControlObj>(Attrs({{NameSy, "Name"}}));
    auto* box = f.Input<TCheckBoxFormControlObj>(Attrs({{TypeSy, "checkbox"}, {NameSy, "opt"}, {ValueSy, "Yes"}}));
    TFormElement list = f.Add(SelectSy, Attrs({{NameSy, "l"}, {MultipleSy, ""}}));
    list.select->AddOption(u"one", false, {});
    list.select->AddOption(u"two", false, {});
    list.select->AddOption(u"three", false, {});
    f.Layout();
    Headless<THeadlessEdit>(edit).typeText(u"Kim");
    Headless<THeadlessCheck>(box).userClick();
    list.select->List().setSelected(0, true);
    list.select->List().setSelected(2, true);
    ThtmlForm& form = *f.d.doc.Objects.Forms()[0];
    std::vector<std::string> saved = form.SaveFormData();
    form.DoReset();
    EXPECT_FALSE(box->Checked());
    saved[1] = "OPT=yes"; // names and check box values compare ignoring case
    form.RestoreFormData(saved);
    EXPECT_EQ(edit->Edit().text(), u"Kim");
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(list.select->List().selected(0));
    EXPECT_FALSE(list.select->List().selected(1));
    EXPECT_TRUE(list.select->List().selected(2));
}

TEST(FormEvents, EnterSubmitsAndScriptsAreReported)
{
    FormDoc f;
    std::vector<std::string> scripts;
    f.d.doc.Objects.Host.script = [&](TFormControlObj&, TControlEvent event, const std::string& text) {
        scripts.push_back(std::to_string(int(event)) + ":" + text);
    };
    int entered = 0;
    f.d.doc.Objects.Host.controlEntered = [&](TFormControlObj&) { ++entered; };
    f.StartForm();
    auto* edit = f.Input<TEditFormControlObj>(
        Attrs({{NameSy, "q"}, {OnFocusSy, "f()"}, {OnChangeSy, "c()"}, {OnBlurSy, "b()"}}));
    auto* other = f.Input<TEditFormControlObj>(Attrs({{NameSy, "r"}, {OnClickSy, "k()"}}));
    f.Layout();
    edit->TheControl()->setFocus();
    EXPECT_TRUE(edit->Focused);
    Headless<THeadlessEdit>(edit).typeText(u"new");
    other->TheControl()->setFocus();
    EXPECT_EQ(scripts, (std::vector<std::string>{"0:f()", "3:c()", "1:b()"}));
    EXPECT_EQ(entered, 2);
    EXPECT_TRUE(Headless<THeadlessEdit>(other).fireKey(KeyReturn));
    ASSERT_EQ(f.submitted.size(), 1u);
    EXPECT_EQ(f.LastItems(), (std::vector<std::string>{"q=new", "r="}));
}

TEST(FormControls, FileInputBrowsesThroughTheHost)
{
    FormDoc f;
    std::u16string offered;
    f.d.doc.Objects.Host.fileBrowse = [&](std::u16string& name) {
        offered = name;
        name = u"/tmp/chosen.txt";
        return true;
    };
    f.StartForm();
    TFormElement file = f.Add(InputSy, Attrs({{TypeSy, "file"}, {NameSy, "up"}, {ValueSy, "old"}}));
    ASSERT_EQ(file.placed.size(), 2u);
    auto* button = dynamic_cast<TButtonFormControlObj*>(file.placed[1]);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Caption(), u"Browse...");
    f.Layout();
    button->Click();
    EXPECT_EQ(offered, u"old");
    EXPECT_EQ(f.d.doc.Objects.Forms()[0]->GetFormSubmission(), (std::vector<std::string>{"up=/tmp/chosen.txt"}));
}

TEST(FormControls, SizesFollowTheirRules)
{
    FormDoc f;
    auto* plain = f.Input<TEditFormControlObj>(Attrs({{NameSy, "a"}}));
    auto* sized = f.Input<TEditFormControlObj>(Attrs({{SizeSy, "12,5"}}));
    auto* odd = f.Input<TEditFormControlObj>(Attrs({{SizeSy, "wide"}}));
    auto* radio = f.Input<TRadioButtonFormControlObj>(Attrs({{TypeSy, "radio"}}));
    auto* hidden = f.Add(InputSy, Attrs({{TypeSy, "hidden"}})).control;
    EXPECT_EQ(f.d.doc.Objects.Forms().size(), 1u) << "a form is made for controls outside any";
    f.Layout();
    int zero = f.d.canvas.createFont(TFontSpec{})->textWidth(u"0");
    EXPECT_EQ(plain->Width(), zero * 15 + 20);
    EXPECT_EQ(sized->Width(), zero * 12 + 20);
    EXPECT_EQ(odd->Width(), zero * 20 + 20);
    EXPECT_EQ(radio->Width(), 13);
    EXPECT_EQ(radio->Height(), 14);
    EXPECT_FALSE(hidden->HasWindow());
    TFixedCanvas fine(TFixedCanvas::TDevice{120, 120});
    radio->SizeControl(fine);
    EXPECT_EQ(radio->Width(), 16);
}

TEST(FormControls, ManyControlsAndOptionsBuildAndLayOut)
{
    FormDoc f;
    f.StartForm();
    for (int i = 0; i < 10000; ++i)
        f.Add(InputSy, Attrs({{TypeSy, i % 2 ? "checkbox" : "text"}, {NameSy, "n" + std::to_string(i)}}));
    TFormElement big = f.Add(SelectSy, Attrs({{NameSy, "big"}}));
    for (int i = 0; i < 100000; ++i)
        big.select->AddOption(u"option", i == 99999, {});
    f.Layout();
    EXPECT_EQ(big.select->List().count(), 100000);
    std::vector<std::string> items = f.d.doc.Objects.Forms()[0]->GetFormSubmission();
    EXPECT_EQ(items.size(), 5001u);
    EXPECT_EQ(items.back(), "big=option");
    EXPECT_EQ(f.d.doc.Objects.Forms()[0]->NonHiddenCount(), 10001);
}

TEST(FormControls, PrintingCopiesDrawTheControls)
{
    FormDoc f;
    f.StartForm();
    auto* edit = f.Input<TEditFormControlObj>(Attrs({{NameSy, "p"}, {TypeSy, "password"}, {ValueSy, "abc"}}));
    auto* box = f.Input<TCheckBoxFormControlObj>(Attrs({{TypeSy, "checkbox"}, {CheckedSy, ""}}));
    f.Layout();
    f.PrintCopy();
    EXPECT_NE(f.d.canvas.drawnText().find(u"***"), std::u16string::npos);
    bool checkMark = false;
    for (const TDrawCall& c : f.d.canvas.calls())
        checkMark |= c.kind == TDrawKind::Polyline;
    EXPECT_TRUE(checkMark);
    (void)edit;
    (void)box;
}

TEST(FormControls, PrintedButtonsWithoutAWindowAreDrawnAndTheTextAfterKeepsItsPlace)
{
    FormDoc f;
    f.StartForm();
    f.Input<TButtonFormControlObj>(Attrs({{TypeSy, "submit"}, {ValueSy, "Send"}}));
    f.section->AddText(u" after", {});
    f.Layout();
    auto textRect = [&](const std::u16string& text) {
        for (const TDrawCall& c : f.d.canvas.calls())
            if (c.kind == TDrawKind::Text && c.text.find(text) != std::u16string::npos)
                return c.rect;
        return TRect{-1, -1, -1, -1};
    };
    TRect onScreen = textRect(u"after");
    ASSERT_NE(onScreen.top, -1);

    f.PrintCopy();
    EXPECT_EQ(textRect(u"after"), onScreen) << "the button's text settings must not leak into the line";
    EXPECT_NE(textRect(u"Send").top, -1);
    bool raised = false;
    for (const TDrawCall& c : f.d.canvas.calls())
        raised |= c.kind == TDrawKind::Edge && c.edge == TEdgeKind::Raised;
    EXPECT_TRUE(raised);
}
