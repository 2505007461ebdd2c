#include "html/viewer/ViewerPrint.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPrinter>
#include <algorithm>

#include "html/layout/TSectionList.h"
#include "html/viewer/QtCanvas.h"
#include "html/viewer/TPrintPager.h"
#include "html/viewer/TvwPrinter.h"

namespace {

// How often the page-break pass tells how far it got: often enough for a
// Cancel to be answered at once, seldom enough to cost nothing.
constexpr qint64 CountingReportMs = 50;

// One job: the pages are counted first, then printed in order.
class TPrintRun {
public:
    TPrintRun(TvwPrinter& printer, TPrintPager& pager, const TPrintCallbacks& callbacks)
        : FPrinter(printer), FPager(pager), FCallbacks(callbacks)
    {
    }

    // Answers the page counter after the loop (one past the last page gone
    // through).
    int Run(int fromPage, int toPage, bool& stop)
    {
        TCanvas& canvas = FPrinter.Canvas();
        FPager.LayOut(canvas);
        QCoreApplication::processEvents();
        if (FCallbacks.progress)
            FCallbacks.progress(1, stop);
        if (!CountPages(canvas))
            return 1;
        const int pages = FPager.PageCount();
        const int last = std::min(toPage, pages);
        int counter = 1;
        while (counter <= last && !stop) {
            if (counter >= fromPage)
                FPager.PaintPage(canvas, counter, FCallbacks, stop);
            QCoreApplication::processEvents();
            if (FCallbacks.progress)
                FCallbacks.progress(counter, stop);
            if (counter >= fromPage && Watch(TPrintStage::Printing, counter - fromPage + 1, last - fromPage + 1))
                return counter + 1;
            if (counter == pages)
                stop = true;
            if (!stop && fromPage <= counter && counter < toPage)
                FPrinter.NewPage();
            ++counter;
        }
        return counter;
    }

    bool Cancelled() const { return FCancelled; }

private:
    bool Watch(TPrintStage stage, int done, int total)
    {
        if (!FCancelled && FCallbacks.watch)
            FCancelled = FCallbacks.watch(stage, done, total);
        return FCancelled;
    }

    // False when the job was cancelled meanwhile. The first page found is
    // reported at once, so a Cancel given before the job began is heard
    // however fast the pages are counted.
    bool CountPages(TCanvas& canvas)
    {
        QElapsedTimer sinceReport;
        bool reported = false;
        while (FPager.FindNextBreak(canvas))
            if (FCallbacks.watch && (!reported || sinceReport.elapsed() >= CountingReportMs)) {
                if (Watch(TPrintStage::Counting, FPager.PageCount(), 0))
                    return false;
                reported = true;
                sinceReport.start();
            }
        return true;
    }

    TvwPrinter& FPrinter;
    TPrintPager& FPager;
    const TPrintCallbacks& FCallbacks;
    bool FCancelled = false;
};

} // namespace

int PrintDocument(const TSectionList& document, QPrinter& printer, int fromPage, int toPage,
                  const TPrintSettings& settings, const TPrintCallbacks& callbacks)
{
    bool stop = false;
    if (callbacks.progress)
        callbacks.progress(0, stop);
    if (document.Sections.empty())
        return 0;
    TvwPrinter job(printer);
    job.Title = settings.title;
    int counter = 1;
    bool cancelled = false;
    try {
        job.BeginDoc();
        TPrintPager pager(document, TPageGeometry(job, settings), settings, callbacks);
        TPrintRun run(job, pager, callbacks);
        counter = run.Run(fromPage, toPage, stop);
        cancelled = run.Cancelled();
    } catch (...) {
        if (job.Printing())
            job.Abort();
        throw;
    }
    // Cancelled, or no page of the range was reached: nothing is printed.
    if (cancelled || counter <= fromPage)
        job.Abort();
    else
        job.EndDoc();
    return counter - 1;
}

int PrintDocumentToPdf(const TSectionList& document, const std::string& pdfFile, const TPrintSettings& settings,
                       int fromPage, int toPage, const TPrintCallbacks& callbacks)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdfFile));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    return PrintDocument(document, printer, fromPage, toPage, settings, callbacks);
}
