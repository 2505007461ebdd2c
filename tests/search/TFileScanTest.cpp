#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

#include "SearchTestSupport.h"
#include "search/SearchRequest.h"
#include "search/TFileScan.h"
#include "util/ProgramFolder.h"
#include "util/TIniFile.h"
#include "util/Utilities.h"
#include "tests/support/PermissionsBind.h"

namespace {

using Strings = std::vector<std::string>;

// A scanner set up like the search page leaves it, searching the tree.
struct ScanFixture : ::testing::Test {
    TTempTree tree;
    TFileScan scan;

    ScanFixture()
    {
        scan.Directory = tree.path();
        scan.FileType = {TFileAttr::ftNormal};
    }

    Strings Lines()
    {
        scan.SetStartScan(true);
        Strings lines;
        for (const TFoundLine& line : scan.FoundList())
            lines.push_back(line.Text);
        return lines;
    }
    // The found paths relative to the tree, sorted.
    Strings Found()
    {
        Strings found;
        for (const std::string& line : Lines())
            found.push_back(line.rfind(tree.path(), 0) == 0 ? line.substr(tree.path().size()) : line);
        std::sort(found.begin(), found.end());
        return found;
    }
    int Test(const std::string& name, Strings strings, TSearchType type = TSearchType::st_Or)
    {
        scan.SearchStrings = std::move(strings);
        scan.SearchType = type;
        scan.BeginFile(0);
        return scan.SearchFile(tree.file(name));
    }
};

} // namespace

TEST_F(ScanFixture, OrAndNotCombineTheStrings)
{
    tree.write("cat.txt", "only a cat here");
    std::string later = "dog" + std::string(70000, '.') + "cat";
    tree.write("late.txt", later);
    EXPECT_EQ(Test("cat.txt", {"dog", "cat"}), 1);
    EXPECT_EQ(Test("cat.txt", {"dog", "cat"}, TSearchType::st_And), 0);
    EXPECT_EQ(Test("late.txt", {"dog", "cat"}, TSearchType::st_And), 1); // first block and third block
    EXPECT_EQ(Test("cat.txt", {"dog"}, TSearchType::st_Not), 1);
    EXPECT_EQ(Test("cat.txt", {"dog", "cat"}, TSearchType::st_Not), 0);
    // An empty token (two spaces in the typed text) is never found.
    EXPECT_EQ(Test("late.txt", {"dog", "", "cat"}, TSearchType::st_And), 0);
    EXPECT_EQ(Test("late.txt", {"dog", "", "cat"}, TSearchType::st_Or), 1);
}

TEST_F(ScanFixture, FindsAStringAcrossTheBlockBorder)
{
    for (size_t start = BlockSize - 5; start <= BlockSize; ++start) {
        tree.write("border.txt", std::string(start, 'x') + "needle" + std::string(100, 'x'));
        EXPECT_EQ(Test("border.txt", {"NEEDLE"}), 1) << "starting at " << start;
        scan.CaseSense = true;
        EXPECT_EQ(Test("border.txt", {"NEEDLE"}), 0);
        scan.CaseSense = false;
    }
    // The carried tail must not make a file end in an endless loop.
    tree.write("short.txt", std::string(BlockSize, 'x'));
    EXPECT_EQ(Test("short.txt", {"longer than the rest"}), 0);
}

TEST_F(ScanFixture, NulBytesSeparateAndBinaryFilesAreSearched)
{
    tree.write("nul.bin", std::string("do\0g", 4));
    EXPECT_EQ(Test("nul.bin", {"dog"}), 0);
    tree.write("bin.bin", std::string("\0\0\x01\xff" "dog\0", 8));
    EXPECT_EQ(Test("bin.bin", {"dog"}), 1);
}

TEST_F(ScanFixture, CaseFoldingLeavesAccentedLettersAlone)
{
    tree.write("accent.txt", "caf\xC3\xA9 and caf&eacute;");
    EXPECT_EQ(Test("accent.txt", {"CAF\xC3\x89"}), 0);
    EXPECT_EQ(Test("accent.txt", {"CAF&EACUTE;"}), 1);
}

