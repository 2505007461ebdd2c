// A start with a 10 MB settings file (a long "SrhPath" list and helper
// table grown over years): the keys the main window reads at start, through
// one TIniFile, against QSettings reading the same keys of the same file.
// One run prints the ratio.
#include <benchmark/benchmark.h>

#include <QSettings>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "util/TIniFile.h"
#include "util/TSessionFolder.h"

namespace {

constexpr size_t FileSize = 10 * 1024 * 1024;

// The sections and keys a start reads, as ReadINISettings and the search
// page do.
const std::vector<std::pair<const char*, const char*>>& StartKeys()
{
    static const std::vector<std::pair<const char*, const char*>> keys = [] {
        std::vector<std::pair<const char*, const char*>> list;
        for (const char* key : { "WinState", "Top", "Left", "Height", "Width", "Toolbar", "ToolbarStyle", "Location",
                 "DirButton", "StatusBar", "AutoSave", "MenuBar", "StatusBtn" })
            list.emplace_back("Windows", key);
        for (const char* key : { "ImgCache", "DisplayImg", "TextFirst", "AutoRefresh", "FontName", "PreFontName",
                 "FontColor", "FontSize", "LinkColor", "Background", "OverLink", "UnderLine", "MLeft", "MRight",
                 "MTop", "MBottom", "Header", "Footer" })
            list.emplace_back("HTMLViewer1", key);
        for (const char* key : { "LoadHome", "ShowMERL", "HomePage", "GoBack", "AutoClose", "IdleSec", "CloseSec",
                 "PrintIdle", "Bookmark" })
            list.emplace_back("StartUp", key);
        for (const char* key : { "Heading", "SubHeading", "StartCpt", "FileType", "Directory", "Result_File",
                 "LocalRF", "SrhBanner", "IncludeSub", "HideDir", "HideFT", "HideAdv", "DIR_RO", "ConvertSymbol",
                 "GetSummary", "FSComp", "FSize", "FGComp", "FGDays" })
            list.emplace_back("KOVRA", key);
        for (int i = 0; i < 10; ++i) {
            static const char* buttons[] = { "Button0", "Button1", "Button2", "Button3", "Button4", "Button5",
                "Button6", "Button7", "Button8", "Button9" };
            list.emplace_back("Directory", buttons[i]);
        }
        return list;
    }();
    return keys;
}

const std::string& SettingsFile()
{
    // In a private folder of this run, gone when it ends.
    static TSessionFolder folder;
    static const std::string name = [] {
        std::string path = folder.Path() + "KOVRA32.INI";
        std::string text = "[Windows]\nTop=10\nLeft=20\nHeight=458\nWidth=622\n[HTMLViewer1]\nFontSize=12\n"
                           "[StartUp]\nHomePage=index.htm\n[KOVRA]\nFSize=32000\n[Directory]\nButton0=a.htm,A,1\n";
        text += "[SrhPath]\n";
        for (int i = 0; text.size() < FileSize; ++i)
            text += "Manual " + std::to_string(i) + "=/srv/collections/manuals/part" + std::to_string(i) + "/\n";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }();
    return name;
}

// Gives the file a new time, so that neither reader can answer from what it
// read before: every iteration is a first start.
void Touch()
{
    static long step = 0;
    struct timespec times[2] = { { 1000000 + ++step, 0 }, { 1000000 + step, 0 } };
    ::utimensat(AT_FDCWD, SettingsFile().c_str(), times, 0);
}

void Quillon_StartReads(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Touch();
        state.ResumeTiming();
        TIniFile ini(SettingsFile());
        size_t found = 0;
        for (const auto& [section, key] : StartKeys())
            found += ini.ReadString(section, key, "").size();
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(Quillon_StartReads)->Unit(benchmark::kMillisecond);

void QSettings_StartReads(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Touch();
        state.ResumeTiming();
        QSettings ini(QString::fromStdString(SettingsFile()), QSettings::IniFormat);
        size_t found = 0;
        for (const auto& [section, key] : StartKeys())
            found += ini.value(QString::fromLatin1(section) + '/' + QString::fromLatin1(key)).toString().size();
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(QSettings_StartReads)->Unit(benchmark::kMillisecond);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Iteration)
                cpuTimes[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> cpuTimes;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    std::printf("settings file: %zu bytes, %zu keys read\n", FileSize, StartKeys().size());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double ours = reporter.cpuTimes["Quillon_StartReads"];
    double peer = reporter.cpuTimes["QSettings_StartReads"];
    if (ours > 0 && peer > 0)
        std::printf("ratio (CPU time) Quillon_StartReads / QSettings_StartReads = %.3f\n", ours / peer);
    benchmark::Shutdown();
    return 0;
}
