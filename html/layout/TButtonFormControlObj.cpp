#include "html/layout/TButtonFormControlObj.h"

#include "html/layout/TEditFormControlObj.h"
#include "html/parse/TAttributeList.h"
#include "html/layout/TSectionList.h"
#include "html/layout/ThtmlForm.h"
#include "util/CodePage.h"

namespace {

std::string DefaultCaption(TButtonKind kind)
{
    switch (kind) {
    case TButtonKind::Submit:
        return "Submit";
    case TButtonKind::Reset:
        return "Reset";
    case TButtonKind::Plain:
        return "Button";
    case TButtonKind::Browse:
        break;
    }
    return "Browse...";
}

constexpr int CaptionExtraWidth = 20;
constexpr int CaptionExtraHeight = 8;

} // namespace

TButtonFormControlObj::TButtonFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                                             const TObjectStyle& style, TButtonKind kind)
    : TFormControlObj(document, form, attrs, style), FKind(kind)
{
    MakeButton(FValue.empty() ? DefaultCaption(kind) : FValue);
}

TButtonFormControlObj::TButtonFormControlObj(TSectionList& document, ThtmlForm& form, const TObjectStyle& style,
                                             TEditFormControlObj& fileEdit)
    : TFormControlObj(document, form, TAttributeList(), style), FKind(TButtonKind::Browse), FFileEdit(&fileEdit)
{
    MakeButton(DefaultCaption(TButtonKind::Browse));
}

void TButtonFormControlObj::MakeButton(const std::string& caption)
{
    auto button = Factory().createButton();
    button->setCaption(CodePage::ToUtf16(CodePageNumber, caption));
    SetControl(std::move(button));
}

std::u16string TButtonFormControlObj::Caption() const { return static_cast<TButtonControl&>(*FControl).caption(); }

void TButtonFormControlObj::SizeControl(TCanvas& canvas)
{
    TFontRef font = ControlFont(canvas);
    int textHeight = font->metrics().height + CaptionExtraHeight;
    int height = StyleHeight >= textHeight ? StyleHeight : textHeight;
    int width = StyleWidth >= 10 ? StyleWidth : font->textWidth(Caption()) + CaptionExtraWidth;
    FControl->setSize(width, height);
}

void TButtonFormControlObj::DoClick()
{
    TFormControlObj::DoClick();
    switch (FKind) {
    case TButtonKind::Submit:
        FForm->SubmitTheForm(FName.empty() ? std::string() : FName + "=" + FValue);
        break;
    case TButtonKind::Reset:
        FForm->DoReset();
        break;
    case TButtonKind::Browse:
        Browse();
        break;
    case TButtonKind::Plain:
        break;
    }
}

void TButtonFormControlObj::Browse()
{
    auto& browse = FDocument->Objects.Host.fileBrowse;
    if (!browse || !FFileEdit)
        return;
    std::u16string name = FFileEdit->Edit().text();
    if (browse(name))
        FFileEdit->Edit().setText(name);
}

void TButtonFormControlObj::PaintImage(TCanvas& canvas, int x, int y)
{
    TRect r{x, y, x + Width(), y + Height()};
    bool colour = canvas.colorDepth() > 1;
    if (colour) {
        if (TBitmap shot = FControl->snapshot(); !shot.isEmpty()) {
            canvas.drawBitmap(r, shot);
            return;
        }
        // No window to capture: a raised button face.
        canvas.fillRect(r, 0xC0C0C0);
        canvas.drawEdge(r, TEdgeKind::Raised);
    } else {
        canvas.frameRect(r, 0);
    }
    canvas.setFont(ControlFont(canvas));
    canvas.setTextColor(0);
    canvas.setBackgroundMode(TBackgroundMode::Transparent);
    canvas.setTextAlign(TTextAlign::Top);
    std::u16string caption = Caption();
    int tw = canvas.textExtent(caption);
    int th = canvas.font()->metrics().height;
    canvas.textOut(x + (r.width() - tw) / 2, y + (r.height() - th) / 2, caption);
}
