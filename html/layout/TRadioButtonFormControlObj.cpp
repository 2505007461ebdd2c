#include "html/layout/TRadioButtonFormControlObj.h"

#include <algorithm>

#include "html/layout/ThtmlForm.h"

namespace {
constexpr int HighResolutionPpi = 100;
constexpr int CircleSize = 14;
} // namespace

TRadioButtonFormControlObj::TRadioButtonFormControlObj(TSectionList& document, ThtmlForm& form,
                                                       const TAttributeList& attrs, const TObjectStyle& style)
    : TCheckBoxFormControlObj(document, form, attrs, style, TKind::Radio)
{
    FWidth = 13;
    FHeight = 14;
}

void TRadioButtonFormControlObj::SizeControl(TCanvas& canvas)
{
    if (canvas.pixelsPerInchX() > HighResolutionPpi)
        FControl->setSize(16, 16);
    else
        FControl->setSize(13, 14);
}

void TRadioButtonFormControlObj::CheckInGroup()
{
    SetChecked(true);
    for (TRadioButtonFormControlObj* other : FForm->RadioGroup(FName)) {
        if (other == this || !other->Checked())
            continue;
        other->SetChecked(false);
        other->FireScript(TControlEvent::Change, other->OnChange);
    }
}

void TRadioButtonFormControlObj::DoClick()
{
    CheckInGroup();
    TFormControlObj::DoClick();
}

bool TRadioButtonFormControlObj::KeyPressed(int key, TShiftState)
{
    int step = key == KeyLeft || key == KeyUp ? -1 : key == KeyRight || key == KeyDown ? 1 : 0;
    if (step == 0)
        return false;
    auto group = FForm->RadioGroup(FName);
    auto it = std::find(group.begin(), group.end(), this);
    if (it == group.end())
        return true;
    long next = long(it - group.begin()) + step;
    if (next >= 0 && next < long(group.size()))
        if (TControl* c = group[size_t(next)]->TheControl())
            c->setFocus();
    return true;
}

void TRadioButtonFormControlObj::PaintImage(TCanvas& canvas, int x, int y)
{
    TRect circle{x, y, x + CircleSize, y + CircleSize};
    TColor dark = Disabled() ? 0x808080 : 0x404040;
    canvas.setPen({dark, 1, TPenStyle::Solid});
    canvas.arc(circle, {circle.right, circle.top}, {circle.left, circle.bottom});
    canvas.setPen({Disabled() ? TColor(0xC0C0C0) : TColor(0xFFFFFF), 1, TPenStyle::Solid});
    canvas.arc(circle, {circle.left, circle.bottom}, {circle.right, circle.top});
    if (!Checked())
        return;
    canvas.setPen({0, 1, TPenStyle::Solid});
    canvas.setBrush({Disabled() ? TColor(0x808080) : TColor(0), TBrushStyle::Solid});
    canvas.ellipse({x + 4, y + 4, x + CircleSize - 4, y + CircleSize - 4});
}
