#pragma once
// What a viewer prints its document with: its print settings and its header,
// footer and progress events turned into the page painter's callbacks, with
// the hidden viewers that hold HTML headers and footers. Printing and the
// print preview make one each, so both paint the same pages.
#include <memory>

#include "html/viewer/ViewerPrint.h"

class THTMLViewer;

class TViewerPrintJob {
public:
    explicit TViewerPrintJob(THTMLViewer& viewer);
    ~TViewerPrintJob();
    TViewerPrintJob(const TViewerPrintJob&) = delete;
    TViewerPrintJob& operator=(const TViewerPrintJob&) = delete;

    const TPrintSettings& Settings() const { return FSettings; }
    const TPrintCallbacks& Callbacks() const { return FCallbacks; }

private:
    void AddHtmlBands();

    THTMLViewer& FViewer;
    TPrintSettings FSettings;
    TPrintCallbacks FCallbacks;
    std::unique_ptr<THTMLViewer> FHeaderViewer, FFooterViewer;
};