TEST_F(ScanFixture, WholeWordSearchUsesTheBoundarySets)
{
    scan.SearchStringType = TStringSearchType::sst_Word;
    scan.BeforeSet = scan.AfterSet = MakeCharSet("\n\r !,./:?");
    tree.write("a.txt", "a cat.");
    tree.write("b.txt", "cat and more");
    tree.write("c.txt", "concatenate; cat;");
    tree.write("d.txt", "<b>cat</b>");
    EXPECT_EQ(Test("a.txt", {"cat"}), 1);
    EXPECT_EQ(Test("b.txt", {"cat"}), 1);
    EXPECT_EQ(Test("c.txt", {"cat"}), 0);
    EXPECT_EQ(Test("d.txt", {"cat"}), 0);
}

TEST_F(ScanFixture, FilesThatCannotBeReadAreNotHits)
{
    EXPECT_EQ(Test("missing.txt", {"x"}), -1);
    ASSERT_EQ(mkfifo(tree.file("pipe.txt").c_str(), 0600), 0);
    EXPECT_EQ(Test("pipe.txt", {"x"}), -1);
    if (geteuid() != 0) { // root reads everything
        tree.write("locked.txt", "x");
        chmod(tree.file("locked.txt").c_str(), 0);
        EXPECT_EQ(Test("locked.txt", {"x"}), -1);
    }
}

TEST_F(ScanFixture, MetaSearchLooksOnlyAtTheMetaText)
{
    tree.write("m.htm", "<title>T</title><meta name=\"keywords\" content=\"felines\"><p>dogs</p>");
    tree.write("n.htm", "<title>T</title><p>felines</p>");
    scan.METASearch = true;
    scan.ShowSummary = true;
    EXPECT_EQ(Test("m.htm", {"felines"}), 1);
    EXPECT_EQ(Test("m.htm", {"dogs"}), 0);
    EXPECT_EQ(Test("n.htm", {"felines"}), 0); // no meta tag: the body extract is not meta text
    scan.ShowSummary = false;
    EXPECT_EQ(Test("m.htm", {"felines"}), 0);
}

TEST_F(ScanFixture, ReadsOnlyTheBlocksItNeedsOfAHugeFile)
{
    const std::string path = tree.write("huge.htm", "<title>Huge</title>needle");
    ASSERT_EQ(truncate(path.c_str(), 2200LL * 1000 * 1000), 0); // sparse
    scan.ShowTitle = true;
    scan.SearchStrings = {"needle"};
    scan.FileSpecs = "*.htm";
    EXPECT_EQ(Lines().size(), 1u);
    const TOneResult& hit = *scan.FoundList()[0].Result;
    EXPECT_EQ(hit.Title(), "Huge");
    EXPECT_EQ(hit.Bytes(), 2200LL * 1000 * 1000);
}

TEST_F(ScanFixture, StoresTitleSummaryAndDisplayLine)
{
    const std::string path =
        tree.write("p.htm", "<title>Cats</title><meta name=\"description\" content=\"All cats\">" +
                                std::string(1000, ' ') + "cat");
    SetModified(path, 1709557509); // 2024-03-04 13:05:09 UTC
    setenv("TZ", "UTC", 1);
    tzset();
    scan.ShowTitle = scan.ShowSummary = true;
    scan.ShowSize = scan.ShowDate = true;
    scan.SearchStrings = {"cat"};
    const Strings lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], path + "         1,066  2024/03/04  13:05:09");
    const TOneResult& hit = *scan.FoundList()[0].Result;
    EXPECT_EQ(hit.Title(), "Cats");
    EXPECT_EQ(hit.Summary(), "\"All cats\"");
    EXPECT_EQ(hit.URL(), "file://" + path);
    EXPECT_DOUBLE_EQ(hit.Modified(), EncodeDate(2024, 3, 4) + EncodeTime(13, 5, 9));

    scan.IncDirName = false;
    scan.ShowSize = scan.ShowDate = false;
    EXPECT_EQ(Lines(), Strings{"p.htm"});
}

