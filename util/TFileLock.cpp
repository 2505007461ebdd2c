#include "util/TFileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

TFileLock::TFileLock(const std::string& fileName)
{
    const std::string lockName = LockFileName(fileName);
    // Never through a link someone left at the name: the lock file is only
    // ever opened, never written.
    FFd = ::open(lockName.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (FFd < 0)
        FFd = ::open(lockName.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (FFd < 0)
        return;
    while (::flock(FFd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(FFd);
            FFd = -1;
            return;
        }
    }
}

TFileLock::~TFileLock()
{
    if (FFd >= 0)
        ::close(FFd); // closing releases the lock
}

std::string TFileLock::LockFileName(const std::string& fileName)
{
    return fileName + ".lock";
}
