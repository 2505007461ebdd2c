#include "html/layout/TCheckBoxFormControlObj.h"

#include "html/layout/ObjectAttributes.h"

namespace {
constexpr int BoxSize = 13;
}

TCheckBoxFormControlObj::TCheckBoxFormControlObj(TSectionList& document, ThtmlForm& form,
                                                 const TAttributeList& attrs, const TObjectStyle& style)
    : TCheckBoxFormControlObj(document, form, attrs, style, TKind::CheckBox)
{
}

TCheckBoxFormControlObj::TCheckBoxFormControlObj(TSectionList& document, ThtmlForm& form,
                                                 const TAttributeList& attrs, const TObjectStyle& style, TKind kind)
    : TFormControlObj(document, form, attrs, style)
{
    if (FValue.empty())
        FValue = "on";
    IsChecked = HasAttr(attrs, CheckedSy);
    VertAlign = TVAlign::Baseline;
    FWidth = FHeight = BoxSize;
    auto check = kind == TKind::Radio ? Factory().createRadioButton() : Factory().createCheckBox();
    check->setChecked(IsChecked);
    SetControl(std::move(check));
}

bool TCheckBoxFormControlObj::Checked() const { return Check().checked(); }
void TCheckBoxFormControlObj::SetChecked(bool checked) { Check().setChecked(checked); }

void TCheckBoxFormControlObj::RememberContents() { FSaved = Checked(); }

void TCheckBoxFormControlObj::CheckChange()
{
    if (Checked() != FSaved) {
        FSaved = Checked();
        FireScript(TControlEvent::Change, OnChange);
    }
}

void TCheckBoxFormControlObj::ResetToInitial() { SetChecked(IsChecked); }

bool TCheckBoxFormControlObj::SubmissionItem(int index, std::string& text)
{
    if (index > 0 || !Checked())
        return false;
    text = FName + "=" + FValue;
    return true;
}

void TCheckBoxFormControlObj::SetValue(int, const std::string& text)
{
    if (SameTextNoCase(text, FValue))
        SetChecked(true);
}

void TCheckBoxFormControlObj::ClearValue() { SetChecked(false); }

void TCheckBoxFormControlObj::SizeControl(TCanvas&) { FControl->setSize(BoxSize, BoxSize); }

void TCheckBoxFormControlObj::PaintImage(TCanvas& canvas, int x, int y)
{
    TRect r{x, y, x + Width(), y + Height()};
    canvas.frameRect(r, 0);
    if (!Checked())
        return;
    canvas.setPen({0, 2, TPenStyle::Solid});
    canvas.polyline({{x + 3, y + Height() / 2}, {x + Width() / 2 - 1, y + Height() - 4}, {x + Width() - 3, y + 3}});
}
