#include "html/viewer/TPrintPager.h"

#include <algorithm>

#include "html/layout/Backgrounds.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/TPageBreakCanvas.h"

TPrintPager::TPrintPager(const TSectionList& document, const TPageGeometry& geometry, const TPrintSettings& settings,
                         const TPrintCallbacks& callbacks)
    : FGeo(geometry), FSettings(settings)
{
    if (callbacks.printDocument)
        FCopy = callbacks.printDocument(FGeo.W);
    if (!FCopy)
        FCopy = TSectionList::CreateCopy(document);
    FCopy->Printing = true;
    FCopy->YOff = 0;
    FCopy->Background = 0xFFFFFF;
    FCopy->PrintBackground = settings.printBackground;
    FCopy->PrintMonochrome = settings.printMonochromeBlack;
}

TPrintPager::~TPrintPager() = default;

int TPrintPager::LayOut(TCanvas& measuring)
{
    FGeo.Map(measuring, {0, 0});
    int maxWidth = 0;
    FHeight = FCopy->LayOut(measuring, 0, FGeo.W, FGeo.H, maxWidth);
    return FHeight;
}

TPaintContext TPrintPager::Context(TCanvas& canvas, int top) const
{
    TPaintContext pc{canvas, FGeo.Content()};
    pc.yOffset = top - FGeo.TB;
    pc.printing = true;
    pc.printBackground = FSettings.printBackground;
    pc.printMonochrome = FSettings.printMonochromeBlack;
    pc.shiftX = FGeo.XL0;
    return pc;
}

bool TPrintPager::FindNextBreak(TCanvas& measuring)
{
    if (FComplete)
        return false;
    // The page is painted as for real, onto a canvas that draws nothing:
    // where it ends depends on what the paint pass keeps whole.
    TPageBreakCanvas canvas(measuring);
    const int top = FPageTops.back();
    FCopy->ScrollTo(top - FGeo.TB);
    TPaintContext pc = Context(canvas, top);
    FCopy->PaintDocument(pc, pc.shiftX);
    const int bottom = pc.pageBottom;
    // The document ended, or the page end did not move on (nothing more
    // can be printed).
    if (FHeight <= bottom || bottom <= FLastBottom)
        FComplete = true;
    else
        FPageTops.push_back(bottom);
    FLastBottom = bottom;
    return !FComplete;
}

void TPrintPager::FindAllBreaks(TCanvas& measuring)
{
    while (FindNextBreak(measuring)) {
    }
}

void TPrintPager::FillWhite(TCanvas& canvas, int top, int bottom)
{
    if (bottom <= top)
        return;
    canvas.setPen(TPen{0xFFFFFF, 1, TPenStyle::Solid});
    canvas.setBrush(TBrush{0xFFFFFF, TBrushStyle::Solid});
    canvas.fillRect({FGeo.XL0, top, FGeo.XL0 + FGeo.W + 1, bottom}, 0xFFFFFF);
}

int TPrintPager::PaintPage(TCanvas& canvas, int page, const TPrintCallbacks& callbacks, bool& stop)
{
    const int top = PageTop(page);
    FCopy->ScrollTo(top - FGeo.TB);
    FGeo.Map(canvas, {0, 0});
    canvas.selectDeviceClip(FGeo.DeviceClip());
    if (FSettings.printBackground)
        canvas.fillRect(FGeo.Content(), FSettings.background);
    TPaintContext pc = Context(canvas, top);
    if (FSettings.printBackground)
        PaintDocumentBackground(pc, *FCopy, TRect{FGeo.XL0, 0, FGeo.XL0 + FGeo.W, std::max(FHeight, top + FGeo.H)});
    FCopy->PaintDocument(pc, pc.shiftX);
    const int pageBottom = pc.pageBottom;
    canvas.save();
    canvas.removeClip();
    // A line cut by the page break is printed on the next page, not twice.
    FillWhite(canvas, 0, FGeo.TB);
    const int breakY = pageBottom + FGeo.TB - top;
    FillWhite(canvas, breakY + 2, FGeo.TB + FGeo.H + 1);
    if (FSettings.printBackground && breakY < FGeo.TB + FGeo.H)
        canvas.fillRect({FGeo.XL0, breakY, FGeo.XL0 + FGeo.W, FGeo.TB + FGeo.H}, FSettings.background);
    canvas.setTextAlign(TTextAlign::Top);
    PaintBands(canvas, page, pageBottom, callbacks, stop);
    canvas.restore();
    return pageBottom;
}

void TPrintPager::PaintBands(TCanvas& canvas, int page, int pageBottom, const TPrintCallbacks& callbacks, bool& stop)
{
    if (callbacks.header) {
        FGeo.Map(canvas, {0, 0});
        callbacks.header(canvas, page, FGeo.PWd, FGeo.TB, stop);
    }
    if (callbacks.footer) {
        FGeo.Map(canvas, {0, -(FGeo.TB + FGeo.H)});
        callbacks.footer(canvas, page, FGeo.PWd, FGeo.PHd - FGeo.TB - FGeo.H, stop);
    }
    const bool last = FHeight <= pageBottom;
    HtmlBand(canvas, callbacks.htmlHeader, page, last, stop, true);
    HtmlBand(canvas, callbacks.htmlFooter, page, last, stop, false);
}

void TPrintPager::HtmlBand(TCanvas& canvas, const std::function<THtmlBand(int, bool, int&, int&, bool&)>& callback,
                           int page, bool last, bool& stop, bool header)
{
    if (!callback)
        return;
    try {
        int xl = FGeo.XL0, xr = FGeo.XL0 + FGeo.W;
        THtmlBand band = callback(page, last, xl, xr, stop);
        if (!band.document || xr <= xl)
            return;
        auto copy = TSectionList::CreateCopy(*band.document);
        copy->Printing = true;
        int maxWidth = 0;
        int E = copy->LayOut(canvas, 0, xr - xl, 300, maxWidth);
        int originY = header ? 0 : -FGeo.TB - FGeo.H;
        int bandHeight = header ? FGeo.TB : std::min(FGeo.PHd - FGeo.TB - FGeo.H, E);
        int shift = header ? E - FGeo.TB : 0;
        FGeo.Map(canvas, {0, originY});
        canvas.save();
        canvas.intersectClip({xl, 0, xr, bandHeight});
        canvas.fillRect({xl, -shift, xr, -shift + E}, band.background);
        copy->ScrollTo(shift);
        TPaintContext pc{canvas, TRect{xl, 0, xr, bandHeight}};
        pc.yOffset = shift;
        pc.printing = true;
        pc.pageBottom = shift + bandHeight + E; // a band never breaks
        pc.shiftX = xl;
        copy->PaintDocument(pc, xl);
        canvas.restore();
    } catch (const std::exception&) {
        // a failing band leaves the page as it is
    }
}
