// THTMLViewer: printing through the page loop, with the viewer's settings
// and events (TViewerPrintJob).
#include <QPrinter>
#include <algorithm>

#include "html/layout/TSectionList.h"
#include "html/viewer/TBuilderReader.h"
#include "html/viewer/TDocumentReader.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TViewerPrintJob.h"
#include "html/viewer/ViewerPrint.h"

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
    events.defaults = ReaderDefaults(std::max(1, pageWidth));
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
    if (FProcessing) {
        bool stop = false;
        if (OnPrintProgress)
            OnPrintProgress(this, 0, stop);
        return;
    }
    TViewerPrintJob job(*this);
    FPrintedPages = PrintDocument(*FSectionList, printer, fromPage, toPage, job.Settings(), job.Callbacks());
}
