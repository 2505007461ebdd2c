#include "util/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "util/Exception.h"
#include "util/Utilities.h"

namespace {

bool writeAll(int fd, std::string_view text)
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

void WriteFileAtomically(const std::string& fileName, std::string_view content)
{
    std::string dir = ExtractDir(fileName);
    std::string pattern = (dir.empty() ? std::string("./") : dir) + ".quillon-save-XXXXXX";
    int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw EWriteError("Unable to write to " + fileName);
    bool ok = writeAll(fd, content);
    struct stat old { };
    ::fchmod(fd, ::stat(fileName.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    // A read-only file stays read-only: the user or publisher locked it.
    ok = ok && (::stat(fileName.c_str(), &old) != 0 || ::access(fileName.c_str(), W_OK) == 0);
    if (!ok || ::rename(pattern.c_str(), fileName.c_str()) != 0) {
        ::unlink(pattern.c_str());
        throw EWriteError("Unable to write to " + fileName);
    }
}
