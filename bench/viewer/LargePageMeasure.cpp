// How very large pages fare from opening to print preview and printing:
// large-page-measure [FOLDER]. Writes the pages into FOLDER (a fresh
// temporary folder by default, removed at the end): 50 MB of words in
// paragraphs, one 10 MB paragraph, and one 10 MB word that cannot break.
// For each it prints, with the resident size after each step:
//   escape         seconds until the load first reports, and from Escape
//                  pressed then until the load stopped
//   shown          seconds to open it in the viewer
//   preview        seconds until the preview's first page is painted, and the
//                  longest the window went without handling events while the
//                  pages were counted (what a Cancel would wait for)
//   print          seconds until a print to PDF first reports, then the
//                  seconds from Cancel until the job returned, and whether a
//                  file was left behind
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>

#include "bench/support/ProcessStatus.h"
#include "bench/viewer/OpenPreview.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TLoadWatch.h"
#include "html/viewer/ViewerErrors.h"
#include "html/viewer/TPrintPreviewView.h"
#include "html/viewer/TViewerPrintJob.h"
#include "html/viewer/ViewerPrint.h"

namespace {

using benchdoc::ResidentMegabytes;

double Seconds(const QElapsedTimer& clock) { return double(clock.nsecsElapsed()) / 1e9; }

// The processor time the program has used: on a machine shared with busy
// neighbours the clock time alone says little.
double ProcessorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

void Report(const char* step, double seconds, const std::string& more = {})
{
    std::printf("  %-22s %7.2f s %6ld MB %8.2f s of processor in all %s\n", step, seconds, ResidentMegabytes(),
                ProcessorSeconds(), more.c_str());
    std::fflush(stdout);
}

// Words of varied length, so lines break as in prose.
std::string Words(size_t bytes)
{
    static const char* const words[] = {"the", "reader", "shows", "a", "page", "of", "words", "that", "goes",
                                        "on", "and", "further", "without", "end", "in", "sight"};
    std::string text;
    text.reserve(bytes + 16);
    for (size_t i = 0; text.size() < bytes; ++i) {
        text += words[(i * 7 + i / 5) % 16];
        text += ' ';
    }
    return text;
}

std::string WriteFile(const QString& folder, const char* name, const std::string& text)
{
    const std::string path = (folder + "/" + name).toStdString();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string ParagraphsOfWords(size_t bytes)
{
    const std::string paragraph = Words(2000);
    std::string page = "<title>Words</title>\n";
    page.reserve(bytes + paragraph.size());
    while (page.size() < bytes)
        page += "<p>" + paragraph + "\n";
    return page;
}

void MeasurePreview(THTMLViewer& viewer, QPrinter& printer)
{
    QElapsedTimer clock;
    clock.start();
    TOpenedPreview preview = OpenPreview(viewer, printer);
    TPrintPreviewView* view = preview.view.get();
    Report("preview first page", Seconds(clock));
    // Count for a while, as a user looking at the first pages would wait.
    QElapsedTimer counting, turn;
    counting.start();
    double longest = 0;
    while (view->Counting() && counting.elapsed() < 5000) {
        turn.start();
        QCoreApplication::processEvents();
        longest = std::max(longest, Seconds(turn));
    }
    Report("preview counting", Seconds(counting),
           std::to_string(view->PageCount()) + (view->Counting() ? " pages so far" : " pages") +
               ", longest turn " + std::to_string(longest) + " s");
}

void MeasurePrint(THTMLViewer& viewer, const QString& folder)
{
    const QString pdf = folder + "/cancelled.pdf";
    TViewerPrintJob job(viewer);
    TPrintCallbacks callbacks = job.Callbacks();
    QElapsedTimer clock, sinceCancel;
    clock.start();
    double firstReport = -1;
    callbacks.watch = [&](TPrintStage, int, int) {
        if (firstReport < 0) {
            firstReport = Seconds(clock);
            sinceCancel.start();
        }
        return true; // cancel at the first report
    };
    PrintDocumentToPdf(viewer.SectionList(), pdf.toStdString(), job.Settings(), 1, 9999, callbacks);
    Report("print first report", firstReport);
    Report("print cancel", sinceCancel.isValid() ? Seconds(sinceCancel) : -1,
           QFile::exists(pdf) ? "a file was left" : "no file left");
}

// Escape pressed at the first progress report of each stage a load shows
// (the first comes after half a second): how long until the load stopped.
void MeasureEscape(const std::string& path)
{
    THTMLViewer viewer;
    viewer.resize(1000, 800);
    viewer.ShowHtmlText("<title>Before</title><p>The page shown before.");
    QElapsedTimer clock, sinceEscape;
    clock.start();
    std::string stage = "none";
    viewer.OnLoadProgress = [&](THTMLViewer* v, TLoadStage at, std::int64_t, std::int64_t) {
        if (sinceEscape.isValid())
            return;
        stage = at == TLoadStage::Reading ? "reading" : at == TLoadStage::Building ? "building" : "laying out";
        sinceEscape.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(v, &press);
    };
    try {
        viewer.ShowFile(path);
    } catch (const ELoadCancelled&) {
    }
    if (!sinceEscape.isValid()) {
        Report("load", Seconds(clock), "loaded before its first report");
        return;
    }
    Report("first load report", Seconds(clock) - Seconds(sinceEscape), "while " + stage);
    Report("escape", Seconds(sinceEscape), "then shows \"" + viewer.DocumentTitle() + "\"");
}

void Measure(const char* name, const std::string& path, const QString& folder)
{
    std::printf("%s (%.1f MB)\n", name, double(QFile(QString::fromStdString(path)).size()) / (1 << 20));
    MeasureEscape(path);
    QElapsedTimer clock;
    clock.start();
    {
        THTMLViewer viewer;
        viewer.resize(1000, 800);
        viewer.ShowFile(path);
        Report("shown", Seconds(clock), std::to_string(viewer.DocumentHeight()) + " px high");
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(QPageSize(QPageSize::A4));
        MeasurePreview(viewer, printer);
        MeasurePrint(viewer, folder);
    }
    malloc_trim(0);
    Report("closed", 0);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    Measure("50 MB of words", WriteFile(folder, "words.htm", ParagraphsOfWords(size_t(50) << 20)), folder);
    Measure("a 10 MB paragraph", WriteFile(folder, "line.htm", "<p>" + Words(size_t(10) << 20)), folder);
    Measure("a 10 MB word", WriteFile(folder, "word.htm", "<p>" + std::string(size_t(10) << 20, 'w')), folder);
    return 0;
}
