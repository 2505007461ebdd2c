// Files the program shares with other windows, other copies and editors, and
// the temporaries it makes while writing them: nothing lost, nothing left.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utime.h>
#include <vector>

#include "TestSupport.h"
#include "util/Exception.h"
#include "util/FileReplace.h"
#include "util/TIniFile.h"
#include "util/TSessionFolder.h"
#include "util/Utilities.h"

namespace {

std::vector<std::string> folderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs work in a child process that a file size limit kills (SIGXFSZ) as
// soon as it writes past limit bytes: a save killed half way. Answers
// whether the child died of that signal.
template <typename Work>
bool killedWhileWriting(rlim_t limit, Work work)
{
    pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        struct rlimit tight { limit, limit };
        ::setrlimit(RLIMIT_FSIZE, &tight);
        try {
            work();
        } catch (...) {
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ;
}

void makeOld(const std::string& path)
{
    struct utimbuf old { ::time(nullptr) - 3600, ::time(nullptr) - 3600 };
    ::utime(path.c_str(), &old);
}

} // namespace

TEST(SharedSettings, TwoWindowsWritingAtOnceLoseNoKey)
{
    TempFolder dir;
    const std::string name = dir.file("KOVRA32.INI");
    constexpr int KeysEach = 150;
    auto writer = [&](const std::string& section) {
        TIniFile ini(name);
        for (int i = 0; i < KeysEach; ++i)
            ini.WriteInteger(section, "Key" + std::to_string(i), i);
    };
    std::thread first(writer, "First");
    std::thread second(writer, "Second");
    first.join();
    second.join();
    TIniFile ini(name);
    EXPECT_EQ(ini.ReadSection("First").size(), size_t(KeysEach));
    EXPECT_EQ(ini.ReadSection("Second").size(), size_t(KeysEach));
    EXPECT_EQ(ini.ReadInteger("Second", "Key" + std::to_string(KeysEach - 1), -1), KeysEach - 1);
}

TEST(SharedSettings, AReaderSeesWhatAnotherWriterSavedAndABatchSavesOnce)
{
    TempFolder dir;
    const std::string name = dir.file("KOVRA32.INI");
    writeFile(name, "[Windows]\nTop=1\n");
    TIniFile reader(name);
    EXPECT_EQ(reader.ReadInteger("Windows", "Top", 0), 1);
    TIniFile(name).WriteInteger("Windows", "Top", 2);
    EXPECT_EQ(reader.ReadInteger("Windows", "Top", 0), 2);
    writeFile(name, "[Windows]\nTop=3\nLeft=4\n"); // an editor
    EXPECT_EQ(reader.ReadInteger("Windows", "Left", 0), 4);

    // A batch starts from the file as it is then and writes it once.
    TIniFile writer(name);
    writer.Batch([&] {
        writer.WriteInteger("Windows", "Width", 622);
        writeFile(name, "clobbered while the batch runs\n");
        writer.WriteInteger("Windows", "Height", 458);
    });
    EXPECT_EQ(readFile(name), "[Windows]\nTop=3\nLeft=4\nWidth=622\nHeight=458\n");
    // A batch whose write fails saves nothing of it.
    EXPECT_THROW(writer.Batch([&] {
        writer.WriteInteger("Windows", "Top", 9);
        writer.WriteString("Windows", "bad=key", "x");
    }),
        EWriteError);
    EXPECT_EQ(writer.ReadInteger("Windows", "Top", 0), 3);
}

TEST(SharedSettings, SettingsReachedThroughALinkAreWrittenWhereItPoints)
{
    TempFolder dir;
    std::filesystem::create_directories(dir.file("real"));
    writeFile(dir.file("real/KOVRA32.INI"), "[Windows]\nTop=1\n");
    std::filesystem::create_symlink("real/KOVRA32.INI", dir.file("KOVRA32.INI"));
    TIniFile ini(dir.file("KOVRA32.INI"));
    ini.WriteInteger("Windows", "Left", 2);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("KOVRA32.INI")));
    EXPECT_EQ(readFile(dir.file("real/KOVRA32.INI")), "[Windows]\nTop=1\nLeft=2\n");

    // A link to a file not made yet: the file is made where the link points.
    std::filesystem::create_symlink(dir.file("real/BOOKMARK.TXT"), dir.file("BOOKMARK.TXT"));
    WriteFileAtomically(dir.file("BOOKMARK.TXT"), "/a.htm A\n");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("BOOKMARK.TXT")));
    EXPECT_EQ(readFile(dir.file("real/BOOKMARK.TXT")), "/a.htm A\n");
    EXPECT_EQ(ResolveLinkedFile(dir.file("BOOKMARK.TXT")), dir.file("real/BOOKMARK.TXT"));
    EXPECT_EQ(ResolveLinkedFile(dir.file("plain.txt")), dir.file("plain.txt"));
}

