#include "util/TSessionFolder.h"

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "util/ProgramFolder.h"
#include "util/Utilities.h"

namespace {

constexpr size_t RandomPartLength = 6; // mkdtemp's XXXXXX
constexpr time_t UnlockedGraceSeconds = 60;
constexpr const char* LockName = ".lock";

// A folder of ours whose run has ended: its lock file can be locked, or it has
// none. A young folder may be one whose run has not taken its lock yet.
bool isStale(const std::string& folder, const struct stat& info, time_t now)
{
    if (now - info.st_mtime < UnlockedGraceSeconds)
        return false;
    int fd = ::open((folder + LockName).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    const bool unheld = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return unheld;
}

} // namespace

TSessionFolder::TSessionFolder()
{
    const std::string privateFolder = PrivateTempDir();
    FParent = privateFolder.empty() ? TempDir() : privateFolder;
    FPrefix = privateFolder.empty() ? "quillon-session-" + std::to_string(::getuid()) + "-" : "session-";
    RemoveStale(FParent, FPrefix);
}

TSessionFolder::~TSessionFolder()
{
    if (FPath.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
    if (FLockFd >= 0)
        ::close(FLockFd);
}

const std::string& TSessionFolder::Path()
{
    if (!FPath.empty())
        return FPath;
    // mkdtemp makes the folder with mode 0700 under a name nobody could
    // have taken before us, also in a shared temporary folder.
    std::string pattern = FParent + FPrefix + "XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        return FPath;
    std::string folder = pattern + "/";
    FLockFd = ::open((folder + LockName).c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (FLockFd < 0 || ::flock(FLockFd, LOCK_EX) != 0) {
        if (FLockFd >= 0)
            ::close(FLockFd);
        FLockFd = -1;
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        return FPath;
    }
    FPath = folder;
    return FPath;
}

int TSessionFolder::RemoveStale(const std::string& parent, const std::string& prefix)
{
    DIR* listing = ::opendir(parent.c_str());
    if (!listing)
        return 0;
    const time_t now = ::time(nullptr);
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(listing)) {
        std::string_view name = entry->d_name;
        if (name.size() != prefix.size() + RandomPartLength || !name.starts_with(prefix))
            continue;
        const std::string folder = parent + std::string(name);
        struct stat info {};
        if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
            continue;
        if (isStale(folder + "/", info, now))
            stale.push_back(folder);
    }
    ::closedir(listing);
    int removed = 0;
    for (const std::string& folder : stale) {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
        removed += error ? 0 : 1;
    }
    return removed;
}
