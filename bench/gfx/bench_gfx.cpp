// Text measurement, the layout's hottest call: our cached Qt font against
// Qt's own QFontMetrics on the same text, and the fixed-metrics font for scale.
// Prints the time ratio of each pair after the usual table.
//   QT_QPA_PLATFORM=offscreen build/bench/gfx/bench_gfx
#include <QFontMetrics>
#include <QGuiApplication>
#include <QString>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "gfx/TFixedCanvas.h"
#include "html/viewer/QtFont.h"
#include "html/viewer/QtFontCache.h"

namespace {

const std::vector<std::u16string> Words = {u"the", u"document", u"collection", u"of", u"Quillon", u"search",
                                           u"keyword", u"a", u"reader", u"offline", u"HTML", u"pages"};
const std::u16string Run100 =
    u"Collections of HTML documents kept on local disks are read offline and searched by keyword here.";

const TFontSpec Spec{"Times New Roman", 16, 0, 1};

std::u16string Hundred()
{
    std::u16string text = Run100;
    while (text.size() < 100)
        text += u' ';
    return text.substr(0, 100);
}

QString Wrap(const std::u16string& text)
{
    return QString::fromRawData(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

void Ours_Words(benchmark::State& state)
{
    TFontRef font = TQtFontCache::shared().font(Spec);
    for (auto _ : state)
        for (const auto& word : Words)
            benchmark::DoNotOptimize(font->textWidth(word));
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(Words.size()));
}

void QFontMetrics_Words(benchmark::State& state)
{
    QFontMetrics metrics(QtFontOf(Spec));
    for (auto _ : state)
        for (const auto& word : Words)
            benchmark::DoNotOptimize(metrics.horizontalAdvance(Wrap(word)));
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(Words.size()));
}

void Ours_Run100(benchmark::State& state)
{
    TFontRef font = TQtFontCache::shared().font(Spec);
    std::u16string text = Hundred();
    for (auto _ : state)
        benchmark::DoNotOptimize(font->textWidth(text));
}

void QFontMetrics_Run100(benchmark::State& state)
{
    QFontMetrics metrics(QtFontOf(Spec));
    std::u16string text = Hundred();
    for (auto _ : state)
        benchmark::DoNotOptimize(metrics.horizontalAdvance(Wrap(text)));
}

void Ours_FitCount100(benchmark::State& state)
{
    TFontRef font = TQtFontCache::shared().font(Spec);
    std::u16string text = Hundred();
    std::vector<int> extents;
    extents.reserve(text.size());
    int limit = font->textWidth(text) * 3 / 4;
    for (auto _ : state)
        benchmark::DoNotOptimize(font->fitCount(text, limit, &extents));
}

void Fixed_Run100(benchmark::State& state)
{
    TFixedCanvas canvas;
    TFontRef font = canvas.createFont(Spec);
    std::u16string text = Hundred();
    for (auto _ : state)
        benchmark::DoNotOptimize(font->textWidth(text));
}

void Ours_CreateFontCached(benchmark::State& state)
{
    TQtFontCache::shared().font(Spec);
    for (auto _ : state)
        benchmark::DoNotOptimize(TQtFontCache::shared().font(Spec));
}

BENCHMARK(Ours_Words);
BENCHMARK(QFontMetrics_Words);
BENCHMARK(Ours_Run100);
BENCHMARK(QFontMetrics_Run100);
BENCHMARK(Ours_FitCount100);
BENCHMARK(Fixed_Run100);
BENCHMARK(Ours_CreateFontCached);

// Keeps each run's CPU time per iteration (the machine is shared, wall time is noisy) so the ratios can be printed at the end.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            FTimes[run.benchmark_name()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void printRatio(const std::string& peer, const std::string& ours) const
    {
        auto p = FTimes.find(peer);
        auto o = FTimes.find(ours);
        if (p != FTimes.end() && o != FTimes.end() && o->second > 0)
            std::printf("%s / %s = %.1fx\n", peer.c_str(), ours.c_str(), p->second / o->second);
    }

private:
    std::map<std::string, double> FTimes;
};

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("QFontMetrics_Words", "Ours_Words");
    reporter.printRatio("QFontMetrics_Run100", "Ours_Run100");
    benchmark::Shutdown();
    return 0;
}
