#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <future>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "util/Exception.h"
#include "util/FileLookup.h"
#include "util/TFolderListings.h"
#include "util/ProgramFolder.h"
#include "util/TLocalProgramRun.h"
#include "util/Utilities.h"
#include "tests/support/PermissionsBind.h"

namespace {

// Whether a process still runs (a zombie waiting to be collected does not).
bool running(int pid)
{
    std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    size_t paren = stat.rfind(')');
    return paren != std::string::npos && paren + 2 < stat.size() && stat[paren + 2] != 'Z';
}

// Waits up to two seconds for a process to end.
bool ends(int pid)
{
    for (int i = 0; i < 200 && running(pid); ++i)
        ::usleep(10000);
    return !running(pid);
}

} // namespace

TEST(PathText, FolderAndBackslashRules)
{
    EXPECT_EQ(ExtractDir("b.htm"), "");
    EXPECT_EQ(ExtractDir("/a/b.htm"), "/a/");
    EXPECT_EQ(ExtractDir("C:\\a\\b.htm"), "C:/a/") << "backslashes are read as slashes";
    EXPECT_EQ(AddBackslash("/docs"), "/docs/");
    EXPECT_EQ(AddBackslash("/docs/"), "/docs/");
    std::string longDir(255, 'd');
    EXPECT_EQ(AddBackslash(longDir), longDir);
    EXPECT_EQ(EnsureBackslash(longDir), longDir + "/");
    EXPECT_EQ(TrimLeadingSpaces("   42 x "), "42 x ");
    EXPECT_EQ(TrimLeadingSpaces("\t42"), "\t42");
}

TEST(PathText, CaseInsensitiveReplace)
{
    EXPECT_EQ(ReplaceFirstText("Open %EXEDIR%a and %exedir%b", "%exedir%", "/p/"), "Open /p/a and %exedir%b");
    EXPECT_EQ(ReplaceFirstText("nothing", "x", "y"), "nothing");
    std::string text = "a-A-a";
    ReplaceAllText(text, "a", "b");
    EXPECT_EQ(text, "b-b-b");
}

TEST(PathText, ReplaceAllEndsWhenReplacementContainsPattern)
{
    std::string text = "x.htm y.HTM";
    ReplaceAllText(text, ".htm", ".html.htm");
    EXPECT_EQ(text, "x.html.htm y.html.htm");
}

TEST(PathText, ExeMacros)
{
    TempFolder dir;
    ScopedEnv program("QUILLON_PROGRAM_DIR", dir.path().c_str());
    std::string both = "%exedir%a;%exedriver%b";
    ExpandExeMacros(both);
    EXPECT_EQ(both, "%exedir%a;" + ProgramDrive() + "b") << "only the drive macro is expanded";

    std::string twice = "%ExeDir%one %exedir%two";
    ExpandExeMacros(twice);
    EXPECT_EQ(twice, dir.path() + "one %exedir%two");

    std::string upperDrive = "%EXEDRIVER%x";
    ExpandExeMacros(upperDrive);
    EXPECT_EQ(upperDrive, "%EXEDRIVER%x") << "the drive macro is only recognised in lower case";
}

TEST(PathText, ProgramDriveIsAMountPointPrefix)
{
    std::string drive = ProgramDrive();
    EXPECT_TRUE(drive.empty() || drive.back() != '/');
    EXPECT_EQ(ProgramDir().compare(0, drive.size(), drive), 0);
}

TEST(Environment, NamesAreWholeAndCaseInsensitive)
{
    ScopedEnv tempdir("TEMPDIR", "/from-tempdir");
    ScopedEnv temp("TEMP", "/from-temp");
    EXPECT_EQ(GetEnvValue("temp"), "/from-temp");
    EXPECT_EQ(GetEnvValue("TEMPDIR"), "/from-tempdir");
    EXPECT_EQ(GetEnvValue("QUILLON_NO_SUCH_VARIABLE"), "/");
}

TEST(Environment, TempFallsBackToTmpdirThenTmp)
{
    ScopedEnv temp("TEMP", nullptr);
    {
        ScopedEnv tmpdir("TMPDIR", "/var/tmp");
        EXPECT_EQ(GetEnvValue("TEMP"), "/var/tmp/");
    }
    ScopedEnv tmpdir("TMPDIR", nullptr);
    EXPECT_EQ(GetEnvValue("TEMP"), "/tmp/");
}

