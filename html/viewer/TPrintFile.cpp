#include "html/viewer/TPrintFile.h"

#include <QPaintEngine>
#include <QPrinter>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "html/viewer/ViewerErrors.h"
#include "util/Utilities.h"

namespace {

// How much of a finished PDF's end is read to find its end-of-file mark.
constexpr off_t TailLength = 1024;

std::string KindOf(const struct stat& info)
{
    if (S_ISDIR(info.st_mode))
        return "a folder";
    if (S_ISFIFO(info.st_mode))
        return "a pipe (FIFO)";
    if (S_ISSOCK(info.st_mode))
        return "a socket";
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return "a device";
    return "not a plain file";
}

std::string FolderOf(const std::string& path)
{
    std::string folder = ExtractDir(path);
    return folder.empty() ? std::string("./") : folder;
}

std::string FolderProblem(const std::string& folder, int error)
{
    if (error == ENOENT || error == ENOTDIR)
        return "the folder " + folder + " does not exist";
    if (error == EACCES || error == EPERM || error == EROFS)
        return "the folder " + folder + " cannot be written (" + std::strerror(error) + ")";
    return "no file can be made in " + folder + " (" + std::strerror(error) + ")";
}

// The real file a name stands for: a link is followed, so that printing onto
// a link replaces the file it points to and the link stays a link.
std::string RealPath(const std::string& name)
{
    char buffer[PATH_MAX];
    return ::realpath(name.c_str(), buffer) ? std::string(buffer) : name;
}

bool DiskFull(const std::string& folder)
{
    struct statvfs disk {};
    return ::statvfs(folder.c_str(), &disk) == 0 && disk.f_bavail == 0;
}

// Why the printed file at path is not a whole PDF; empty when it is. A PDF
// that was cut short (the disk filled, a size limit) misses its last lines.
std::string IncompleteBecause(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::string("it cannot be read back (") + std::strerror(errno) + ")";
    std::string problem;
    struct stat info {};
    if (::fsync(fd) != 0)
        problem = std::string("it could not be saved to the disk (") + std::strerror(errno) + ")";
    else if (::fstat(fd, &info) != 0 || info.st_size == 0)
        problem = "nothing was written";
    else {
        off_t from = std::max<off_t>(0, info.st_size - TailLength);
        std::string tail(size_t(info.st_size - from), '\0');
        ssize_t n = ::pread(fd, tail.data(), tail.size(), from);
        if (n < 0 || std::string_view(tail.data(), size_t(n)).find("%%EOF") == std::string_view::npos)
            problem = "the file was cut short";
    }
    ::close(fd);
    return problem;
}

} // namespace

TPrintFile::TPrintFile(QPrinter& printer) : FPrinter(printer), FPrinterTarget(printer.outputFileName())
{
    if (FPrinterTarget.isEmpty())
        return;
    // A preview draws into pictures, whatever file name the printer keeps.
    if (QPaintEngine* engine = printer.paintEngine(); engine && engine->type() != QPaintEngine::Pdf)
        return;
    const std::string name = FPrinterTarget.toStdString();
    FTarget = name;
    struct stat info {};
    if (::stat(name.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            throw EPrinter("Cannot print to " + name + ": it is " + KindOf(info) + ", not a file");
        FTarget = RealPath(name);
        if (::access(FTarget.c_str(), W_OK) != 0)
            throw EPrinter("Cannot print to " + name + ": the file is read-only");
        FTargetExisted = true;
        FTargetMode = info.st_mode & 07777;
    }
    const std::string folder = FolderOf(FTarget);
    std::string temporary = folder + ".quillon-print-XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        throw EPrinter("Cannot print to " + name + ": " + FolderProblem(folder, errno));
    ::close(fd);
    FTemporary = temporary;
    FPrinter.setOutputFileName(QString::fromStdString(FTemporary));
}

TPrintFile::~TPrintFile()
{
    Discard();
    if (FPrinter.outputFileName() != FPrinterTarget)
        FPrinter.setOutputFileName(FPrinterTarget);
}

void TPrintFile::Discard()
{
    if (!FTemporary.empty())
        ::unlink(FTemporary.c_str());
    FTemporary.clear();
}

void TPrintFile::Fail(const std::string& what)
{
    Discard();
    throw EPrinter("Printing to " + FPrinterTarget.toStdString() + " failed: " + what + "; " +
                   (FTargetExisted ? "the file there was left as it was" : "no file was written"));
}

void TPrintFile::Commit()
{
    if (!Active())
        return;
    std::string problem = IncompleteBecause(FTemporary);
    if (!problem.empty())
        Fail(DiskFull(FolderOf(FTarget)) ? "the disk is full" : problem);
    ::chmod(FTemporary.c_str(), FTargetExisted ? FTargetMode : 0644);
    if (::rename(FTemporary.c_str(), FTarget.c_str()) != 0)
        Fail(std::string("the printed file could not take its place (") + std::strerror(errno) + ")");
    FTemporary.clear();
}