TEST_F(ScanFixture, MasksHiddenFilesAndSubDirectories)
{
    tree.write("a.htm", "x");
    tree.write("b.html", "x");
    tree.write("c.txt", "x");
    tree.write(".hidden.htm", "x");
    tree.write("sub/d.htm", "x");
    tree.write("old.files/e.htm", "x");
    tree.write(".git/f.htm", "x");
    tree.write("python3.11/g.htm", "x");
    tree.write(".cache.d/h.htm", "x");
    scan.FileSpecs = "*.htm";
    // A dot inside a folder's name is part of it; a leading dot hides the folder.
    EXPECT_EQ(Found(), (Strings{"a.htm", "b.html", "old.files/e.htm", "python3.11/g.htm", "sub/d.htm"}));
    // A file that several masks match is one hit.
    scan.FileSpecs = "*.htm;*.txt;a*";
    EXPECT_EQ(Found(), (Strings{"a.htm", "b.html", "c.txt", "old.files/e.htm", "python3.11/g.htm", "sub/d.htm"}));
    scan.FileSpecs = "*.txt;";
    EXPECT_EQ(Found(), (Strings{"c.txt"}));
    // Hidden files may be asked for; hidden folders stay closed all the same.
    scan.FileType.include(TFileAttr::ftHidden);
    scan.FileSpecs = "*.htm";
    EXPECT_EQ(Found(), (Strings{".hidden.htm", "a.htm", "b.html", "old.files/e.htm", "python3.11/g.htm",
                                "sub/d.htm"}));
    scan.IncSubDir = false;
    EXPECT_EQ(Found(), (Strings{".hidden.htm", "a.htm", "b.html"}));
}

TEST_F(ScanFixture, RepeatedAndOverlappingMasksListEachFileOnce)
{
    tree.write("a.htm", "x");
    tree.write("B.TXT", "x");
    std::string specs = "*.TXT";
    for (int i = 0; i < 200000; ++i)
        specs += i % 2 ? ";*.htm" : ";A.*";
    scan.FileSpecs = specs;
    EXPECT_EQ(Found(), (Strings{"B.TXT", "a.htm"}));
    // Masks keep their order: the first one that matches decides the place.
    scan.FileSpecs = "*.txt;*";
    EXPECT_EQ(Lines(), (Strings{tree.path() + "B.TXT", tree.path() + "a.htm"}));
}

TEST_F(ScanFixture, WalksFilesBeforeSubDirectories)
{
    tree.write("sub/z.htm", "x");
    tree.write("a.htm", "x");
    tree.write("y.htm", "x");
    const Strings lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], tree.file("sub/z.htm"));
}

