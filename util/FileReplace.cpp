#include "util/FileReplace.h"

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "util/Exception.h"
#include "util/Utilities.h"

namespace {

constexpr size_t RandomPartLength = 6; // mkstemp's XXXXXX
constexpr time_t StaleAfterSeconds = 60;

std::string FolderOf(const std::string& path)
{
    std::string dir = ExtractDir(path);
    return dir.empty() ? std::string("./") : dir;
}

bool WriteAll(int fd, std::string_view text)
{
    for (size_t done = 0; done < text.size();) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno != EINTR)
            return false;
        if (n > 0)
            done += size_t(n);
    }
    return true;
}

} // namespace

int ReplaceFileContents(const std::string& path, std::string_view text, std::string_view prefix)
{
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    // A read-only file stays read-only: the user or publisher locked it.
    if (exists && ::access(path.c_str(), W_OK) != 0)
        return errno ? errno : EACCES;
    std::string temporary = FolderOf(path) + std::string(prefix) + "XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = 0;
    if (!WriteAll(fd, text))
        error = errno;
    ::fchmod(fd, exists ? (old.st_mode & 07777) : 0644);
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error)
        ::unlink(temporary.c_str());
    return error;
}

void WriteFileAtomically(const std::string& fileName, std::string_view content)
{
    if (ReplaceFileContents(fileName, content, ".quillon-save-") != 0)
        throw EWriteError("Unable to write to " + fileName);
}

int RemoveStaleTemporaries(const std::string& folder, std::string_view prefix)
{
    std::string dir = folder.empty() ? std::string("./") : EnsureBackslash(folder);
    DIR* listing = ::opendir(dir.c_str());
    if (!listing)
        return 0;
    const time_t now = ::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        std::string_view name = entry->d_name;
        if (name.size() != prefix.size() + RandomPartLength || name.substr(0, prefix.size()) != prefix)
            continue;
        struct stat info {};
        const std::string path = dir + std::string(name);
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::getuid() ||
            now - info.st_mtime < StaleAfterSeconds)
            continue;
        if (::unlink(path.c_str()) == 0)
            ++removed;
    }
    ::closedir(listing);
    return removed;
}