TEST(Files, ChangeDirAcceptsTrailingSlashAndIgnoresMissing)
{
    TempFolder dir;
    auto before = std::filesystem::current_path();
    ChangeDir(dir.path());
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(dir.path()));
    ChangeDir(dir.file("missing"));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(dir.path()));
    std::filesystem::current_path(before);
}

TEST(Files, CopyKeepsBytesAndDate)
{
    TempFolder dir;
    std::string source = dir.file("src name é.txt");
    writeFile(source, std::string("a\0b", 3));
    struct timespec times[2] = {{1000000, 0}, {1000000, 0}};
    ::utimensat(AT_FDCWD, source.c_str(), times, 0);
    writeFile(dir.file("dst.txt"), "old and longer");
    CopyFileKeepDate(source, dir.file("dst.txt"));
    EXPECT_EQ(readFile(dir.file("dst.txt")), std::string("a\0b", 3));
    struct stat info {};
    ::stat(dir.file("dst.txt").c_str(), &info);
    EXPECT_EQ(info.st_mtim.tv_sec, 1000000);
}

TEST(Files, CopyOntoItselfKeepsTheFile)
{
    TempFolder dir;
    writeFile(dir.file("same.txt"), "precious");
    CopyFileKeepDate(dir.file("same.txt"), dir.file("./same.txt"));
    EXPECT_EQ(readFile(dir.file("same.txt")), "precious");
}

TEST(Files, CopyOfMissingSourceRaises)
{
    TempFolder dir;
    EXPECT_THROW(CopyFileKeepDate(dir.file("none"), dir.file("x")), EFileError);
    EXPECT_FALSE(std::filesystem::exists(dir.file("x")));
}

TEST(Files, ReadFileBytesReadsWholeFilesOnly)
{
    TempFolder dir;
    std::string big(200000, 'x');
    big[0] = '\0';
    big.back() = 'z';
    writeFile(dir.file("big.bin"), big);
    writeFile(dir.file("empty.txt"), "");
    EXPECT_EQ(ReadFileBytes(dir.file("big.bin")), big);
    EXPECT_EQ(ReadFileBytes(dir.file("empty.txt")), std::string());
    EXPECT_EQ(ReadFileBytes(dir.file("none")), std::nullopt);
    EXPECT_EQ(ReadFileBytes(dir.file("")), std::nullopt); // the folder itself
    // Special files report no size: they are not documents.
    EXPECT_EQ(ReadFileBytes("/dev/zero"), std::nullopt);
}

TEST(Files, ReadFileBytesNeverWaitsOnAFifo)
{
    TempFolder dir;
    std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] { return ReadFileBytes(fifo); });
    bool prompt = reading.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!prompt) {
        // Let the blocked open go (a writer arrives and leaves) before failing.
        int fd = ::open(fifo.c_str(), O_WRONLY);
        ::close(fd);
    }
    ASSERT_TRUE(prompt) << "ReadFileBytes blocked on a FIFO";
    EXPECT_EQ(reading.get(), std::nullopt);
}

TEST(Files, CaseInsensitiveLookupFallback)
{
    TempFolder dir;
    std::filesystem::create_directories(dir.file("Docs/Sub"));
    writeFile(dir.file("Docs/Sub/INDEX.HTM"), "x");
    EXPECT_EQ(ResolveFileName(dir.file("docs/sub/index.htm")), dir.file("Docs/Sub/INDEX.HTM"));
    EXPECT_EQ(ResolveFileName(dir.file("docs\\SUB\\Index.htm")), dir.file("Docs/Sub/INDEX.HTM"));
    EXPECT_TRUE(LocalFileExists(dir.file("DOCS/sub/index.HTM")));
    EXPECT_FALSE(LocalFileExists(dir.file("docs/sub/other.htm")));
    EXPECT_EQ(ResolveFileName(dir.file("docs/missing.htm")), dir.file("docs/missing.htm"));
}

