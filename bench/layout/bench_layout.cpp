// Layout must grow linearly with the document, and painting must cost what
// the visible band holds, not what the document holds. Lays out 1x, 2x and 4x
// copies of a long text document (paragraphs of words in a few fonts and
// links) on the fixed-metrics canvas, and paints one screen of each.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "gfx/TFixedCanvas.h"
#include "html/layout/TBodyBlock.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"

namespace {

constexpr int ParagraphsPerCopy = 2000; // about 1 MB of text per copy

TMargArray ParagraphBox()
{
    TMargArray b;
    b[BoxWidth] = BoxAuto;
    b[BoxTop] = b[BoxLeft] = BoxAuto;
    b[BoxMarginTop] = b[BoxMarginBottom] = 14;
    b.autoCount = 1;
    b.topMarginExplicit = true;
    return b;
}

std::unique_ptr<TSectionList> BuildDocument(int copies)
{
    auto doc = std::make_unique<TSectionList>();
    TBlockStyle bodyStyle;
    bodyStyle.boxValues = FixedBoxValues(ParagraphBox());
    bodyStyle.tag = "body";
    auto body = std::make_unique<TBodyBlock>(*doc, *doc, bodyStyle);
    TCellBasic& cell = body->Content();
    doc->AddSection(std::move(body));
    TTextStyle plain;
    TTextStyle bold = plain;
    bold.font.spec.style = fsBold;
    TTextStyle link = plain;
    link.font.color = 0xFF0000;
    const std::u16string words = u"The quick brown fox jumps over the lazy dog while reading offline documents ";
    std::vector<int> idx(words.size());
    int source = 0;
    TBlockStyle p;
    p.boxValues = FixedBoxValues(ParagraphBox());
    p.tag = "p";
    for (int n = 0; n < copies * ParagraphsPerCopy; ++n) {
        auto block = std::make_unique<TBlock>(*doc, cell, p);
        auto text = std::make_unique<TSection>(*doc, plain);
        for (int w = 0; w < 6; ++w) {
            for (size_t i = 0; i < idx.size(); ++i)
                idx[i] = source++;
            if (w == 2)
                text->ChangeFont(bold);
            if (w == 3)
                text->ChangeFont(plain);
            if (w == 4) {
                TLinkInfo target{"page.htm", "", n, 0};
                text->ChangeLink(link, &target);
            }
            if (w == 5)
                text->ChangeLink(plain, nullptr);
            text->AddText(words, idx);
        }
        block->Content().AddSection(std::move(text));
        cell.AddSection(std::move(block));
    }
    return doc;
}

void BM_LayOut(benchmark::State& state)
{
    auto doc = BuildDocument(int(state.range(0)));
    TFixedCanvas canvas;
    int maxWidth = 0;
    for (auto _ : state) {
        int h = doc->LayOut(canvas, 0, 800, 600, maxWidth);
        benchmark::DoNotOptimize(h);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * ParagraphsPerCopy);
}
BENCHMARK(BM_LayOut)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_PaintScreen(benchmark::State& state)
{
    auto doc = BuildDocument(int(state.range(0)));
    TFixedCanvas canvas;
    int maxWidth = 0;
    int height = doc->LayOut(canvas, 0, 800, 600, maxWidth);
    for (auto _ : state) {
        canvas.clearCalls();
        // One screen from the middle of the document.
        TPaintContext pc{canvas, {0, 0, 800, 600}};
        pc.yOffset = height / 2;
        doc->PaintDocument(pc, 0);
    }
}
BENCHMARK(BM_PaintScreen)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
