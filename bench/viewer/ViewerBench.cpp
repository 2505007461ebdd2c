// Painting one 1024 x 768 band of a 2 MB table document at random scroll
// positions, against Qt's rich-text engine drawing the same band of the same
// file (QTextDocument::drawContents with a clip); and the peak memory of
// loading and showing the document (`bench_viewer --memory [FILE]`, the
// table document by default). One run prints the ratio.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <algorithm>
#include <malloc.h>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "BenchDocuments.h"
#include "bench/support/ProcessStatus.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"
#include "util/Utilities.h"

namespace {

using benchdoc::PeakKilobytes;
using benchdoc::StatusKilobytes;

constexpr int BandWidth = 1024;
constexpr int BandHeight = 768;


struct TFixture {
    std::string html = benchdoc::TableDocument();
    std::string file = benchdoc::WriteDocument("quillon-bench-table.htm", html);
};

TFixture& Fixture()
{
    static TFixture fixture;
    return fixture;
}

std::vector<int> Positions(int documentHeight)
{
    std::mt19937 random(42);
    std::uniform_int_distribution<int> pick(0, std::max(0, documentHeight - BandHeight));
    std::vector<int> tops(64);
    for (int& t : tops)
        t = pick(random);
    return tops;
}

double MedianMs(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double OursMs = 0, QtMs = 0;

void BM_ViewerBand(benchmark::State& state)
{
    THTMLViewer viewer;
    viewer.resize(BandWidth + 20, BandHeight);
    viewer.ShowFile(Fixture().file);
    QImage image(BandWidth, BandHeight, QImage::Format_RGB32);
    std::vector<int> tops = Positions(viewer.DocumentHeight());
    std::vector<double> times;
    size_t i = 0;
    for (auto _ : state) {
        viewer.SetVScrollBarPosition(tops[i++ % tops.size()]);
        auto start = std::chrono::steady_clock::now();
        {
            QPainter painter(&image);
            viewer.PaintBand(painter, QRect(0, 0, BandWidth, BandHeight));
        }
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    OursMs = MedianMs(times);
    state.counters["median_ms"] = OursMs;
    state.counters["doc_height"] = viewer.DocumentHeight();
}

void BM_QTextDocumentBand(benchmark::State& state)
{
    QTextDocument doc;
    doc.setHtml(QString::fromStdString(Fixture().html));
    doc.setTextWidth(BandWidth);
    int height = int(doc.size().height());
    QImage image(BandWidth, BandHeight, QImage::Format_RGB32);
    std::vector<int> tops = Positions(height);
    std::vector<double> times;
    size_t i = 0;
    for (auto _ : state) {
        int top = tops[i++ % tops.size()];
        auto start = std::chrono::steady_clock::now();
        {
            QPainter painter(&image);
            painter.fillRect(image.rect(), Qt::white);
            painter.translate(0, -top);
            doc.drawContents(&painter, QRectF(0, top, BandWidth, BandHeight));
        }
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    QtMs = MedianMs(times);
    state.counters["median_ms"] = QtMs;
    state.counters["doc_height"] = height;
}

BENCHMARK(BM_ViewerBand)->Iterations(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTextDocumentBand)->Iterations(64)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    bool memoryOnly = argc > 1 && std::string(argv[1]) == "--memory";
    if (memoryOnly) {
        // Loading and showing the document alone, in a fresh process; the
        // generated text is written out and dropped before measuring.
        std::string file = argc > 2 ? argv[2] : Fixture().file;
        double fileMb = double(ReadFileBytes(file).value_or("").size()) / (1024.0 * 1024.0);
        if (argc <= 2)
            std::string().swap(Fixture().html);
        THTMLViewer viewer;
        viewer.resize(BandWidth, BandHeight);
        viewer.show();
        app.processEvents();
        long before = StatusKilobytes("VmRSS:");
        auto resident = [](const char* when) {
            std::printf("resident %s: %.1f MB anonymous, %.1f MB of mapped files\n", when,
                        StatusKilobytes("RssAnon:") / 1024.0, StatusKilobytes("RssFile:") / 1024.0);
        };
        resident("with an empty shown viewer");
        // What every document costs first (its fonts opened and cached):
        // the peak of showing a one-line page.
        viewer.ShowHtmlText("<p>x", "one-line");
        app.processEvents();
        long oneLine = PeakKilobytes();
        resident("after a one-line page");
        viewer.ShowFile(file);
        app.processEvents();
        long peak = PeakKilobytes();
        std::printf("resident after loading %.1f MB\n", StatusKilobytes("VmRSS:") / 1024.0);
        struct mallinfo2 heap = mallinfo2();
        std::printf("heap: %.1f MB in use, %.1f MB free inside the heap, %.1f MB mapped\n", heap.uordblks / 1048576.0,
                    heap.fordblks / 1048576.0, heap.hblkhd / 1048576.0);
        std::printf("sections %zu, links %zu, positions %zu, document height %d\n",
                    viewer.SectionList().Sections.size(), viewer.SectionList().LinkList.size(),
                    viewer.SectionList().PositionList.size(), viewer.DocumentHeight());
        std::printf("file %.2f MB (%s)\n", fileMb, file.c_str());
        std::printf("process peak %.1f MB, %.1f MB resident before loading (an empty shown viewer)\n", peak / 1024.0,
                    before / 1024.0);
        std::printf("loading and showing: peak - before = %.1f MB = %.1f x the file; whole process %.1f x\n",
                    (peak - before) / 1024.0, (peak - before) / 1024.0 / fileMb, peak / 1024.0 / fileMb);
        std::printf("over the peak of a one-line page (%.1f MB): %.1f MB = %.1f x the file\n", oneLine / 1024.0,
                    (peak - oneLine) / 1024.0, (peak - oneLine) / 1024.0 / fileMb);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (QtMs > 0)
        std::printf("band paint median: ours %.3f ms, QTextDocument %.3f ms, ratio %.2f x\n", OursMs, QtMs,
                    OursMs / QtMs);
    return 0;
}
