// kovra: the search engine on the command line, with the search page's options.
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "KovraOptions.h"
#include "search/TFileScan.h"
#include "util/TIniFile.h"
#include "util/Utilities.h"

namespace {

volatile std::sig_atomic_t InterruptRequested = 0;

void OnInterrupt(int)
{
    InterruptRequested = 1;
}

void InstallInterruptHandler()
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

enum ExitStatus { FoundFiles = 0, FoundNothing = 1, Failed = 2 };

void CheckDirectory(const TFileScan& scan)
{
    if (scan.SearchAllDrives)
        return;
    // The scanner maps the original default drive root to the home directory.
    const std::string dir = ToNativeSeparators(scan.Directory);
    if (dir.empty() || dir == "C:/" || dir == "c:/" || dir == "C:" || dir == "c:")
        return;
    struct stat st;
    if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        throw EUsageError("cannot search \"" + scan.Directory + "\": no such directory");
}

void PrintFoundList(const TFileScan& scan)
{
    std::string out;
    for (const TFoundLine& line : scan.FoundList()) {
        out += line.Text;
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

// Says what was searched and what the size and age filters left out, so an
// empty answer can be told from a search that looked in the wrong place.
void ReportScope(const TFileScan& scan)
{
    std::fflush(stdout);
    for (const std::string& sentence : DescribeSearchScope(scan.SearchScope(), TScopeReader::CommandLine))
        std::fprintf(stderr, "kovra: %s\n", sentence.c_str());
}

// Says which folders the search could not look into. Folders we may not
// read are expected (a search of a whole disk meets many); any other reason
// means the search was incomplete, and the answer is that it failed.
bool ReportUnsearched(const TFileScan& scan)
{
    bool incomplete = false;
    std::fflush(stdout);
    for (const TUnsearchedDirectory& dir : scan.UnsearchedDirectories()) {
        std::fprintf(stderr, "kovra: not searched: %s\n", DescribeUnsearched(dir).c_str());
        incomplete = incomplete || (dir.Error != EACCES && dir.Error != EPERM);
    }
    return incomplete;
}

int Run(const std::vector<std::string>& args)
{
    TIniFile settings(SearchSettingsFileName());
    TKovraOptions options = ParseKovraOptions(args, DefaultSearchChoices(settings));
    if (options.help) {
        std::fputs(KovraHelpText().c_str(), stdout);
        return FoundFiles;
    }
    TSearchChoices& choices = options.choices;
    if (options.directoryGiven) {
        if (options.directoryText.empty())
            throw EUsageError("--dir needs a directory");
        choices.Directory = GetSearchDirectory(options.directoryText, settings);
    }
    if (!choices.Directory.empty())
        choices.Directory = EnsureBackslash(ToNativeSeparators(choices.Directory));

    TFileScan scan;
    ApplyMainWindowDefaults(scan);
    ApplySearchChoices(scan, choices);
    if (options.sortWalkOrder)
        scan.Sort = TSort::stNone;
    scan.MatchLimit = options.matchLimit;
    if (options.print && !options.outputGiven) {
        scan.OutputFile.clear();
        // Printed lines show neither titles nor summaries; a meta-only search
        // still needs the meta text.
        scan.ShowTitle = false;
        scan.ShowSummary = choices.MetaOnly && choices.GenerateSummary;
    }
    CheckDirectory(scan);

    InstallInterruptHandler();
    scan.ProcessMessages = [&scan] {
        if (InterruptRequested)
            scan.Aborted = true;
    };
    try {
        scan.SetStartScan(true);
    } catch (const EResultsFileError&) {
        if (options.print)
            PrintFoundList(scan);
        throw;
    }
    if (options.print)
        PrintFoundList(scan);
    else
        std::printf("%zu file(s) found; results page: %s\n", scan.HitCount(), scan.OutputFile.c_str());
    ReportScope(scan);
    return ReportUnsearched(scan) ? Failed : scan.HitCount() > 0 ? FoundFiles : FoundNothing;
}

} // namespace

int main(int argc, char** argv)
{
    // Dates and thousands separators follow the user's locale.
    std::setlocale(LC_ALL, "");
    std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::printf("kovra %s\n", QUILLON_VERSION);
        return 0;
    }
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "kovra: %s\n", e.what());
        return Failed;
    }
}