TEST(FileLookup, LookUpsOfOneRunReadEachFolderOnce)
{
    TempFolder dir;
    std::filesystem::create_directories(dir.file("Docs"));
    writeFile(dir.file("Docs/INDEX.HTM"), "x");
    TFolderListings run;
    EXPECT_EQ(ResolveFileName(dir.file("docs/index.htm"), &run), dir.file("Docs/INDEX.HTM"));
    EXPECT_EQ(ResolveFileName(dir.file("docs/missing.htm"), &run), dir.file("docs/missing.htm"));
    // A file made during the run is not in the folder as the run read it;
    // a look-up of its own reads the folder anew.
    writeFile(dir.file("Docs/LATER.HTM"), "x");
    EXPECT_FALSE(LocalFileExists(dir.file("docs/later.htm"), &run));
    EXPECT_TRUE(LocalFileExists(dir.file("docs/later.htm")));
    EXPECT_EQ(ResolveFileName(dir.file("DOCS/Index.htm"), &run), dir.file("Docs/INDEX.HTM"));
}

TEST(Processes, RunProgramReportsMissingPrograms)
{
    EXPECT_EQ(RunProgram("/no/such/program", "x"), "/no/such/program not found");
    EXPECT_EQ(RunProgram("quillon-no-such-program", ""), "quillon-no-such-program not found");
    EXPECT_EQ(RunProgram("true", "an argument with spaces"), "");
}

TEST(Processes, RunLocalProgramCapturesOutputWithOneArgument)
{
    TempFolder dir;
    std::string script = dir.file("echo args.sh");
    writeFile(script, "#!/bin/sh\necho \"count=$#\"\ncat \"$1\"\n");
    ::chmod(script.c_str(), 0755);
    std::string params = dir.file("params \"quoted\" ;$(x).cgi");
    writeFile(params, "name=value\n");
    std::string folder = NewPrivateRunFolder();
    ASSERT_FALSE(folder.empty());
    std::string output;
    ASSERT_TRUE(RunLocalProgram(script, params, folder, output));
    EXPECT_EQ(output, folder + "output.cgi");
    EXPECT_EQ(readFile(output), "count=1\nname=value\n");
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << "output lives in a private folder";
    std::filesystem::remove_all(folder);
}

TEST(Processes, RunLocalProgramEdgeCases)
{
    TempFolder dir;
    std::string quiet = dir.file("quiet.sh");
    writeFile(quiet, "#!/bin/sh\nexit 3\n");
    ::chmod(quiet.c_str(), 0755);
    std::string output;
    // A program that writes nothing (and fails) still ran: the output is empty.
    EXPECT_FALSE(RunLocalProgram(quiet, dir.file("p.cgi"), dir.file("a"), output))
        << "a run folder that does not exist cannot take the output";
    std::filesystem::create_directory(dir.file("a"));
    ASSERT_TRUE(RunLocalProgram(quiet, dir.file("p.cgi"), dir.file("a"), output));
    EXPECT_EQ(readFile(output), "");
    // The output file is made new: one already there (or a link planted in its
    // place) is never written through.
    std::string again = "unchanged";
    EXPECT_FALSE(RunLocalProgram(quiet, dir.file("p.cgi"), dir.file("a"), again));
    std::filesystem::create_directory(dir.file("b"));
    writeFile(dir.file("victim"), "keep");
    std::filesystem::create_symlink(dir.file("victim"), dir.file("b/output.cgi"));
    EXPECT_FALSE(RunLocalProgram(quiet, dir.file("p.cgi"), dir.file("b"), again));
    EXPECT_EQ(readFile(dir.file("victim")), "keep");
    EXPECT_EQ(again, "unchanged");
    EXPECT_FALSE(RunLocalProgram("/no/such/program", "/tmp/p.cgi", dir.path(), again));
    EXPECT_FALSE(RunLocalProgram(dir.path(), "/tmp/p.cgi", dir.path(), again)) << "a folder is no program";
    EXPECT_EQ(again, "unchanged");
}