TEST_F(ScanFixture, SurvivesFifosLinkLoopsAndOddNames)
{
    tree.write("a.htm", "cat");
    tree.write("sub/\xff\xfe.htm", "cat");
    ASSERT_EQ(mkfifo(tree.file("pipe.htm").c_str(), 0600), 0);
    ASSERT_EQ(symlink("..", tree.file("sub/loop").c_str()), 0);
    ASSERT_EQ(symlink(tree.file("sub").c_str(), tree.file("link").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", tree.file("dangling.htm").c_str()), 0);
    scan.SearchStrings = {"cat"};
    scan.FileType.include(TFileAttr::ftSystem);
    // "sub" and "link" are one directory, walked once under whichever name comes first.
    auto oneName = [](Strings found) {
        for (std::string& f : found)
            f = f.substr(f.rfind('/') + 1);
        std::sort(found.begin(), found.end());
        return found;
    };
    EXPECT_EQ(oneName(Found()), (Strings{"a.htm", "\xff\xfe.htm"}));
    // Without a content test the FIFO is a hit by name, and still never opened.
    scan.SearchStrings.clear();
    EXPECT_EQ(oneName(Found()), (Strings{"a.htm", "pipe.htm", "\xff\xfe.htm"}));
}

TEST_F(ScanFixture, SizeAndAgeTests)
{
    tree.write("small.htm", std::string(10, 'x'));
    tree.write("big.htm", std::string(5000, 'x'));
    const std::string old = tree.write("old.htm", "x");
    SetModified(old, time(nullptr) - 3 * 86400 - 60);
    scan.FileSizeComp = TFileCompType::fctLessThanOrEqual;
    scan.FileSize = 10;
    EXPECT_EQ(Found(), (Strings{"old.htm", "small.htm"}));
    scan.FileSizeComp = TFileCompType::fctNone;
    scan.FileAgeComp = TFileCompType::fctEqual;
    scan.FileAge = 0;
    EXPECT_EQ(Found(), (Strings{"big.htm", "small.htm"}));
    scan.FileAgeComp = TFileCompType::fctGreaterThanOrEqual;
    scan.FileAge = 3;
    EXPECT_EQ(Found(), (Strings{"old.htm"}));
}

TEST_F(ScanFixture, DateWindowHasExclusiveBounds)
{
    const std::string path = tree.write("a.htm", "x");
    setenv("TZ", "UTC", 1);
    tzset();
    SetModified(path, 946684800); // 2000-01-01 00:00:00 UTC
    scan.SetStartYear(1901);
    scan.SetStartMonth(1);
    scan.SetStartDay(1);
    scan.SetEndYear(3000);
    scan.SetEndMonth(1);
    scan.SetEndDay(1);
    EXPECT_EQ(Found(), Strings{"a.htm"});
    scan.SetStartYear(2000);
    EXPECT_EQ(Found(), Strings{});
    scan.SetStartYear(1999);
    scan.SetEndYear(2000);
    EXPECT_EQ(Found(), Strings{});
}

TEST_F(ScanFixture, EndYearAloneStartsTheWindowIn1900)
{
    tree.write("a.htm", "x");
    scan.SetEndYear(3000);
    scan.SetEndMonth(1);
    scan.SetEndDay(1);
    EXPECT_EQ(Found(), Strings{"a.htm"});
    EXPECT_EQ(scan.StartYear(), 1900);
    EXPECT_EQ(scan.StartMonth(), 1);
    EXPECT_EQ(scan.StartDay(), 1);
}

TEST_F(ScanFixture, AYearWithoutMonthIsAClearError)
{
    tree.write("a.htm", "x");
    scan.OutputFile = tree.file("page.htm");
    scan.SetStartYear(1901);
    scan.SetEndYear(3000);
    try {
        scan.SetStartScan(true);
        FAIL() << "no error";
    } catch (const EInvalidStartEndDate& e) {
        EXPECT_STREQ(e.what(), "Invalid Start Date: Month and Day must be set when Year is set");
    }
    EXPECT_FALSE(std::filesystem::exists(tree.file("page.htm")));
}

TEST(FileScanDates, SettersRefuseWithTheirMessages)
{
    TFileScan scan;
    auto message = [&](auto set, int value) {
        try {
            (scan.*set)(value);
        } catch (const EInvalidStartEndDate& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(message(&TFileScan::SetStartYear, 1900), "Invalid Start Year: Year Must be > 1900 - Or Equal 0");
    EXPECT_EQ(message(&TFileScan::SetEndYear, 5), "Invalid End Year: Year Must be > 1900 or Equal 0");
    EXPECT_EQ(message(&TFileScan::SetStartMonth, 13),
              "Invalid Start Month: Month Must be 0 < Month > 13 - Or Equal to 0");
    EXPECT_EQ(message(&TFileScan::SetEndMonth, -1), "Invalid End Month: Month Must be 0 < Month > 13 - Or Equal to 0");
    EXPECT_EQ(message(&TFileScan::SetStartYear, 2000), "accepted");
    EXPECT_EQ(message(&TFileScan::SetStartMonth, 2), "accepted");
    EXPECT_EQ(message(&TFileScan::SetStartDay, 29), "accepted");
    EXPECT_EQ(message(&TFileScan::SetStartYear, 1900 + 1), "accepted");
    EXPECT_EQ(message(&TFileScan::SetStartDay, 30), "Invalid Start Day: Day Must be 0 > Day < (Max for Month)");
    EXPECT_EQ(message(&TFileScan::SetEndDay, 1), "Invalid End Day: Day Must be 0 > Day < (Max for Month)");
    EXPECT_EQ(message(&TFileScan::SetEndDay, 0), "accepted");
}

TEST_F(ScanFixture, StopAndMatchLimitEndTheWalk)
{
    for (int i = 0; i < 9; ++i)
        tree.write("f" + std::to_string(i) + ".htm", "x");
    scan.OutputFile = tree.file("page.out");
    int files = 0;
    scan.ProcessMessages = [&] {
        if (++files == 5)
            scan.Aborted = true;
    };
    Strings lines = Lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines.back(), AbortedLine);
    EXPECT_EQ(scan.HitCount(), 5u);
    EXPECT_NE(ReadWholeFile(tree.file("page.out")).find("The search found 5\r\n"), std::string::npos);
    EXPECT_NE(ReadWholeFile(tree.file("page.out")).find(AbortedLine), std::string::npos);

    scan.ProcessMessages = nullptr;
    scan.MatchLimit = 3;
    lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines.back(), MatchLimitLine);
}

TEST_F(ScanFixture, RaisesItsEventsInOrder)
{
    tree.write("a.htm", "cat");
    tree.write("sub/b.htm", std::string(BlockSize + 10, 'x'));
    Strings events;
    scan.OnStartSearch = [&](TFileScan&) { events.push_back("start"); };
    scan.OnEndSearch = [&](TFileScan&) { events.push_back("end"); };
    scan.OnFoundFile = [&](TFileScan&, const std::string& dir, const TSearchRec& rec) {
        events.push_back("file " + dir.substr(tree.path().size()) + std::string(rec.Name));
    };
    scan.OnFoundDirectory = [&](TFileScan&, const std::string&, const TSearchRec& rec) {
        events.push_back("dir " + std::string(rec.Name));
    };
    scan.OnAfterBufferScan = [&](TFileScan&, const std::string&, std::string_view s, std::string_view,
                                 int readCount, bool, bool) {
        events.push_back(std::string(s) + " " + std::to_string(readCount));
    };
    Strings captions;
    scan.CurrInfoLabel = [&](const std::string& caption) { captions.push_back(caption); };
    scan.SearchStrings = {"cat"};
    scan.SetStartScan(true);
    EXPECT_EQ(events, (Strings{"start", "CAT 1", "file a.htm", "dir sub", "CAT 1", "CAT 2", "end"}));
    ASSERT_EQ(captions.size(), 2u);
    EXPECT_EQ(captions[0], tree.file("a.htm") + std::string(78, ' '));
}

TEST_F(ScanFixture, UnwritablePageIsAnErrorAndKeepsTheHits)
{
    tree.write("a.htm", "x");
    scan.OutputFile = tree.path(); // a directory
    EXPECT_THROW(scan.SetStartScan(true), EResultsFileError);
    EXPECT_EQ(scan.HitCount(), 1u);
}

namespace {

// Lowers the file size limit for a scope: writes past it fail as on a full disk.
class TDiskFullAfter {
public:
    explicit TDiskFullAfter(rlim_t bytes)
    {
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &FOld);
        rlimit lowered = FOld;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~TDiskFullAfter()
    {
        ::setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }

private:
    rlimit FOld{};
    void (*FOldHandler)(int) = nullptr;
};

Strings FolderNames(const std::string& folder)
{
    Strings names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST_F(ScanFixture, AFailedPageWriteKeepsThePreviousPage)
{
    for (int i = 0; i < 60; ++i)
        tree.write("docs/page" + std::to_string(i) + ".htm", "<title>A rather long title for page " +
                                                                std::to_string(i) + "</title>x");
    const std::string previous = "<html>the previous results, kept byte for byte</html>\n";
    const std::string out = tree.write("out/KVRESULT.HTM", previous);
    scan.Directory = tree.file("docs");
    scan.ShowTitle = true;
    scan.OutputFile = out;
    {
        TDiskFullAfter full(4096);
        EXPECT_THROW(scan.SetStartScan(true), EResultsFileError);
    }
    EXPECT_EQ(scan.HitCount(), 60u);
    std::ifstream in(out, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), previous);
    EXPECT_EQ(FolderNames(tree.file("out")), (Strings{"KVRESULT.HTM"})); // no partial temporary left

    // With room, the page is replaced whole.
    scan.SetStartScan(true);
    std::ifstream again(out, std::ios::binary);
    std::string page(std::istreambuf_iterator<char>(again), {});
    EXPECT_GT(page.size(), 4096u);
    EXPECT_NE(page.find("page59.htm"), std::string::npos);
}

TEST_F(ScanFixture, APageLinkedByItsOwnerIsWrittenWhereItPointsAPlantedOneIsReplaced)
{
    tree.write("docs/a.htm", "x");
    scan.Directory = tree.file("docs");
    // The user keeps the page elsewhere through a link: it is written there.
    const std::string kept = tree.write("kept/KVRESULT.HTM", "old page");
    const std::string out = tree.file("KVRESULT.HTM");
    ASSERT_EQ(::symlink(kept.c_str(), out.c_str()), 0);
    scan.OutputFile = out;
    scan.SetStartScan(true);
    EXPECT_TRUE(std::filesystem::is_symlink(out));
    std::ifstream keptPage(kept, std::ios::binary);
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(keptPage), {}), "old page");

    // A link someone else planted in a folder everyone may write is never
    // followed. (Giving the link another owner needs root.)
    if (::geteuid() == 0) {
        const std::string victim = tree.write("victim.txt", "someone else's file");
        std::filesystem::create_directories(tree.file("shared"));
        ::chmod(tree.file("shared").c_str(), 01777);
        const std::string planted = tree.file("shared/KVRESULT.HTM");
        ASSERT_EQ(::symlink(victim.c_str(), planted.c_str()), 0);
        ASSERT_EQ(::lchown(planted.c_str(), 65534, 65534), 0);
        scan.OutputFile = planted;
        scan.SetStartScan(true);
        std::ifstream in(victim, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "someone else's file");
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(planted)));
    }

    // A page asked for in the temporary folder goes to our private one there.
    const std::string temporary = ResultFilePath("/any/where/KVRESULT.HTM", 3);
    EXPECT_NE(temporary, TempDir() + "KVRESULT.HTM");
    struct stat folder {};
    ASSERT_EQ(::lstat(ExtractDir(temporary).c_str(), &folder), 0);
    EXPECT_TRUE(S_ISDIR(folder.st_mode));
    EXPECT_EQ(folder.st_uid, ::getuid());
    EXPECT_EQ(folder.st_mode & 077, 0u);
}