TEST(SharedSettings, AKilledSaveLeavesTheFileWholeAndNoTemporary)
{
    TempFolder dir;
    const std::string old = "[Windows]\nTop=1\n";
    writeFile(dir.file("KOVRA32.INI"), old);
    writeFile(dir.file("source.htm"), std::string(200000, 'x'));
    EXPECT_TRUE(killedWhileWriting(100000, [&] {
        TIniFile(dir.file("KOVRA32.INI")).WriteString("Big", "Value", std::string(200000, 'v'));
    }));
    EXPECT_TRUE(killedWhileWriting(100000, [&] { WriteFileAtomically(dir.file("saved.htm"), std::string(200000, 's')); }));
    EXPECT_TRUE(killedWhileWriting(100000, [&] { CopyFileKeepDate(dir.file("source.htm"), dir.file("copy.htm")); }));
    EXPECT_EQ(readFile(dir.file("KOVRA32.INI")), old);
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string> { "KOVRA32.INI", "KOVRA32.INI.lock", "source.htm" }));
}

TEST(SessionFolder, PrivateMadeOnDemandAndRemovedWithItsRun)
{
    TempFolder runtime;
    ::chmod(runtime.path().c_str(), 0700);
    ScopedEnv xdg("XDG_RUNTIME_DIR", runtime.path().c_str());
    std::string path;
    {
        TSessionFolder session;
        EXPECT_FALSE(std::filesystem::exists(runtime.path() + "quillon/") && !std::filesystem::is_empty(runtime.path() + "quillon/"))
            << "nothing is made before it is needed";
        path = session.Path();
        ASSERT_FALSE(path.empty());
        EXPECT_EQ(path.rfind(runtime.path() + "quillon/session-", 0), 0u) << path;
        EXPECT_EQ(session.Path(), path) << "one folder for the run";
        struct stat info {};
        ASSERT_EQ(::lstat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        writeFile(path + "TMPFILE.TXT", "text");
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(SessionFolder, FoldersOfEndedRunsAreClearedAtStartAndLiveOnesKept)
{
    TempFolder runtime;
    ::chmod(runtime.path().c_str(), 0700);
    ScopedEnv xdg("XDG_RUNTIME_DIR", runtime.path().c_str());
    TSessionFolder live;
    const std::string liveFolder = live.Path();
    ASSERT_FALSE(liveFolder.empty());
    const std::string parent = runtime.path() + "quillon/";
    // A run killed long ago left its folder, lock file and all.
    std::filesystem::create_directories(parent + "session-Killed");
    writeFile(parent + "session-Killed/.lock", "");
    writeFile(parent + "session-Killed/TMPFILE.TXT", "old export");
    // One being made right now has no lock yet.
    std::filesystem::create_directories(parent + "session-Making");
    std::filesystem::create_directories(parent + "run-Abcdef"); // not ours to clear
    for (const std::string& folder : { parent + "session-Killed", liveFolder.substr(0, liveFolder.size() - 1), parent + "run-Abcdef" })
        makeOld(folder);
    TSessionFolder next;
    EXPECT_FALSE(std::filesystem::exists(parent + "session-Killed"));
    EXPECT_TRUE(std::filesystem::exists(liveFolder)) << "its run still holds it";
    EXPECT_TRUE(std::filesystem::exists(parent + "session-Making"));
    EXPECT_TRUE(std::filesystem::exists(parent + "run-Abcdef"));
}
