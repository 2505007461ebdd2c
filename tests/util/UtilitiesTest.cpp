#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "util/Exception.h"
#include "util/FileLookup.h"
#include "util/ProgramFolder.h"
#include "util/Utilities.h"

namespace {

// Sets an environment variable for the test's lifetime, restoring it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old_.empty() ? ::unsetenv(name_.c_str()) : ::setenv(name_.c_str(), old_.c_str(), 1); }

private:
    std::string name_;
    std::string old_;
};

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
    std::string output;
    ASSERT_TRUE(RunLocalProgram(script, params, output));
    EXPECT_EQ(readFile(output), "count=1\nname=value\n");
    struct stat info {};
    ASSERT_EQ(::stat(ExtractDir(output).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << "output lives in a private folder";
}

TEST(Processes, RunLocalProgramThatWritesNothingGivesEmptyOutput)
{
    TempFolder dir;
    std::string script = dir.file("quiet.sh");
    writeFile(script, "#!/bin/sh\nexit 3\n");
    ::chmod(script.c_str(), 0755);
    std::string output;
    ASSERT_TRUE(RunLocalProgram(script, dir.file("p.cgi"), output));
    EXPECT_EQ(readFile(output), "");
}

TEST(Processes, RunLocalProgramRunsNeverShareAnOutputFile)
{
    // Runs at once (two windows, or parallel test processes) each read their
    // own program's output, never another run's file.
    TempFolder dir;
    std::string loud = dir.file("loud.sh");
    std::string quiet = dir.file("quiet.sh");
    writeFile(loud, "#!/bin/sh\necho loud\n");
    writeFile(quiet, "#!/bin/sh\nexit 0\n");
    ::chmod(loud.c_str(), 0755);
    ::chmod(quiet.c_str(), 0755);
    std::string first, second;
    ASSERT_TRUE(RunLocalProgram(loud, dir.file("p.cgi"), first));
    ASSERT_TRUE(RunLocalProgram(quiet, dir.file("p.cgi"), second));
    EXPECT_NE(ExtractDir(first), ExtractDir(second));
    EXPECT_EQ(readFile(first), "loud\n");
    EXPECT_EQ(readFile(second), "");
}

TEST(Processes, RunLocalProgramThatCannotStart)
{
    std::string output = "unchanged";
    EXPECT_FALSE(RunLocalProgram("/no/such/program", "/tmp/p.cgi", output));
    EXPECT_EQ(output, "unchanged");
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
    if (::geteuid() == 0)
        GTEST_SKIP() << "root can write a read-only folder";
    ::chmod(dir.file("cd").c_str(), 0555);
    std::string seeded = WritableFile("KOVRA32.INI");
    ::chmod(dir.file("cd").c_str(), 0755);
    EXPECT_EQ(seeded, config.path() + "quillon/KOVRA32.INI");
    EXPECT_EQ(readFile(seeded), "[Windows]\nTop=9\n");
}
