#include "util/ProgramFolder.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "util/Utilities.h"

namespace fs = std::filesystem;

namespace {

std::string executableDir()
{
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return "./";
    return ExtractDir(std::string(buffer, size_t(n)));
}

bool isWritableDir(const std::string& dir)
{
    return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

// Unescapes the octal escapes (\040 for a space) of /proc/self/mounts fields.
std::string unescapeMountField(const std::string& field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        bool escape = field[i] == '\\' && i + 3 < field.size();
        if (escape) {
            int value = 0;
            for (size_t k = 1; k <= 3; ++k) {
                char c = field[i + k];
                escape = escape && c >= '0' && c <= '7';
                value = value * 8 + (c - '0');
            }
            if (escape) {
                out += char(value);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

} // namespace

std::string ProgramDir()
{
    const char* overridden = std::getenv("QUILLON_PROGRAM_DIR");
    if (overridden && *overridden)
        return EnsureBackslash(overridden);
    return executableDir();
}

std::string MountPointOf(std::string_view path)
{
    // The longest mount point that is a prefix of the path.
    std::string dir = EnsureBackslash(path);
    std::ifstream mounts("/proc/self/mounts");
    std::string device, mountPoint, rest, best;
    while (mounts >> device >> mountPoint) {
        std::getline(mounts, rest);
        std::string point = unescapeMountField(mountPoint);
        std::string withSlash = EnsureBackslash(point);
        if (dir.compare(0, withSlash.size(), withSlash) == 0 && withSlash.size() > best.size() + 1)
            best = point;
    }
    if (best == "/")
        best.clear();
    return best;
}

bool OnReadOnlyFileSystem(std::string_view path)
{
    struct statvfs info {};
    return ::statvfs(std::string(path).c_str(), &info) == 0 && (info.f_flag & ST_RDONLY) != 0;
}

std::string ProgramDrive() { return MountPointOf(ProgramDir()); }

std::string WritableDir()
{
    std::string dir = ProgramDir();
    if (isWritableDir(dir))
        return dir;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config && *config)
        base = config;
    else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : "/tmp") + "/.config";
    }
    std::string fallback = EnsureBackslash(base) + "quillon/";
    std::error_code ec;
    fs::create_directories(fallback, ec);
    return fallback;
}

std::string WritableFile(const std::string& name)
{
    std::string dir = WritableDir();
    std::string path = dir + name;
    std::string original = ProgramDir() + name;
    std::error_code ec;
    if (path != original && !fs::exists(path, ec) && fs::exists(original, ec))
        fs::copy_file(original, path, ec);
    return path;
}

namespace {

// A folder we made for ourselves: a real directory (not a link), ours, and
// closed to everyone else. Answers false for anything else.
bool ownPrivateFolder(std::string dir)
{
    // Without its trailing "/", so that lstat sees a link instead of its target.
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    struct stat info {};
    if (::lstat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        return false;
    return (info.st_mode & 077) == 0 || ::chmod(dir.c_str(), 0700) == 0;
}

std::string privateFolderIn(const std::string& parent, const std::string& name)
{
    std::string dir = parent + name + "/";
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    return ownPrivateFolder(dir) ? dir : std::string();
}

} // namespace

std::string PrivateTempDir()
{
    // The session's runtime folder is the user's own by construction; a
    // shared temporary folder is used only when the folder there is ours.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime && ownPrivateFolder(EnsureBackslash(runtime))) {
        std::string dir = privateFolderIn(EnsureBackslash(runtime), "quillon");
        if (!dir.empty())
            return dir;
    }
    return privateFolderIn(TempDir(), "quillon-" + std::to_string(::getuid()));
}

namespace {

constexpr std::string_view RunFolderPrefix = "run-";

// The process a run folder's name says made it ("run-<pid>-XXXXXX"); 0 when
// the name does not say (folders of earlier versions).
pid_t runFolderOwner(std::string_view name)
{
    name.remove_prefix(RunFolderPrefix.size());
    size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos)
        return 0;
    pid_t pid = 0;
    for (char c : name.substr(0, dash)) {
        if (c < '0' || c > '9' || pid > 99999999)
            return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

bool processGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

} // namespace

std::string NewPrivateRunFolder()
{
    // A fresh, unpredictable name each time: two runs at once (two windows, or
    // two test processes) never share a file, and nobody can plant one ahead.
    // When someone else holds our usual folder, mkdtemp still makes one that
    // only we can enter, directly in the temporary folder. The name carries
    // our process number, so a later start can tell what a killed run left.
    std::string parent = PrivateTempDir();
    std::string name = std::string(RunFolderPrefix) + std::to_string(::getpid()) + "-XXXXXX";
    std::string pattern = parent.empty() ? TempDir() + "quillon-" + name : parent + name;
    if (::mkdtemp(pattern.data()) == nullptr)
        return {};
    return pattern + "/";
}

int ClearStaleRunFolders(int legacyAgeSeconds)
{
    std::string parent = PrivateTempDir();
    if (parent.empty())
        return 0;
    int removed = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(parent, ec)) {
        std::string name = entry.path().filename().string();
        if (!name.starts_with(RunFolderPrefix))
            continue;
        struct stat info {};
        // Only real folders of ours: the parent is closed to others, but a
        // link is never followed all the same.
        if (::lstat(entry.path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
            continue;
        pid_t owner = runFolderOwner(name);
        bool stale = owner > 0 ? owner != ::getpid() && processGone(owner)
                               : ::time(nullptr) - info.st_mtime > legacyAgeSeconds;
        std::error_code removeError;
        if (stale && (fs::remove_all(entry.path(), removeError), !removeError))
            ++removed;
    }
    return removed;
}
