// THTMLViewer: printing through the page loop, with the viewer's settings
// and events (TViewerPrintJob).
#include <QPrinter>

#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TViewerPrintJob.h"
#include "html/viewer/ViewerPrint.h"

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