TEST(Processes, RunsCanBePolledAndKilledWithWhatTheyStarted)
{
    TempFolder dir;
    std::string script = dir.file("forever.sh");
    // The script starts a child of its own and then waits for ever.
    writeFile(script, "#!/bin/sh\necho started\nsleep 300 &\necho $! > \"$1\"\nwait\n");
    ::chmod(script.c_str(), 0755);
    auto run = TLocalProgramRun::Start(script, dir.file("child.pid"), dir.path());
    ASSERT_NE(run, nullptr);
    for (int i = 0; i < 200 && readFile(dir.file("child.pid")).empty(); ++i)
        ::usleep(10000);
    EXPECT_FALSE(run->Finished());
    int child = std::atoi(readFile(dir.file("child.pid")).c_str());
    ASSERT_GT(child, 0);
    run->Kill();
    EXPECT_TRUE(run->Finished());
    EXPECT_TRUE(ends(child)) << "the program's own child ends with it";
    EXPECT_EQ(readFile(run->OutputFile()), "started\n");

    EXPECT_EQ(TLocalProgramRun::Start(script, dir.file("x.pid"), dir.path()), nullptr)
        << "the folder already holds an output file";

    // Dropping a run that is still going ends it too.
    std::filesystem::create_directory(dir.file("second"));
    auto second = TLocalProgramRun::Start(script, dir.file("second.pid"), dir.file("second"));
    ASSERT_NE(second, nullptr);
    for (int i = 0; i < 200 && readFile(dir.file("second.pid")).empty(); ++i)
        ::usleep(10000);
    int secondChild = std::atoi(readFile(dir.file("second.pid")).c_str());
    ASSERT_GT(secondChild, 0);
    second.reset();
    EXPECT_TRUE(ends(secondChild));
}

TEST(Processes, PrivateFolderNeverFallsBackToASharedName)
{
    TempFolder tmp;
    ScopedEnv tmpdir("TMPDIR", tmp.path().c_str());
    ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
    std::string usual = tmp.path() + "quillon-" + std::to_string(::getuid()) + "/";
    EXPECT_EQ(PrivateTempDir(), usual);
    std::filesystem::remove(usual);

    // Someone planted a link (or a file) where our folder would be.
    TempFolder elsewhere;
    std::filesystem::create_directory_symlink(elsewhere.path(), usual.substr(0, usual.size() - 1));
    EXPECT_EQ(PrivateTempDir(), "");
    std::string folder = NewPrivateRunFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(ExtractDir(folder.substr(0, folder.size() - 1)), tmp.path()) << folder;
    EXPECT_NE(folder, usual);
    struct stat info {};
    ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.path())) << "nothing was made through the link";

    // The session's runtime folder comes first when it is ours.
    TempFolder session;
    ::chmod(session.path().c_str(), 0700);
    ScopedEnv ours("XDG_RUNTIME_DIR", session.path().c_str());
    EXPECT_EQ(PrivateTempDir(), session.path() + "quillon/");
}

TEST(Files, CopyNeverWritesThroughAPlantedTemporaryName)
{
    TempFolder dir;
    writeFile(dir.file("src"), "new");
    writeFile(dir.file("victim"), "keep");
    // The old fixed name beside the target.
    std::filesystem::create_symlink(dir.file("victim"), dir.file("dst.tmp-copy"));
    CopyFileKeepDate(dir.file("src"), dir.file("dst"));
    EXPECT_EQ(readFile(dir.file("dst")), "new");
    EXPECT_EQ(readFile(dir.file("victim")), "keep");
    size_t entries = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 4u) << "no temporary file is left behind";
}

TEST(ProgramFolderTest, OverrideAndWritableFallback)
{
    TempFolder dir;
    TempFolder config;
    std::filesystem::create_directories(dir.file("cd"));
    writeFile(dir.file("cd/KOVRA32.INI"), "[Windows]\nTop=9\n");
    ScopedEnv program("QUILLON_PROGRAM_DIR", dir.file("cd").c_str());
    ScopedEnv xdg("XDG_CONFIG_HOME", config.path().c_str());
    EXPECT_EQ(ProgramDir(), dir.file("cd/"));
    EXPECT_EQ(WritableFile("KOVRA32.INI"), dir.file("cd/KOVRA32.INI"));
    if (!PermissionsBind())
        GTEST_SKIP() << "this user writes read-only folders";
    ::chmod(dir.file("cd").c_str(), 0555);
    std::string seeded = WritableFile("KOVRA32.INI");
    ::chmod(dir.file("cd").c_str(), 0755);
    EXPECT_EQ(seeded, config.path() + "quillon/KOVRA32.INI");
    EXPECT_EQ(readFile(seeded), "[Windows]\nTop=9\n");
}
