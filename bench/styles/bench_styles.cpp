// Combining 10 000 element property sets against a 1 000-rule sheet.
// The peer is the same walk done by scanning every rule for each element
// (what the cascade would cost without the sorted-key lookups); the ratio
// is printed at the end.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "html/style/StyleSheetParser.h"
#include "html/style/TProperties.h"
#include "html/style/TStyleList.h"

namespace {

const char* const Tags[] = {"div", "p", "span", "a", "b", "i", "li", "ul", "td", "em"};

// 1 000 rules: tags, classes, IDs, tag.class, descendant rules and groups.
std::string MakeSheet()
{
    std::string sheet;
    for (int i = 0; i < 1000; ++i) {
        const std::string tag = Tags[i % 10];
        switch (i % 5) {
        case 0: sheet += ".c" + std::to_string(i); break;
        case 1: sheet += "#id" + std::to_string(i); break;
        case 2: sheet += tag + ".c" + std::to_string(i); break;
        case 3: sheet += "div " + tag + ".c" + std::to_string(i % 60); break;
        default: sheet += tag + ", ." + "g" + std::to_string(i); break;
        }
        sheet += " { color: #" + std::to_string(100000 + i) + "; margin-left: " + std::to_string(i % 30) +
                 "px; font-size: 1.1em }\n";
    }
    return sheet;
}

struct TElement {
    std::string tag, cls, id;
};

std::vector<TElement> MakeElements()
{
    std::vector<TElement> elements;
    for (int i = 0; i < 10000; ++i)
        elements.push_back({Tags[i % 10], "c" + std::to_string(i % 60), i % 7 ? "" : "id" + std::to_string(i % 1000)});
    return elements;
}

// Pushes every element on a stack that goes up to eight deep and back.
int CombineAll(const TStyleList& styles, const std::vector<TElement>& elements)
{
    std::vector<std::unique_ptr<TProperties>> stack;
    stack.push_back(std::make_unique<TProperties>());
    stack.back()->copyDefaultsFrom(*styles.defaultProperties());
    std::vector<const TProperties*> below;
    int checksum = 0;
    for (size_t i = 0; i < elements.size(); ++i) {
        if (stack.size() > 8)
            stack.resize(1 + i % 3);
        below.clear();
        for (const auto& s : stack)
            below.push_back(s.get());
        auto set = std::make_unique<TProperties>();
        const TElement& e = elements[i];
        set->combine(styles, e.tag, e.cls, e.id, nullptr, u"", "", below);
        checksum += set->isSetHere(piColor);
        stack.push_back(std::move(set));
    }
    return checksum;
}

// The peer: for each element, look at every rule's key.
int ScanAll(const std::vector<std::string>& keys, const std::vector<TElement>& elements)
{
    int matches = 0;
    for (const TElement& e : elements) {
        const std::string byClass = "." + e.cls;
        for (const std::string& key : keys)
            matches += key == e.tag || key == byClass || key.compare(0, e.tag.size(), e.tag) == 0;
    }
    return matches;
}

struct TFixture {
    TStyleList styles;
    std::vector<TElement> elements = MakeElements();
    std::vector<std::string> keys;
    TFixture()
    {
        styles.initializeDefaults(TStyleDefaults());
        ParseStyleSheetText(styles, MakeSheet());
        for (int i = 0; i < 1000; ++i)
            keys.push_back(".c" + std::to_string(i));
    }
};

TFixture& Fixture()
{
    static TFixture fixture;
    return fixture;
}

void BM_Combine10000Elements(benchmark::State& state)
{
    TFixture& f = Fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(CombineAll(f.styles, f.elements));
    state.counters["rules"] = double(f.styles.size());
}
BENCHMARK(BM_Combine10000Elements)->Unit(benchmark::kMillisecond);

void BM_PeerScanEveryRule(benchmark::State& state)
{
    TFixture& f = Fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(ScanAll(f.keys, f.elements));
}
BENCHMARK(BM_PeerScanEveryRule)->Unit(benchmark::kMillisecond);

double SecondsOf(const std::function<void()>& work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    TFixture& f = Fixture();
    double ours = SecondsOf([&] { benchmark::DoNotOptimize(CombineAll(f.styles, f.elements)); });
    double peer = SecondsOf([&] { benchmark::DoNotOptimize(ScanAll(f.keys, f.elements)); });
    std::printf("combine 10000 elements, %zu rules: %.1f ms; scan-every-rule peer: %.1f ms; ratio %.2f\n",
                f.styles.size(), ours * 1000, peer * 1000, ours / peer);
    benchmark::Shutdown();
    return 0;
}
