#include "html/layout/TEditFormControlObj.h"

#include <algorithm>

#include "html/layout/ObjectAttributes.h"
#include "html/layout/TSectionList.h"
#include "html/layout/ThtmlForm.h"
#include "util/CodePage.h"

namespace {
constexpr int UnreadableSize = 20;
constexpr int InitialWidth = 120;
constexpr int InitialHeight = 20;
constexpr int ParkedWidth = 10;
} // namespace

TEditFormControlObj::TEditFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                                         const TObjectStyle& style, TEchoMode echo)
    : TFormControlObj(document, form, attrs, style), FEcho(echo)
{
    if (HasAttr(attrs, SizeSy))
        Size = SizeInCharacters(AttrText(attrs, SizeSy));
    FWidth = InitialWidth;
    FHeight = InitialHeight;
    auto edit = Factory().createEdit();
    edit->setEchoMode(echo);
    if (auto max = AttrInt(attrs, MaxLengthSy); max && *max > 0)
        edit->setMaxLength(*max);
    edit->setText(CodePage::ToUtf16(CodePageNumber, FValue));
    SetControl(std::move(edit));
}

int TEditFormControlObj::SizeInCharacters(const std::string& sizeText)
{
    size_t cut = sizeText.find_first_of(" ,");
    auto n = LeadingInt(std::string_view(sizeText).substr(0, cut));
    return n && *n > 0 ? std::min(*n, 10000) : UnreadableSize;
}

void TEditFormControlObj::RememberContents() { FSavedText = Edit().text(); }

void TEditFormControlObj::CheckChange()
{
    if (Edit().text() != FSavedText) {
        FSavedText = Edit().text();
        FireScript(TControlEvent::Change, OnChange);
    }
}

void TEditFormControlObj::ResetToInitial() { Edit().setText(CodePage::ToUtf16(CodePageNumber, FValue)); }

bool TEditFormControlObj::SubmissionItem(int index, std::string& text)
{
    if (index > 0)
        return false;
    text = FName + "=" + CodePage::FromUtf16(CodePageNumber, Edit().text());
    return true;
}

void TEditFormControlObj::SetValue(int, const std::string& text) { Edit().setText(CodePage::ToUtf16(CodePageNumber, text)); }

void TEditFormControlObj::SizeControl(TCanvas& canvas)
{
    TFontRef font = ControlFont(canvas);
    int height = std::max(StyleHeight, font->metrics().height + FControl->frameSize().y + 2);
    if (PercentWidth >= 0) {
        FControl->setBounds({-4000, 0, -4000 + ParkedWidth, height});
        return;
    }
    int width = StyleWidth >= 10 ? StyleWidth : font->textWidth(u"0") * Size + 20;
    FControl->setSize(width, height);
}

bool TEditFormControlObj::KeyPressed(int key, TShiftState)
{
    if (key != KeyReturn)
        return false;
    FForm->SubmitTheForm(std::string());
    return true;
}

void TEditFormControlObj::PaintImage(TCanvas& canvas, int x, int y)
{
    TRect r{x, y, x + Width(), y + Height()};
    canvas.drawEdge(r, TEdgeKind::Sunken);
    std::u16string shown = Edit().text();
    if (FEcho == TEchoMode::Password)
        shown.assign(shown.size(), u'*');
    PaintBoxText(canvas, r, r.right - 2, {&shown, 1}, y + TextInset);
}
