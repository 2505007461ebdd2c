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
    // A white well, sunken: its upper-left rim in shadow, the lower-right lit.
    TRect circle{x, y, x + CircleSize, y + CircleSize};
    TRect inner{x + 1, y + 1, x + CircleSize - 1, y + CircleSize - 1};
    canvas.setPen({0xFFFFFF, 1, TPenStyle::None});
    canvas.setBrush({Disabled() ? TColor(0xC0C0C0) : TColor(0xFFFFFF), TBrushStyle::Solid});
    canvas.ellipse(circle);
    TPoint upperRight{circle.right, circle.top}, lowerLeft{circle.left, circle.bottom};
    canvas.setPen({0x808080, 1, TPenStyle::Solid});
    canvas.arc(circle, upperRight, lowerLeft);
    canvas.setPen({Disabled() ? TColor(0x808080) : TColor(0x404040), 1, TPenStyle::Solid});
    canvas.arc(inner, upperRight, lowerLeft);
    canvas.setPen({0xFFFFFF, 1, TPenStyle::Solid});
    canvas.arc(circle, lowerLeft, upperRight);
    canvas.setPen({0xC0C0C0, 1, TPenStyle::Solid});
    canvas.arc(inner, lowerLeft, upperRight);
    if (!Checked())
        return;
    canvas.setPen({0, 1, TPenStyle::Solid});
    canvas.setBrush({Disabled() ? TColor(0x808080) : TColor(0), TBrushStyle::Solid});
    canvas.ellipse({x + 4, y + 4, x + CircleSize - 4, y + CircleSize - 4});
}
