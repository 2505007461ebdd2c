// THTMLViewer: printing through the page loop, with the viewer's settings
// and events, and hidden band viewers for HTML headers and footers.
#include <QPrinter>
#include <algorithm>
#include <QScreen>
#include <QGuiApplication>

#include "html/layout/TSectionList.h"
#include "html/viewer/TBuilderReader.h"
#include "html/viewer/TDocumentReader.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/ViewerPrint.h"

namespace {

int ScreenPixelsPerInch()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    int dpi = screen ? int(screen->logicalDotsPerInchY()) : 96;
    return dpi > 0 ? dpi : 96;
}

} // namespace

std::shared_ptr<TSectionList> THTMLViewer::PrintMediaDocument(int pageWidth)
{
    if (!FPrintChangesRules || FDocKind != TDocKind::Html || DocumentReader().Reading())
        return nullptr;
    auto doc = std::make_unique<TSectionList>();
    ApplyDefaultsTo(*doc);
    doc->Objects.BitmapList = FSectionList->Objects.BitmapList;
    doc->Objects.Host = FSectionList->Objects.Host;
    // Read quietly: the viewer heard the document's events when it was shown.
    TReaderEvents events;
    events.defaults.preFontName = DefPreFontName;
    events.defaults.marginWidth = MarginWidth;
    events.defaults.marginHeight = MarginHeight;
    events.defaults.charSet = CharSet;
    events.defaults.fontColor = DefFontColor;
    events.defaults.linkUnderline = (htOptions & htNoLinkUnderline) == 0;
    events.defaults.viewportWidth = std::max(1, pageWidth);
    events.defaults.print = true;
    events.fileName = [this](const std::string& name) { return ExpandLinkName(name); };
    SetReaderScreen(&MeasuringCanvas());
    TReaderResult result;
    DocumentReader().ParseHtml(DocumentSource(), *doc, events, result);
    // The reader's style list lives as long as the document made with it.
    return std::shared_ptr<TSectionList>(doc.release(), [keep = result.keepAlive](TSectionList* d) { delete d; });
}

void THTMLViewer::Print(int fromPage, int toPage, QPrinter& printer)
{
    FPrintedPages = 0;
    TPrintSettings settings;
    settings.marginLeft = PrintMarginLeft;
    settings.marginRight = PrintMarginRight;
    settings.marginTop = PrintMarginTop;
    settings.marginBottom = PrintMarginBottom;
    settings.scale = PrintScale;
    settings.headerSpace = OnPrintHeader ? PrintHeaderSpace : 0;
    settings.footerSpace = OnPrintFooter ? PrintFooterSpace : 0;
    settings.printBackground = (htOptions & htPrintBackground) != 0;
    settings.printMonochromeBlack = (htOptions & htPrintMonochromeBlack) != 0;
    settings.printTableBackground = (htOptions & htPrintTableBackground) != 0;
    settings.title = FTitle;
    settings.background = FSectionList->Background == ClNone ? DefBackground : FSectionList->Background;
    settings.screenPixelsPerInch = ScreenPixelsPerInch();

    TPrintCallbacks callbacks;
    if (OnPrintProgress)
        callbacks.progress = [this](int page, bool& stop) { OnPrintProgress(this, page, stop); };
    if (FProcessing) {
        bool stop = false;
        if (callbacks.progress)
            callbacks.progress(0, stop);
        return;
    }
    callbacks.printDocument = [this](int pageWidth) { return PrintMediaDocument(pageWidth); };
    if (OnPrintHeader)
        callbacks.header = [this](TCanvas& c, int page, int w, int h, bool& stop) {
            OnPrintHeader(this, c, page, w, h, stop);
        };
    if (OnPrintFooter)
        callbacks.footer = [this](TCanvas& c, int page, int w, int h, bool& stop) {
            OnPrintFooter(this, c, page, w, h, stop);
        };
    std::unique_ptr<THTMLViewer> headerViewer, footerViewer;
    auto makeBand = [this](std::unique_ptr<THTMLViewer>& viewer, auto& event) {
        viewer = std::make_unique<THTMLViewer>(parentWidget());
        viewer->hide();
        viewer->DefBackground = DefBackground;
        viewer->DefFontName = DefFontName;
        viewer->DefFontSize = DefFontSize;
        viewer->DefFontColor = DefFontColor;
        viewer->CharSet = CharSet;
        viewer->MarginHeight = 0;
        return [this, v = viewer.get(), &event](int page, bool last, int& xl, int& xr, bool& stop) {
            event(this, v, page, last, xl, xr, stop);
            TColor background = v->SectionList().Background;
            return THtmlBand{&v->SectionList(), background == ClNone ? v->DefBackground : background};
        };
    };
    if (OnPrintHTMLHeader)
        callbacks.htmlHeader = makeBand(headerViewer, OnPrintHTMLHeader);
    if (OnPrintHTMLFooter)
        callbacks.htmlFooter = makeBand(footerViewer, OnPrintHTMLFooter);
    FPrintedPages = PrintDocument(*FSectionList, printer, fromPage, toPage, settings, callbacks);
}
