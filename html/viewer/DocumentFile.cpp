#include "html/viewer/DocumentFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "html/viewer/ViewerErrors.h"

namespace {

// A read from a slow share or a CD-ROM comes back to the caller this often.
constexpr size_t PieceBytes = size_t(4) << 20;

struct TFd {
    int fd;
    ~TFd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

std::string Megabytes(std::int64_t bytes)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1f MB", double(bytes) / double(1 << 20));
    return text;
}

} // namespace

std::string DocumentTooLargeMessage(const std::string& name, std::int64_t bytes)
{
    return name + " is too large to show: " + Megabytes(bytes) + " (the reader shows documents of up to " +
           std::to_string(MaxDocumentBytes >> 20) + " MB)";
}

std::string ReadDocumentFile(const std::string& path, const std::string& shownName,
                             const std::function<void(std::int64_t, std::int64_t)>& betweenPieces)
{
    TFd file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    struct stat info {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode))
        throw EInOutError("Can't locate file: " + shownName);
    if (info.st_size > MaxDocumentBytes)
        throw EInOutError(DocumentTooLargeMessage(shownName, info.st_size));
    std::string text(size_t(info.st_size), '\0');
    size_t done = 0;
    // A file that grew since it was measured is read up to the limit, no further.
    for (;;) {
        if (done == text.size()) {
            if (std::int64_t(text.size()) >= MaxDocumentBytes) {
                char probe;
                if (::read(file.fd, &probe, 1) > 0)
                    throw EInOutError(DocumentTooLargeMessage(shownName, MaxDocumentBytes + 1));
                break;
            }
            text.resize(std::min<size_t>(text.size() + 65536, size_t(MaxDocumentBytes)));
        }
        size_t want = std::min(PieceBytes, text.size() - done);
        ssize_t n = ::read(file.fd, text.data() + done, want);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EInOutError("Can't locate file: " + shownName);
        if (n == 0)
            break;
        done += size_t(n);
        if (betweenPieces && size_t(n) == PieceBytes)
            betweenPieces(std::int64_t(done), std::int64_t(info.st_size));
    }
    text.resize(done);
    return text;
}