TEST_F(ScanFixture, TreesDeeperThanTheDescriptorLimitAreWalkedToTheBottom)
{
    // Few descriptors, a deep tree: holding one per level would run out
    // about half way down.
    rlimit old{};
    ::getrlimit(RLIMIT_NOFILE, &old);
    rlimit few = old;
    few.rlim_cur = 64;
    tree.write("top.htm", "x");
    std::string dir;
    for (int level = 0; level < 150; ++level)
        dir += "d/";
    tree.write(dir + "bottom.htm", "x");
    tree.write(dir.substr(0, 80) + "middle.htm", "x"); // at level 40, below a folder
    tree.write(dir.substr(0, 80) + "e/side.htm", "x"); // whose descriptor was given up
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &few), 0);
    Strings found = Found();
    ::setrlimit(RLIMIT_NOFILE, &old);
    EXPECT_EQ(found, (Strings{dir + "bottom.htm", dir.substr(0, 80) + "e/side.htm", dir.substr(0, 80) + "middle.htm",
                              "top.htm"}));
    EXPECT_TRUE(scan.UnsearchedDirectories().empty());
}

namespace {

// A chain of folders "d/d/d/..." under the tree, built and removed through
// descriptors: its paths are far longer than the system lets a path be.
class TDeepChain {
public:
    TDeepChain(const std::string& top, int levels) : FTop(top)
    {
        int fd = ::open(top.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (int level = 0; level < levels && fd >= 0; ++level) {
            const int made = ::mkdirat(fd, "d", 0700);
            const int next = made == 0 ? ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
            ::close(fd);
            fd = next;
        }
        if (fd >= 0) {
            const int file = ::openat(fd, "bottom.htm", O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
            FBuilt = file >= 0 && ::write(file, "deep cat", 8) == 8;
            ::close(file);
            ::close(fd);
        }
    }
    ~TDeepChain()
    {
        // Down to the bottom, then back up through "..", removing each level.
        int fd = ::open(FTop.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        int depth = 0;
        for (int next; fd >= 0 && (next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) >= 0; ++depth) {
            ::close(fd);
            fd = next;
        }
        ::unlinkat(fd, "bottom.htm", 0);
        for (; depth > 0 && fd >= 0; --depth) {
            const int up = ::openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            fd = up;
            ::unlinkat(fd, "d", AT_REMOVEDIR);
        }
        ::close(fd);
    }
    bool built() const { return FBuilt; }

private:
    std::string FTop;
    bool FBuilt = false;
};

} // namespace

// A folder in memory when the system offers one to everybody: making twenty
// thousand nested folders on a disk takes far longer than walking them.
std::filesystem::path FastTemporaryBase()
{
    struct statfs fs {};
    if (::statfs("/dev/shm", &fs) == 0 && fs.f_type == 0x01021994 && ::access("/dev/shm", W_OK | X_OK) == 0)
        return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

TEST_F(ScanFixture, TreesTwentyThousandLevelsDeepAreWalkedWithoutOverflow)
{
    constexpr int Levels = 20000;
    TTempTree deepTree(FastTemporaryBase());
    scan.Directory = deepTree.path();
    deepTree.write("top.htm", "cat");
    TDeepChain chain(deepTree.path(), Levels);
    ASSERT_TRUE(chain.built());
    scan.SearchStrings = {"cat"};
    scan.ShowSize = scan.ShowDate = false;
    size_t deepest = 0;
    scan.OnFoundDirectory = [&](TFileScan&, const std::string& dirPath, const TSearchRec&) {
        deepest = std::max(deepest, dirPath.size());
    };
    const Strings lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], deepTree.file("top.htm")) << "files before subfolders, as always";
    std::string bottom;
    for (int level = 0; level < Levels; ++level)
        bottom += "d/";
    EXPECT_EQ(lines[1], deepTree.file(bottom + "bottom.htm"));
    EXPECT_EQ(deepest, deepTree.path().size() + bottom.size() - 2);
    EXPECT_TRUE(scan.UnsearchedDirectories().empty());
}

TEST_F(ScanFixture, FoldersThatCannotBeSearchedAreNamed)
{
    tree.write("a.htm", "x");
    tree.write("closed/b.htm", "x");
    PermissionsBind();
    ::chmod(tree.file("closed").c_str(), 0);
    const bool readable = ::access(tree.file("closed").c_str(), R_OK) == 0;
    Strings found = Found();
    ::chmod(tree.file("closed").c_str(), 0700);
    if (readable)
        GTEST_SKIP() << "this user reads every folder";
    EXPECT_EQ(found, (Strings{"a.htm"}));
    ASSERT_EQ(scan.UnsearchedDirectories().size(), 1u);
    EXPECT_EQ(scan.UnsearchedDirectories()[0].Path, tree.file("closed/"));
    EXPECT_EQ(scan.UnsearchedDirectories()[0].Error, EACCES);
}

TEST(FileScanRoots, MountTableSkipsPseudoFileSystems)
{
    TTempTree tree;
    const std::string table = tree.write("mounts", "/dev/vda1 / ext4 rw 0 0\n"
                                                   "proc /proc proc rw 0 0\n"
                                                   "tmpfs /run tmpfs rw 0 0\n"
                                                   "/dev/sdb1 /media/usb\\040stick vfat rw 0 0\n"
                                                   "/dev/vda1 / ext4 rw 0 0\n");
    EXPECT_EQ(MountRoots(table), (Strings{"/", "/media/usb stick/"}));
}

TEST_F(ScanFixture, NeverEntersTheKernelsOwnFileSystems)
{
    // Links to /proc, /sys and /dev stand in for a search started at "/".
    tree.write("status", "x");
    for (const char* name : {"proc", "sys", "dev"})
        ASSERT_EQ(::symlink((std::string("/") + name).c_str(), tree.file(name).c_str()), 0);
    scan.FileSpecs = "status;cmdline;uevent;null;zero";
    scan.FileType.include(TFileAttr::ftSystem);
    scan.MatchLimit = 2; // anything found in them ends the test at once
    EXPECT_EQ(Found(), Strings{"status"});
}

TEST(FileScanRoots, KnowsVirtualFileSystemsByType)
{
    TTempTree tree;
    auto isVirtual = [](const char* folder, const std::string& table) {
        const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const bool answer = IsVirtualFileSystem(fd, table);
        ::close(fd);
        return answer;
    };
    const std::string noTable = tree.file("missing");
    EXPECT_TRUE(isVirtual("/proc", noTable));
    EXPECT_TRUE(isVirtual("/sys", noTable));
    EXPECT_FALSE(isVirtual(tree.path().c_str(), noTable));

    // A memory file system is the device folder only when the mount table says so.
    struct stat shm {};
    struct statfs fs {};
    if (::stat("/dev/shm", &shm) != 0 || ::statfs("/dev/shm", &fs) != 0 || fs.f_type != 0x01021994)
        GTEST_SKIP() << "no tmpfs at /dev/shm";
    const std::string numbers = std::to_string(major(shm.st_dev)) + ":" + std::to_string(minor(shm.st_dev));
    auto table = [&](const std::string& mountPoint, const std::string& type) {
        return tree.write("mountinfo", "22 1 8:1 / / rw shared:1 - ext4 /dev/sda1 rw\n"
                                       "30 22 " + numbers + " / " + mountPoint + " rw,nosuid shared:5 - " + type +
                                           " " + type + " rw\n");
    };
    EXPECT_FALSE(isVirtual("/dev/shm", table("/dev/shm", "tmpfs")));
    EXPECT_FALSE(isVirtual("/dev/shm", table("/tmp", "tmpfs")));
    EXPECT_TRUE(isVirtual("/dev/shm", table("/dev", "tmpfs")));
    EXPECT_TRUE(isVirtual("/dev/shm", table("/dev", "devtmpfs")));
    EXPECT_TRUE(isVirtual("/dev/shm", table("/mnt/x", "devtmpfs")));
}

TEST(SearchRequest, AppliesThePageChoices)
{
    TTempTree tree;
    TIniFile settings(tree.write("KOVRA32.INI", "[SrhPath]\nDocs=" + tree.path() + "docs\n"));
    EXPECT_EQ(GetSearchDirectory("- Docs", settings), tree.path() + "docs");
    EXPECT_EQ(GetSearchDirectory("- Missing", settings), "");
    EXPECT_EQ(GetSearchDirectory("/plain", settings), "/plain");

    const TSearchChoices defaults = DefaultSearchChoices(settings);
    EXPECT_EQ(defaults.FileMasks, "*.htm");
    EXPECT_EQ(defaults.SizeComparison, "<=");
    EXPECT_EQ(defaults.SizeLimit, 32000);
    EXPECT_TRUE(defaults.GenerateSummary);
    EXPECT_EQ(defaults.ContextPassages, DefaultContextPassages);
    TIniFile noPassages(tree.write("OFF.INI", "[KOVRA]\nShowPassages=0\n"));
    EXPECT_EQ(DefaultSearchChoices(noPassages).ContextPassages, 0);

    TFileScan scan;
    TSearchChoices c = defaults;
    c.SearchText = "cat dog";
    c.WholeWord = true;
    c.Sort = TPageSort::NoSorting;
    ApplySearchChoices(scan, c);
    EXPECT_EQ(scan.SearchStrings, (Strings{"cat", "dog"}));
    EXPECT_EQ(scan.SearchType, TSearchType::st_Or);
    EXPECT_EQ(scan.Sort, TSort::stDate); // "No Sorting" orders by date
    EXPECT_EQ(scan.SearchStringType, TStringSearchType::sst_Word);
    EXPECT_EQ(scan.ContextPassages, DefaultContextPassages);
    EXPECT_TRUE(scan.AfterSet.test('?'));
    EXPECT_FALSE(scan.AfterSet.test(';'));
    EXPECT_EQ(scan.FileSizeComp, TFileCompType::fctLessThanOrEqual);
    EXPECT_EQ(scan.FileAgeComp, TFileCompType::fctNone);
    c.SizeLimit = 0;
    c.SearchType = TPageSearchType::Phrase;
    c.Sort = TPageSort::Unchanged;
    scan.Sort = TSort::stSize;
    ApplySearchChoices(scan, c);
    EXPECT_EQ(scan.FileSizeComp, TFileCompType::fctNone);
    EXPECT_EQ(scan.SearchType, TSearchType::st_And);
    EXPECT_EQ(scan.Sort, TSort::stSize);
}
