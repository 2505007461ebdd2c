#include "html/viewer/TvwPrinter.h"

#include "html/viewer/QtCanvas.h"
#include "html/viewer/TPrintFile.h"
#include "html/viewer/ViewerErrors.h"

TvwPrinter::TvwPrinter(QPrinter& printer) : FPrinter(printer) {}

TvwPrinter::~TvwPrinter()
{
    if (FPainter.isActive())
        FPainter.end();
}

void TvwPrinter::OpenInformation()
{
    if (FState == TState::Printing)
        throw EPrinter("Printing in progress");
    if (!FPrinter.isValid())
        throw EPrinter("Printer selected is not valid");
    FState = TState::Information;
}

int TvwPrinter::DpiX() const { return FPrinter.resolution(); }
int TvwPrinter::DpiY() const { return FPrinter.resolution(); }

int TvwPrinter::PageWidth() const { return FPrinter.pageLayout().paintRectPixels(FPrinter.resolution()).width(); }
int TvwPrinter::PageHeight() const { return FPrinter.pageLayout().paintRectPixels(FPrinter.resolution()).height(); }
int TvwPrinter::PhysicalWidth() const { return FPrinter.pageLayout().fullRectPixels(FPrinter.resolution()).width(); }
int TvwPrinter::PhysicalHeight() const
{
    return FPrinter.pageLayout().fullRectPixels(FPrinter.resolution()).height();
}
int TvwPrinter::OffsetX() const { return FPrinter.pageLayout().paintRectPixels(FPrinter.resolution()).left(); }
int TvwPrinter::OffsetY() const { return FPrinter.pageLayout().paintRectPixels(FPrinter.resolution()).top(); }

void TvwPrinter::BeginDoc()
{
    OpenInformation();
    FPrinter.setDocName(QString::fromStdString(Title).left(31));
    FFile = std::make_unique<TPrintFile>(FPrinter);
    if (!FPainter.begin(&FPrinter)) {
        FFile.reset();
        throw EPrinter("Printer selected is not valid");
    }
    FCanvas = std::make_unique<TQtCanvas>(FPainter);
    FState = TState::Printing;
    FAborted = false;
    FPageNumber = 1;
}

void TvwPrinter::NewPage()
{
    if (FState != TState::Printing)
        throw EPrinter("Printer is not currently printing");
    FPrinter.newPage();
    ++FPageNumber;
}

void TvwPrinter::EndDoc()
{
    if (FState != TState::Printing)
        throw EPrinter("Printer is not currently printing");
    FCanvas.reset();
    FPainter.end();
    FState = TState::None;
    std::unique_ptr<TPrintFile> file = std::move(FFile);
    if (file)
        file->Commit();
}

void TvwPrinter::Abort()
{
    if (FState != TState::Printing)
        throw EPrinter("Printer is not currently printing");
    FAborted = true;
    FPrinter.abort();
    FCanvas.reset();
    if (FPainter.isActive())
        FPainter.end();
    // A file printer has no spooler to cancel with: the job's file goes, and
    // a file that stood at the target stays.
    FFile.reset();
    FState = TState::None;
}

TQtCanvas& TvwPrinter::Canvas()
{
    if (!FCanvas)
        throw EPrinter("Printer is not currently printing");
    return *FCanvas;
}
