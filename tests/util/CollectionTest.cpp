#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestSupport.h"
#include "util/ProgramFolder.h"
#include "util/TCollection.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> folderPaths(const TCollection& collection)
{
    std::vector<std::string> paths;
    for (const auto& folder : collection.Folders())
        paths.push_back(folder.path);
    return paths;
}

} // namespace

TEST(Collection, MadeOfTheReadersOwnPlacesAsRealFolders)
{
    TempFolder tmp;
    std::string root = RealPath(tmp.path());
    for (const char* folder : {"program", "books/guide", "home", "answers"})
        fs::create_directories(root + folder);
    writeFile(root + "books/guide/index.htm", "x");
    fs::create_directory_symlink(root + "books", root + "shelf");

    ScopedEnv program("QUILLON_PROGRAM_DIR", (root + "program").c_str());
    TCollection collection
        = TCollection::Of({root + "program", "file://" + root + "shelf/guide/../guide/index.htm#top",
            "%exedir%../home/start.htm", root + "answers"});
    std::vector<std::string> expected{root + "program/", root + "home/", root + "books/guide/",
        root + "answers/"};
    EXPECT_EQ(folderPaths(collection), expected) << "links and \"..\" resolved, macros expanded";
    EXPECT_TRUE(collection.PublishedFolderHolds(root + "home/x.exe"))
        << "the home page is set up by the publisher";
    EXPECT_FALSE(collection.PublishedFolderHolds(root + "books/guide/x.exe")) << "the start document is not";

    // A relative home page is read from the program folder; missing places drop out.
    TCollection relative = TCollection::Of({root + "program", "", "../home/start.htm", root + "missing"});
    EXPECT_EQ(folderPaths(relative), (std::vector<std::string>{root + "program/", root + "home/"}));
}

TEST(Collection, HoldsOnlyWhatLiesInsideItsFolders)
{
    TempFolder tmp;
    std::string root = RealPath(tmp.path());
    fs::create_directories(root + "books/inner");
    fs::create_directories(root + "books-extra");
    TCollection collection;
    collection.AddFolder(root + "books", false);
    collection.AddFolder(root + "books/inner/", true);
    collection.AddFolder(root + "books/../books", false); // the same folder once

    ASSERT_EQ(collection.Folders().size(), 2u);
    EXPECT_EQ(collection.FolderHolding(root + "books/inner/run.exe"), root + "books/inner/")
        << "the innermost";
    EXPECT_EQ(collection.FolderHolding(root + "books/run.exe"), root + "books/");
    EXPECT_FALSE(collection.Holds(root + "books-extra/run.exe")) << "a name that only starts like the folder";
    EXPECT_FALSE(collection.Holds(root + "run.exe"));
    EXPECT_TRUE(PathWithin(root + "books/", root + "books/"));
    EXPECT_FALSE(PathWithin(root + "books/x", root + "books")) << "folders end in \"/\"";
}

TEST(Collection, NeverTheRootOrTheSystemsProgramFolders)
{
    TempFolder tmp;
    std::string root = RealPath(tmp.path());
    fs::create_directories(root + "bin");
    fs::create_directories(root + "books");
    writeFile(root + "bin/tool", "#!/bin/sh\n");
    ScopedEnv path("PATH", (root + "bin::books:/usr/bin").c_str());
    fs::path previous = fs::current_path();
    fs::current_path(root); // where the relative entry "books" would point

    TCollection collection;
    collection.AddFolder("/", false);
    collection.AddFolder(root + "bin", true);
    collection.AddFolder("/usr/bin/", true);
    collection.AddFolder(root + "books", false);
    EXPECT_EQ(folderPaths(collection), std::vector<std::string>{root + "books/"});

    EXPECT_TRUE(InSystemProgramFolder(root + "bin/tool"));
    EXPECT_TRUE(InSystemProgramFolder(RealPath("/usr/bin/env")));
    EXPECT_FALSE(InSystemProgramFolder(root + "books/tool")) << "empty and relative PATH entries name no folder";

    EXPECT_EQ(RealPath(root + "bin/../bin/tool"), root + "bin/tool");
    EXPECT_EQ(RealPath(root + "bin/missing/../tool"), "") << "\"..\" does not hide a missing folder";
    EXPECT_EQ(RealPath(""), "");
    fs::current_path(previous);
}

TEST(RunFolders, StaleOnesOfEndedReadersAreCleared)
{
    TempFolder tmp;
    ::chmod(tmp.path().c_str(), 0700);
    ScopedEnv runtime("XDG_RUNTIME_DIR", tmp.path().c_str());
    std::string parent = PrivateTempDir();
    ASSERT_EQ(parent, tmp.path() + "quillon/");

    // A process number that no longer runs.
    pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ::waitpid(ended, nullptr, 0);

    std::string mine = NewPrivateRunFolder();
    ASSERT_TRUE(mine.starts_with(parent + "run-" + std::to_string(::getpid()) + "-")) << mine;
    std::string killed = parent + "run-" + std::to_string(ended) + "-abcdef/";
    std::string running = parent + "run-1-abcdef/"; // init never ends
    std::string oldLegacy = parent + "run-Xy12ab/";
    std::string newLegacy = parent + "run-Zz34cd/";
    for (const std::string& folder : {killed, running, oldLegacy, newLegacy}) {
        fs::create_directory(folder);
        writeFile(folder + "params.cgi", "secret=wickie\n");
    }
    struct timeval old[2]
        = {{::time(nullptr) - 3 * 24 * 3600, 0}, {::time(nullptr) - 3 * 24 * 3600, 0}};
    ::utimes(oldLegacy.c_str(), old);
    // A link in our folder is never followed into someone's files.
    TempFolder elsewhere;
    writeFile(elsewhere.file("keep"), "keep");
    fs::create_directory_symlink(elsewhere.path(), parent + "run-" + std::to_string(ended) + "-link00");

    EXPECT_EQ(ClearStaleRunFolders(), 2);
    EXPECT_FALSE(fs::exists(killed)) << "the form values of a killed reader";
    EXPECT_FALSE(fs::exists(oldLegacy));
    EXPECT_TRUE(fs::exists(mine)) << "ours, still in use";
    EXPECT_TRUE(fs::exists(running)) << "another reader still running";
    EXPECT_TRUE(fs::exists(newLegacy));
    EXPECT_EQ(readFile(elsewhere.file("keep")), "keep");
}
