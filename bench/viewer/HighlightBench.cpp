// Painting a screen of a page with 10,000 marked search matches, against
// painting the same screen of the same page unmarked; and the time to find
// and mark the matches. One run prints both medians and their ratio.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/HighlightMatches.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"

namespace {

constexpr int ScreenWidth = 1024;
constexpr int ScreenHeight = 768;
constexpr int Matches = 10000;

std::string MarkedPage()
{
    std::string html = "<body bgcolor=white>";
    for (int i = 0; i < Matches / 10; ++i) {
        html += "<p>";
        for (int k = 0; k < 10; ++k)
            html += "a lamp, ";
        html += "</p>\n";
    }
    return html;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double MarkedMs = 0, PlainMs = 0, FindMs = 0;

double PaintScreens(THTMLViewer& viewer, benchmark::State& state)
{
    QImage image(ScreenWidth, ScreenHeight, QImage::Format_RGB32);
    std::vector<double> times;
    int top = 0;
    for (auto _ : state) {
        viewer.SetVScrollBarPosition(top);
        top = (top + ScreenHeight) % std::max(1, viewer.DocumentHeight() - ScreenHeight);
        const auto start = std::chrono::steady_clock::now();
        {
            QPainter painter(&image);
            viewer.PaintBand(painter, image.rect());
        }
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    return Median(times);
}

void ShowPage(THTMLViewer& viewer)
{
    viewer.resize(ScreenWidth + 20, ScreenHeight);
    viewer.ShowHtmlText(MarkedPage());
}

void BM_PaintMarkedScreen(benchmark::State& state)
{
    THTMLViewer viewer;
    ShowPage(viewer);
    THighlightRequest request;
    request.Strings = {"lamp"};
    const auto start = std::chrono::steady_clock::now();
    auto ranges = MatchRanges(viewer.SectionList(), request);
    FindMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    state.counters["matches"] = double(ranges.size());
    viewer.SetHighlights(std::move(ranges));
    MarkedMs = PaintScreens(viewer, state);
    state.counters["median_ms"] = MarkedMs;
}

void BM_PaintPlainScreen(benchmark::State& state)
{
    THTMLViewer viewer;
    ShowPage(viewer);
    PlainMs = PaintScreens(viewer, state);
    state.counters["median_ms"] = PlainMs;
}

BENCHMARK(BM_PaintMarkedScreen)->Iterations(32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintPlainScreen)->Iterations(32)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::printf("screen paint median, %d matches on the page: marked %.2f ms, unmarked %.2f ms, ratio %.2f x; "
                "finding and marking them %.1f ms\n",
                Matches, MarkedMs, PlainMs, PlainMs > 0 ? MarkedMs / PlainMs : 0.0, FindMs);
    return 0;
}
