// How long the print preview takes to show a long document and what memory
// it takes, before, during and after: preview-measure FILE [--every-page].
// The default opens the on-demand preview (page count first, pages painted
// as they come into view); --every-page paints every page into Qt's own
// preview first, as a preview that records the whole job does. Prints one
// line per step: seconds since the step began and the resident size.
#include <QApplication>
#include <QElapsedTimer>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>

#include "bench/support/ProcessStatus.h"
#include "bench/viewer/OpenPreview.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TPrintPreviewView.h"
#include "html/viewer/TViewerPrintJob.h"

namespace {

using benchdoc::ResidentMegabytes;

void Report(const char* step, const QElapsedTimer& clock)
{
    std::printf("%-28s %7.2f s %6ld MB\n", step, double(clock.nsecsElapsed()) / 1e9, ResidentMegabytes());
    std::fflush(stdout);
}

void OnDemand(THTMLViewer& viewer, QPrinter& printer)
{
    QElapsedTimer clock;
    clock.start();
    TOpenedPreview preview = OpenPreview(viewer, printer);
    TPrintPreviewView* view = preview.view.get();
    Report("first page shown", clock);
    while (view->Counting())
        QCoreApplication::processEvents();
    Report("every page counted", clock);
    std::printf("pages: %d\n", view->PageCount());
    clock.restart();
    for (int page = 1; page <= view->PageCount(); page += std::max(1, view->PageCount() / 20)) {
        view->ShowPage(page);
        view->viewport()->repaint();
    }
    Report("20 jumps through it", clock);
    clock.restart();
    view->SetZoom(1.5);
    view->viewport()->repaint();
    Report("zoom to 150%", clock);
}

void EveryPage(THTMLViewer& viewer, QPrinter& printer)
{
    QElapsedTimer clock;
    clock.start();
    auto preview = std::make_unique<QPrintPreviewWidget>(&printer);
    QObject::connect(preview.get(), &QPrintPreviewWidget::paintRequested,
                     [&viewer](QPrinter* p) { viewer.Print(1, 9999, *p); });
    preview->resize(900, 1000);
    preview->show();
    preview->updatePreview();
    Report("first page shown", clock);
    std::printf("pages: %d\n", preview->pageCount());
    preview.reset();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const bool everyPage = argc > 2 && std::strcmp(argv[2], "--every-page") == 0;
    QElapsedTimer clock;
    clock.start();
    THTMLViewer viewer;
    viewer.resize(1000, 800);
    viewer.ShowFile(argv[1]);
    Report("document shown", clock);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (everyPage)
        EveryPage(viewer, printer);
    else
        OnDemand(viewer, printer);
    clock.restart();
    malloc_trim(0);
    Report("preview closed", clock);
    return 0;
}
