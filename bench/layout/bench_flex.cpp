// Flex rows must lay out in time linear in their number, and near what the
// same rows cost as plain blocks (the peer). Builds 2,000 rows of 5 items
// (1x) and 4,000 (2x), each as flex rows and as blocks, and lays them out
// on the fixed-metrics canvas.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "gfx/TFixedCanvas.h"
#include "html/build/DocumentBuilder.h"
#include "html/layout/TSectionList.h"
#include "html/style/StyleValues.h"

namespace {

constexpr int RowsPerCopy = 2000;

std::string Page(int copies, bool flex)
{
    std::string html = "<html><head><style>.row { display: ";
    html += flex ? "flex" : "block";
    html += "; gap: 4px; align-items: center } .cell { flex: 1 1 0; padding: 2px }"
            " .side { width: 120px; flex-shrink: 0 }</style></head><body>";
    for (int r = 0; r < copies * RowsPerCopy; ++r) {
        html += "<div class=row><div class=\"cell side\">row " + std::to_string(r) + "</div>";
        for (int c = 0; c < 4; ++c)
            html += "<div class=cell>some words in cell " + std::to_string(c) + "</div>";
        html += "</div>\n";
    }
    return html + "</body></html>";
}

void LayOutPage(benchmark::State& state, bool flex)
{
    TFixedCanvas canvas;
    SetStyleScreen(&canvas);
    TSectionList doc;
    TStyleList styles;
    HtmlParseString(Page(int(state.range(0)), flex), doc, styles, THtmlParseSettings{}, THtmlParseEvents{});
    int maxWidth = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.LayOut(canvas, 0, 800, 600, maxWidth));
    SetStyleScreen(nullptr);
    state.counters["rows"] = double(state.range(0) * RowsPerCopy);
}

void BM_FlexRows(benchmark::State& state) { LayOutPage(state, true); }
void BM_BlockRows(benchmark::State& state) { LayOutPage(state, false); }

} // namespace

BENCHMARK(BM_FlexRows)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlockRows)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
