#include "util/TCollection.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>

#include "util/ProgramFolder.h"
#include "util/Utilities.h"

namespace {

bool isFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The folders of PATH as real paths (missing ones left out).
std::vector<std::string> systemProgramFolders()
{
    std::vector<std::string> folders;
    const char* path = std::getenv("PATH");
    std::string_view dirs = path ? path : "/usr/bin:/bin";
    while (!dirs.empty()) {
        size_t colon = dirs.find(':');
        std::string_view dir = dirs.substr(0, colon);
        dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
        // An empty or relative entry names a folder relative to the current
        // one, which follows the documents read: no system folder.
        if (std::string real = dir.starts_with('/') ? RealPath(dir) : std::string(); !real.empty())
            folders.push_back(std::move(real));
    }
    return folders;
}

bool isSystemProgramFolder(std::string_view realFolder)
{
    for (const std::string& folder : systemProgramFolders())
        if (folder == realFolder)
            return true;
    return false;
}

// A location as the settings or the command line give it, as a local path.
std::string localPath(std::string text)
{
    ExpandExeMacros(text);
    if (text.size() >= 7 && SameTextNoCase(std::string_view(text).substr(0, 7), "file://"))
        text.erase(0, 7);
    text = ToNativeSeparators(text.substr(0, text.find('#')));
    return text;
}

// The read-only medium holding a folder, when it is one of its own.
std::string mediumOf(const std::string& realFolder)
{
    if (realFolder.empty() || !OnReadOnlyFileSystem(realFolder))
        return {};
    return MountPointOf(realFolder);
}

} // namespace

std::string RealPath(std::string_view path)
{
    if (path.empty())
        return {};
    char buffer[PATH_MAX];
    if (::realpath(std::string(path).c_str(), buffer) == nullptr)
        return {};
    std::string real(buffer);
    return isFolder(real) ? EnsureBackslash(real) : real;
}

bool PathWithin(std::string_view realPath, std::string_view folder)
{
    return !folder.empty() && folder.back() == '/' && realPath.starts_with(folder);
}

bool InSystemProgramFolder(std::string_view realPath)
{
    for (const std::string& folder : systemProgramFolders())
        if (PathWithin(realPath, folder))
            return true;
    return false;
}

void TCollection::AddFolder(std::string_view folder, bool published)
{
    std::string real = RealPath(folder);
    if (real.empty() || real == "/" || real.back() != '/' || isSystemProgramFolder(real))
        return;
    for (TFolder& known : FFolders)
        if (known.path == real) {
            known.published = known.published || published;
            return;
        }
    FFolders.push_back({real, published});
}

TCollection TCollection::Of(const TCollectionPlaces& places)
{
    TCollection collection;
    auto add = [&collection](const std::string& folder, bool published) {
        if (folder.empty())
            return;
        collection.AddFolder(folder, published);
        collection.AddFolder(mediumOf(RealPath(folder)), published);
    };
    add(places.programFolder, true);
    if (std::string home = localPath(places.homePage); !home.empty()) {
        // A relative home page is read from the program folder.
        if (home[0] != '/')
            home = EnsureBackslash(places.programFolder) + home;
        add(ExtractDir(home), true);
    }
    if (std::string start = localPath(places.startDocument); !start.empty() && start[0] == '/')
        add(ExtractDir(start), false);
    if (!places.serverRoot.empty())
        collection.AddFolder(places.serverRoot, false);
    return collection;
}

std::string TCollection::FolderHolding(std::string_view realPath) const
{
    std::string best;
    for (const TFolder& folder : FFolders)
        if (PathWithin(realPath, folder.path) && folder.path.size() > best.size())
            best = folder.path;
    return best;
}

bool TCollection::PublishedFolderHolds(std::string_view realPath) const
{
    for (const TFolder& folder : FFolders)
        if (folder.published && PathWithin(realPath, folder.path))
            return true;
    return false;
}
