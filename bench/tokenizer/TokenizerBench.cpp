// Reads the same 2 MB document with our tokenizer (the NextSymbol loop, nothing
// built) and with libxml2's htmlReadMemory, then prints our time as a fraction
// of libxml2's.
#include "html/parse/HtmlReader.h"

#include <benchmark/benchmark.h>
#include <libxml/HTMLparser.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr size_t DocumentSize = 2 * 1024 * 1024;

// A document shaped like the collections we show: headings, paragraphs with
// inline markup and references, links, tables with attributes, comments.
std::string MakeDocument()
{
    std::string doc = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
                      "<html><head><title>Benchmark</title>\n<meta http-equiv=\"Content-Type\" "
                      "content=\"text/html; charset=windows-1252\"></head>\n<body bgcolor=\"#FFFFFF\" text=black>\n";
    for (int section = 0; doc.size() < DocumentSize; ++section) {
        doc += "<h2><a name=\"s" + std::to_string(section) + "\">Section " + std::to_string(section) + "</a></h2>\n";
        doc += "<!-- section " + std::to_string(section) + " starts here -->\n";
        doc += "<p class=body>The quick brown fox jumps over the lazy dog &amp; the cat. Prices rose by 5&nbsp;% "
               "&#150; not &quot;much&quot;, said <b>Dr. M&uuml;ller</b> in <i>Caf&eacute; Central</i>.\n"
               "Read the <a href=\"chapter" + std::to_string(section) + ".htm#top\" target=_top>next chapter</a> "
               "or go <a href='../index.htm'>back</a>.</p>\n";
        doc += "<table border=1 cellpadding=\"2\" width=\"90%\">\n";
        for (int row = 0; row < 3; ++row)
            doc += "<tr><td align=left width=30%>Item " + std::to_string(row) + "</td><td align=right>" +
                   std::to_string(section * 3 + row) + ".00</td><td><font size=+1 color=\"#336699\">ok</font></td></tr>\n";
        doc += "</table>\n<ul><li>First point\n<li>Second point with <code>code</code>\n</ul>\n<hr size=2 noshade>\n";
    }
    doc += "</body></html>\n";
    return doc;
}

const std::string& Document()
{
    static const std::string doc = MakeDocument();
    return doc;
}

void Quillon_NextSymbol(benchmark::State& state)
{
    const std::string& doc = Document();
    for (auto _ : state) {
        InstallDocument(doc);
        size_t symbols = 0;
        do {
            NextSymbol();
            ++symbols;
        } while (ReadState.Sy != EofSym);
        benchmark::DoNotOptimize(symbols);
    }
    ReleaseDocument();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}
BENCHMARK(Quillon_NextSymbol)->Unit(benchmark::kMillisecond);

void Libxml2_htmlReadMemory(benchmark::State& state)
{
    const std::string& doc = Document();
    for (auto _ : state) {
        htmlDocPtr parsed = htmlReadMemory(doc.data(), static_cast<int>(doc.size()), "bench.htm", "windows-1252",
                                           HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
        benchmark::DoNotOptimize(parsed);
        xmlFreeDoc(parsed);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}
BENCHMARK(Libxml2_htmlReadMemory)->Unit(benchmark::kMillisecond);

// Keeps the real and CPU time of each benchmark for the closing ratios. On a
// shared, loaded machine the CPU time is the steadier of the two.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                realTimes[run.benchmark_name()] = run.GetAdjustedRealTime();
                cpuTimes[run.benchmark_name()] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> realTimes;
    std::map<std::string, double> cpuTimes;
};

void PrintRatio(const char* kind, std::map<std::string, double>& times)
{
    double ours = times["Quillon_NextSymbol"];
    double peer = times["Libxml2_htmlReadMemory"];
    if (ours > 0 && peer > 0)
        std::printf("ratio (%s time) Quillon_NextSymbol / Libxml2_htmlReadMemory = %.3f (target <= 0.5)\n", kind, ours / peer);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    xmlInitParser();
    std::printf("document: %zu bytes\n", Document().size());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatio("real", reporter.realTimes);
    PrintRatio("CPU", reporter.cpuTimes);
    xmlCleanupParser();
    benchmark::Shutdown();
    return 0;
}
