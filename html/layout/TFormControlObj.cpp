#include "html/layout/TFormControlObj.h"

#include <cstdio>

#include "html/layout/ObjectAttributes.h"
#include "html/layout/TSectionList.h"
#include "html/layout/ThtmlForm.h"

namespace {
// Windows wait off-screen until their place is painted.
constexpr int ParkedX = -4000;
} // namespace

TFormControlObj::TFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                                 const TObjectStyle& style)
    : FDocument(&document), FForm(&form), FStyle(style)
{
    FValue = AttrText(attrs, ValueSy);
    CodePageNumber = style.codePage;
    FName = AttrText(attrs, NameSy);
    FID = AttrText(attrs, IDSy);
    if (!FID.empty())
        document.AddID(FID, this);
    OnClick = AttrText(attrs, OnClickSy);
    OnFocus = AttrText(attrs, OnFocusSy);
    OnBlur = AttrText(attrs, OnBlurSy);
    OnChange = AttrText(attrs, OnChangeSy);
    FTabIndex = AttrInt(attrs, TabIndexSy).value_or(0);
    FDisabled = HasAttr(attrs, DisabledSy);
    form.AddControl(this);
}

TFormControlObj::~TFormControlObj() = default;

TControlFactory& TFormControlObj::Factory() const { return FDocument->Objects.ControlFactory(); }

void TFormControlObj::SetControl(std::unique_ptr<TControl> control)
{
    FControl = std::move(control);
    TControl& c = *FControl;
    c.setBounds({ParkedX, 0, ParkedX + FWidth, FHeight});
    c.setFont(FStyle.font);
    if (FStyle.background != ClNone)
        c.setColor(FStyle.background);
    c.setEnabled(!FDisabled);
    TControlEvents& e = c.events();
    e.onFocus = [this] { Entered(); };
    e.onBlur = [this] { Exited(); };
    e.onClick = [this] { DoClick(); };
    e.onKey = [this](int key, TShiftState shift) { return KeyPressed(key, shift); };
    if (FTabIndex > 0 && !FDocument->IsCopy) {
        char key[32];
        std::snprintf(key, sizeof key, "%.5d%.3d", FTabIndex, int(FDocument->TabOrderList.size()));
        FDocument->TabOrderList.emplace(key, &c);
    }
}

void TFormControlObj::SetWidth(int w)
{
    FWidth = w;
    if (FControl)
        FControl->setSize(w, FControl->bounds().height());
}

void TFormControlObj::ApplyStyle(const TObjectStyle& style)
{
    constexpr int MarginBase = 100;
    if (style.margins[SideLeft].IsSet())
        HSpaceL = std::max(0, ClampPixels(style.margins[SideLeft].Resolve(MarginBase)));
    if (style.margins[SideRight].IsSet())
        HSpaceR = std::max(0, ClampPixels(style.margins[SideRight].Resolve(MarginBase)));
    if (style.width.kind == TStyleLength::Kind::Percent && style.width.value > 0 && style.width.value <= 100)
        PercentWidth = style.width.value;
    else if (style.width.IsSet() && style.width.value > 0)
        StyleWidth = ClampPixels(style.width.value); // a percentage over 100 counts as pixels
    if (style.height.IsSet() && style.height.value > 0)
        StyleHeight = ClampPixels(style.height.kind == TStyleLength::Kind::Percent ? style.height.value
                                                                                  : style.height.Resolve(0));
    if (style.verticalAlign)
        VertAlign = *style.verticalAlign;
}

TFontRef TFormControlObj::ControlFont(TCanvas& canvas) const { return canvas.createFont(FStyle.font); }

void TFormControlObj::PaintBoxText(TCanvas& canvas, const TRect& box, int textRight,
                                   std::span<const std::u16string> lines, int firstY) const
{
    canvas.save();
    canvas.intersectClip({box.left + 2, box.top + 2, textRight, box.bottom - 2});
    canvas.setFont(ControlFont(canvas));
    canvas.setTextColor(FStyle.color);
    canvas.setBackgroundMode(TBackgroundMode::Transparent);
    canvas.setTextAlign(TTextAlign::Top);
    int lineHeight = std::max(1, canvas.font()->metrics().height);
    int y = firstY;
    for (size_t i = 0; i < lines.size() && y < box.bottom; ++i, y += lineHeight)
        canvas.textOut(box.left + TextInset, y, lines[i]);
    canvas.restore();
}

int TFormControlObj::TextHeightOfA(TCanvas& canvas) const { return ControlFont(canvas)->metrics().height; }

void TFormControlObj::FireScript(TControlEvent event, const std::string& script)
{
    if (script.empty() || FDocument->IsCopy)
        return;
    if (auto& host = FDocument->Objects.Host.script)
        host(*this, event, script);
}

void TFormControlObj::Invalidate() const
{
    if (FDocument->Host.invalidate)
        FDocument->Host.invalidate();
}

void TFormControlObj::Entered()
{
    Focused = true;
    Invalidate();
    if (auto& entered = FDocument->Objects.Host.controlEntered)
        entered(*this);
    FireScript(TControlEvent::Focus, OnFocus);
    if (!OnChange.empty())
        RememberContents();
}

void TFormControlObj::Exited()
{
    Focused = false;
    if (!OnChange.empty())
        CheckChange();
    FireScript(TControlEvent::Blur, OnBlur);
    Invalidate();
}

void TFormControlObj::DoClick() { FireScript(TControlEvent::Click, OnClick); }
