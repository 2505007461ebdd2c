#pragma once
// A print preview of the shown document opened as the program's own is, for
// the benchmarks that time it. The view reads the job's settings and
// callbacks, so it is declared after the job and goes first.
#include <memory>

#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TPrintPreviewView.h"
#include "html/viewer/TViewerPrintJob.h"

struct TOpenedPreview {
    std::unique_ptr<TViewerPrintJob> job;
    std::unique_ptr<TPrintPreviewView> view;
};

// Shows the preview window and paints its first page.
inline TOpenedPreview OpenPreview(THTMLViewer& viewer, QPrinter& printer)
{
    TOpenedPreview preview{std::make_unique<TViewerPrintJob>(viewer), std::make_unique<TPrintPreviewView>()};
    preview.view->resize(900, 1000);
    preview.view->show();
    preview.view->Start(viewer.SectionList(), printer, preview.job->Settings(), preview.job->Callbacks());
    preview.view->viewport()->repaint();
    return preview;
}
