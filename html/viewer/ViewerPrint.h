#pragma once
// Printing a document page by page: margins in centimetres, the print scale,
// a page range, white bands around the content, and header and footer bands
// drawn by callbacks or by small HTML documents.
#include <functional>
#include <memory>
#include <string>

#include "util/Colors.h"

class QPrinter;
class TCanvas;
class TSectionList;

struct TPrintSettings {
    double marginLeft = 2.0, marginRight = 2.0, marginTop = 2.0, marginBottom = 2.0; // centimetres
    double scale = 1.0;
    // Document units the header and footer bands must hold at least: a
    // margin smaller than that moves the body's edge instead, so that the
    // bands are never printed over the body.
    int headerSpace = 0, footerSpace = 0;
    bool printBackground = false;
    bool printMonochromeBlack = true;
    bool printTableBackground = true;
    std::string title;
    TColor background = 0xFFFFFF;      // the viewer background printed with printBackground
    int screenPixelsPerInch = 96;
};

// An HTML band for one page: the document to print in the band, its
// background, and the band's left and right edges (which the caller may move).
struct THtmlBand {
    const TSectionList* document = nullptr;
    TColor background = 0xFFFFFF;
};

// What a long job is doing: finding the page breaks, or printing pages.
enum class TPrintStage { Counting, Printing };

struct TPrintCallbacks {
    // (canvas, page, width, height, stop)
    std::function<void(TCanvas&, int, int, int, bool&)> header;
    std::function<void(TCanvas&, int, int, int, bool&)> footer;
    // (page, last page, xl, xr, stop) -> the band to print, or none
    std::function<THtmlBand(int, bool, int&, int&, bool&)> htmlHeader;
    std::function<THtmlBand(int, bool, int&, int&, bool&)> htmlFooter;
    // (page, stop): 0 before the job, then after each page
    std::function<void(int, bool&)> progress;
    // (printable width in document pixels) -> the document read again for
    // the printed page, or null to print a copy of the screen's
    std::function<std::shared_ptr<TSectionList>(int)> printDocument;
    // (stage, pages done, pages in all; 0 while the pages are still being
    // counted): asked while the breaks are found and after every page.
    // Answering true cancels: the job is thrown away, and a job printing to
    // a file leaves no file behind.
    std::function<bool(TPrintStage, int, int)> watch;
};

// Prints pages fromPage..toPage (numbered from 1) of the document; answers
// the number of pages the job went through. Raises EPrinter when the printer
// cannot be used.
int PrintDocument(const TSectionList& document, QPrinter& printer, int fromPage, int toPage,
                  const TPrintSettings& settings, const TPrintCallbacks& callbacks = {});

// Prints the document into a PDF file (no window needed); answers the number
// of pages gone through.
int PrintDocumentToPdf(const TSectionList& document, const std::string& pdfFile, const TPrintSettings& settings = {},
                       int fromPage = 1, int toPage = 9999, const TPrintCallbacks& callbacks = {});
