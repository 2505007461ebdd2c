#include "util/TFileReplacement.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "util/Utilities.h"

namespace {

constexpr int NameAttempts = 100;

std::string folderOf(const std::string& path)
{
    std::string dir = ExtractDir(path);
    return dir.empty() ? std::string("./") : dir;
}

std::string randomPart()
{
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::string part;
    for (int i = 0; i < 6; ++i)
        part += letters[device() % (sizeof letters - 1)];
    return part;
}

// Gives the open unnamed file a name; EEXIST when the name is taken.
int linkUnnamed(int fd, const std::string& name)
{
    if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0)
        return 0;
    if (errno == EEXIST)
        return EEXIST;
    // Linking by descriptor needs a privilege; through /proc it does not.
    const std::string procName = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, procName.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

} // namespace

TFileReplacement::TFileReplacement(std::string target, std::string_view prefix)
    : FTarget(std::move(target)), FFolder(folderOf(FTarget)), FPrefix(prefix)
{
    FFd = ::open(FFolder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (FFd >= 0)
        return;
    // Some file systems cannot hold unnamed files.
    FNamed = FFolder + FPrefix + "XXXXXX";
    FFd = ::mkostemp(FNamed.data(), O_CLOEXEC);
    if (FFd < 0) {
        FNamed.clear();
        FError = errno;
    }
}

TFileReplacement::~TFileReplacement()
{
    if (FFd >= 0)
        ::close(FFd);
    if (!FNamed.empty())
        ::unlink(FNamed.c_str());
}

void TFileReplacement::fail(int error)
{
    if (FError == 0)
        FError = error ? error : EIO;
}

bool TFileReplacement::Write(std::string_view bytes)
{
    while (FError == 0 && !bytes.empty()) {
        ssize_t n = ::write(FFd, bytes.data(), bytes.size());
        if (n < 0 && errno != EINTR)
            fail(errno);
        else if (n > 0)
            bytes.remove_prefix(size_t(n));
    }
    return FError == 0;
}

int TFileReplacement::Commit(mode_t mode, const struct timespec* times)
{
    if (FError != 0)
        return FError;
    if (::fchmod(FFd, mode) != 0)
        fail(errno);
    if (FError == 0 && times && ::futimens(FFd, times) != 0)
        fail(errno);
    if (FError == 0 && ::fsync(FFd) != 0)
        fail(errno);
    if (FError == 0) {
        if (const int error = publish())
            fail(error);
    }
    return FError;
}

int TFileReplacement::publish()
{
    if (!FNamed.empty()) {
        if (::rename(FNamed.c_str(), FTarget.c_str()) != 0)
            return errno;
        FNamed.clear();
        return 0;
    }
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        const std::string name = FFolder + FPrefix + randomPart();
        const int linked = linkUnnamed(FFd, name);
        if (linked == EEXIST)
            continue;
        if (linked != 0)
            return linked;
        if (::rename(name.c_str(), FTarget.c_str()) == 0)
            return 0;
        const int error = errno;
        ::unlink(name.c_str());
        return error;
    }
    return EEXIST;
}
