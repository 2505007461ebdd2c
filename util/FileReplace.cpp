#include "util/FileReplace.h"

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "util/Exception.h"
#include "util/TFileReplacement.h"
#include "util/Utilities.h"

namespace {

constexpr size_t RandomPartLength = 6; // as mkstemp's XXXXXX
constexpr time_t StaleAfterSeconds = 60;
constexpr int MaxLinkHops = 40; // as the kernel's own limit

// Whether a link may be followed: one of ours, or one in a folder that only
// its owner may change (so whoever made the link could write there anyway).
bool trustedLink(const std::string& link, const struct stat& linkInfo)
{
    if (linkInfo.st_uid == ::getuid())
        return true;
    std::string folder = ExtractDir(link);
    struct stat folderInfo {};
    return ::stat(folder.empty() ? "." : folder.c_str(), &folderInfo) == 0 && (folderInfo.st_mode & 022) == 0;
}

} // namespace

std::string ResolveLinkedFile(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode) || !trustedLink(current, info))
            return current;
        std::string target(size_t(info.st_size > 0 ? info.st_size : 4095) + 1, '\0');
        ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0 || size_t(n) >= target.size())
            return current;
        target.resize(size_t(n));
        current = target.front() == '/' ? target : ExtractDir(current) + target;
    }
    return path; // a loop of links: replacing the first one is all we can do
}

int ReplaceFileContents(const std::string& path, std::string_view text, std::string_view prefix, mode_t newFileMode)
{
    const std::string target = ResolveLinkedFile(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    // A read-only file stays read-only: the user or publisher locked it.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return errno ? errno : EACCES;
    TFileReplacement replacement(target, prefix);
    replacement.Write(text);
    return replacement.Commit(exists ? (old.st_mode & 07777) : newFileMode);
}

void WriteFileAtomically(const std::string& fileName, std::string_view content)
{
    if (ReplaceFileContents(fileName, content, SaveTemporaryPrefix) != 0)
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
