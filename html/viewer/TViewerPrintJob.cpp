#include "html/viewer/TViewerPrintJob.h"

#include <QGuiApplication>
#include <QScreen>

#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"

namespace {

int ScreenPixelsPerInch()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    int dpi = screen ? int(screen->logicalDotsPerInchY()) : 96;
    return dpi > 0 ? dpi : 96;
}

TPrintSettings SettingsOf(THTMLViewer& v)
{
    TPrintSettings settings;
    settings.marginLeft = v.PrintMarginLeft;
    settings.marginRight = v.PrintMarginRight;
    settings.marginTop = v.PrintMarginTop;
    settings.marginBottom = v.PrintMarginBottom;
    settings.scale = v.PrintScale;
    settings.headerSpace = v.OnPrintHeader ? v.PrintHeaderSpace : 0;
    settings.footerSpace = v.OnPrintFooter ? v.PrintFooterSpace : 0;
    settings.printBackground = (v.htOptions & htPrintBackground) != 0;
    settings.printMonochromeBlack = (v.htOptions & htPrintMonochromeBlack) != 0;
    settings.printTableBackground = (v.htOptions & htPrintTableBackground) != 0;
    settings.title = v.DocumentTitle();
    const TColor background = v.SectionList().Background;
    settings.background = background == ClNone ? v.DefBackground : background;
    settings.screenPixelsPerInch = ScreenPixelsPerInch();
    return settings;
}

} // namespace

TViewerPrintJob::TViewerPrintJob(THTMLViewer& viewer) : FViewer(viewer), FSettings(SettingsOf(viewer))
{
    THTMLViewer* v = &viewer;
    if (viewer.OnPrintProgress)
        FCallbacks.progress = [v](int page, bool& stop) { v->OnPrintProgress(v, page, stop); };
    if (viewer.OnPrintWatch)
        FCallbacks.watch = [v](TPrintStage stage, int done, int total) {
            return v->OnPrintWatch(v, stage, done, total);
        };
    FCallbacks.printDocument = [v](int pageWidth) { return v->PrintMediaDocument(pageWidth); };
    if (viewer.OnPrintHeader)
        FCallbacks.header = [v](TCanvas& c, int page, int w, int h, bool& stop) {
            v->OnPrintHeader(v, c, page, w, h, stop);
        };
    if (viewer.OnPrintFooter)
        FCallbacks.footer = [v](TCanvas& c, int page, int w, int h, bool& stop) {
            v->OnPrintFooter(v, c, page, w, h, stop);
        };
    AddHtmlBands();
}

TViewerPrintJob::~TViewerPrintJob() = default;

void TViewerPrintJob::AddHtmlBands()
{
    auto makeBand = [this](std::unique_ptr<THTMLViewer>& band, auto& event) {
        band = std::make_unique<THTMLViewer>(FViewer.parentWidget());
        band->hide();
        band->DefBackground = FViewer.DefBackground;
        band->DefFontName = FViewer.DefFontName;
        band->DefFontSize = FViewer.DefFontSize;
        band->DefFontColor = FViewer.DefFontColor;
        band->CharSet = FViewer.CharSet;
        band->MarginHeight = 0;
        return [v = &FViewer, b = band.get(), &event](int page, bool last, int& xl, int& xr, bool& stop) {
            event(v, b, page, last, xl, xr, stop);
            TColor background = b->SectionList().Background;
            return THtmlBand{&b->SectionList(), background == ClNone ? b->DefBackground : background};
        };
    };
    if (FViewer.OnPrintHTMLHeader)
        FCallbacks.htmlHeader = makeBand(FHeaderViewer, FViewer.OnPrintHTMLHeader);
    if (FViewer.OnPrintHTMLFooter)
        FCallbacks.htmlFooter = makeBand(FFooterViewer, FViewer.OnPrintHTMLFooter);
}
