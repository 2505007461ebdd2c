#pragma once
// One print job on a QPrinter: the device facts the page loop needs, and
// begin, new page, end and abort with the printer state checks.
#include <QPainter>
#include <QPrinter>
#include <memory>
#include <string>

class TQtCanvas;

class TvwPrinter {
public:
    enum class TState { None, Information, Printing };

    explicit TvwPrinter(QPrinter& printer);
    ~TvwPrinter();

    // Device pixels per inch and sizes (the printable page, the paper, the
    // offset of the printable page on the paper).
    int DpiX() const;
    int DpiY() const;
    int PageWidth() const;
    int PageHeight() const;
    int PhysicalWidth() const;
    int PhysicalHeight() const;
    int OffsetX() const;
    int OffsetY() const;

    std::string Title; // the job name (cut to 31 characters when the job starts)
    // Starts the job and its first page; the page number becomes 1.
    void BeginDoc();
    void NewPage();
    void EndDoc();
    void Abort();
    bool Printing() const { return FState == TState::Printing; }
    bool Aborted() const { return FAborted; }
    int PageNumber() const { return FPageNumber; }
    TQtCanvas& Canvas();

private:
    void OpenInformation();
    QPrinter& FPrinter;
    QPainter FPainter;
    std::unique_ptr<TQtCanvas> FCanvas;
    TState FState = TState::None;
    bool FAborted = false;
    int FPageNumber = 0;
};
