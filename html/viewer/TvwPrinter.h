#pragma once
// One print job on a QPrinter: the device facts the page loop needs, and
// begin, new page, end and abort with the printer state checks.
#include <QPainter>
#include <QPrinter>
#include <memory>
#include <string>

class TPrintFile;
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
    // Starts the job and its first page; the page number becomes 1. A job
    // printing to a file writes beside it (TPrintFile).
    void BeginDoc();
    void NewPage();
    // Ends the job; a printed file then takes its target's place, or
    // EPrinter says why it could not.
    void EndDoc();
    // Stops the job: nothing of it reaches the paper or the target file.
    void Abort();
    bool Printing() const { return FState == TState::Printing; }
    bool Aborted() const { return FAborted; }
    int PageNumber() const { return FPageNumber; }
    TQtCanvas& Canvas();

private:
    void OpenInformation();
    QPrinter& FPrinter;
    std::unique_ptr<TPrintFile> FFile; // outlives the painter that writes it
    QPainter FPainter;
    std::unique_ptr<TQtCanvas> FCanvas;
    TState FState = TState::None;
    bool FAborted = false;
    int FPageNumber = 0;
};
