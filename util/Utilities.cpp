#include "util/Utilities.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "util/Exception.h"
#include "util/FileReplace.h"
#include "util/TFileReplacement.h"
#include "util/ProgramFolder.h"
#include "util/TLocalProgramRun.h"

extern char** environ;

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return lowerAscii(x) == lowerAscii(y);
    });
}

std::string errnoText() { return std::strerror(errno); }

// Closes a file descriptor when it goes out of scope.
struct FdGuard {
    int fd;
    ~FdGuard()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

bool SameTextNoCase(std::string_view a, std::string_view b)
{
    return equalNoCase(a, b);
}

std::string ToNativeSeparators(std::string_view path)
{
    std::string result(path);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

std::string ExtractDir(std::string_view path)
{
    std::string native = ToNativeSeparators(path);
    size_t slash = native.rfind('/');
    return slash == std::string::npos ? std::string() : native.substr(0, slash + 1);
}

std::string AddBackslash(std::string_view dir)
{
    if (dir.size() > 254 || (!dir.empty() && (dir.back() == '/' || dir.back() == '\\')))
        return std::string(dir);
    return std::string(dir) + '/';
}

std::string EnsureBackslash(std::string_view dir)
{
    if (!dir.empty() && (dir.back() == '/' || dir.back() == '\\'))
        return std::string(dir);
    return std::string(dir) + '/';
}

std::string TrimLeadingSpaces(std::string_view text)
{
    size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

size_t FindNoCase(std::string_view text, std::string_view pattern, size_t from)
{
    if (pattern.empty())
        return from <= text.size() ? from : std::string_view::npos;
    if (pattern.size() > text.size())
        return std::string_view::npos;
    for (size_t i = from; i + pattern.size() <= text.size(); ++i) {
        if (equalNoCase(text.substr(i, pattern.size()), pattern))
            return i;
    }
    return std::string_view::npos;
}

std::string ReplaceFirstText(std::string_view text, std::string_view pattern, std::string_view replacement)
{
    std::string result(text);
    size_t at = pattern.empty() ? std::string::npos : FindNoCase(result, pattern);
    if (at != std::string::npos)
        result.replace(at, pattern.size(), replacement);
    return result;
}

void ReplaceAllText(std::string& text, std::string_view pattern, std::string_view replacement)
{
    if (pattern.empty())
        return;
    size_t from = 0;
    for (size_t at; (at = FindNoCase(text, pattern, from)) != std::string::npos;) {
        text.replace(at, pattern.size(), replacement);
        from = at + replacement.size();
    }
}

void ExpandExeMacros(std::string& text)
{
    // The drive macro is only recognised in lower case, but then replaced in any case.
    if (text.find("%exedriver%") != std::string::npos) {
        text = ReplaceFirstText(text, "%exedriver%", ProgramDrive());
        return;
    }
    text = ReplaceFirstText(text, "%exedir%", ProgramDir());
}

std::string GetEnvValue(std::string_view name)
{
    for (char** entry = environ; entry && *entry; ++entry) {
        std::string_view line(*entry);
        if (line.size() > name.size() && line[name.size()] == '=' && equalNoCase(line.substr(0, name.size()), name))
            return std::string(line.substr(name.size() + 1));
    }
    if (equalNoCase(name, "TEMP"))
        return TempDir();
    return "/";
}

std::string TempDir()
{
    for (const char* variable : {"TMPDIR", "TEMP"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return EnsureBackslash(value);
    }
    return "/tmp/";
}

void ChangeDir(std::string_view dir)
{
    std::string path = ToNativeSeparators(dir);
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return;
    if (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (path.empty())
        return;
    if (::chdir(path.c_str()) != 0)
        throw EFileError("Cannot change to directory " + path + ": " + errnoText());
}

void CopyFileKeepDate(std::string_view source, std::string_view target)
{
    std::string from = ToNativeSeparators(source);
    std::string to = ToNativeSeparators(target);
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        throw EFileError("Cannot open file \"" + from + "\": " + errnoText());
    FdGuard inGuard{in};
    struct stat sourceInfo {};
    if (::fstat(in, &sourceInfo) != 0 || !S_ISREG(sourceInfo.st_mode))
        throw EFileError("Cannot open file \"" + from + "\": not a regular file");
    struct stat targetInfo {};
    // Copying a file onto itself would truncate it first: nothing to do.
    if (::stat(to.c_str(), &targetInfo) == 0 && targetInfo.st_dev == sourceInfo.st_dev
        && targetInfo.st_ino == sourceInfo.st_ino)
        return;

    // Written beside the target and renamed over it, so a failed or killed
    // copy never destroys an existing target nor leaves a half copy behind.
    TFileReplacement copy(ResolveLinkedFile(to), ".quillon-copy-");
    if (copy.Error() != 0)
        throw EFileError("Cannot create file \"" + to + "\": " + std::strerror(copy.Error()));
    char buffer[65536];
    for (ssize_t n; copy.Error() == 0 && (n = ::read(in, buffer, sizeof buffer)) != 0;) {
        if (n > 0)
            copy.Write(std::string_view(buffer, size_t(n)));
        else if (errno != EINTR)
            throw EFileError("Cannot read file \"" + from + "\": " + errnoText());
    }
    struct timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
    if (const int error = copy.Commit(sourceInfo.st_mode & 07777, times))
        throw EFileError("Cannot write file \"" + to + "\": " + std::strerror(error));
}

namespace {

bool isExecutableFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

} // namespace

std::string LocateProgram(std::string_view name)
{
    std::string program = ToNativeSeparators(name);
    if (program.find('/') != std::string::npos)
        return isExecutableFile(program) ? program : std::string();
    const char* path = std::getenv("PATH");
    std::string_view dirs = path ? path : "/usr/bin:/bin";
    while (!dirs.empty()) {
        size_t colon = dirs.find(':');
        std::string dir(dirs.substr(0, colon));
        dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
        std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + program;
        if (isExecutableFile(candidate))
            return candidate;
    }
    return {};
}

namespace {

// posix_spawn with the argument as one argv entry; no shell ever re-parses it.
int spawnProgram(const std::string& path, std::string_view argument, posix_spawn_file_actions_t* actions, pid_t& pid)
{
    std::string arg0 = path;
    std::string arg1(argument);
    char* argv[3] = {arg0.data(), argument.empty() ? nullptr : arg1.data(), nullptr};
    return posix_spawn(&pid, path.c_str(), actions, nullptr, argv, environ);
}

// Programs we started without waiting; collected when they have ended so they
// do not linger as zombies while the reader keeps running.
std::vector<pid_t>& startedPrograms()
{
    static std::vector<pid_t> pids;
    return pids;
}

void reapStartedPrograms()
{
    auto& pids = startedPrograms();
    std::erase_if(pids, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

} // namespace

RunResult StartProgram(std::string_view program, std::string_view argument)
{
    std::string path = LocateProgram(program);
    if (path.empty())
        return RunResult::NotFound;
    reapStartedPrograms();
    pid_t pid = 0;
    if (spawnProgram(path, argument, nullptr, pid) != 0)
        return RunResult::Failed;
    startedPrograms().push_back(pid);
    return RunResult::Started;
}

std::string RunProgram(std::string_view program, std::string_view argument)
{
    switch (StartProgram(program, argument)) {
    case RunResult::Started:
        return {};
    case RunResult::NotFound:
        return std::string(program) + " not found";
    case RunResult::Failed:
        break;
    }
    return "Cannot execute, system error";
}

bool RunLocalProgram(std::string_view program, std::string_view paramFile, std::string_view runFolder,
                     std::string& outputFile)
{
    auto run = TLocalProgramRun::Start(program, paramFile, runFolder);
    if (!run)
        return false;
    run->Wait();
    outputFile = run->OutputFile();
    return true;
}

namespace {

// Reads up to size bytes; answers the count, or -1 on an error.
ssize_t ReadFully(int fd, char* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::read(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += size_t(n);
    }
    return ssize_t(done);
}

} // namespace

std::optional<std::string> ReadFileBytes(std::string_view path)
{
    // Without O_NONBLOCK opening a FIFO waits for a writer for ever; only a
    // regular file is read.
    int fd = ::open(std::string(path).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info{};
    std::optional<std::string> bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        // Sized once, so a large document is never held twice while reading;
        // a file that grew meanwhile is read on to its end.
        std::string text(size_t(info.st_size), '\0');
        ssize_t n = ReadFully(fd, text.data(), text.size());
        char more[65536];
        for (ssize_t m = n == ssize_t(text.size()) ? 1 : 0; n >= 0 && m > 0;) {
            m = ReadFully(fd, more, sizeof more);
            if (m > 0)
                text.append(more, size_t(m));
            else if (m < 0)
                n = -1;
        }
        if (n >= 0) {
            if (size_t(n) < size_t(info.st_size))
                text.resize(size_t(n));
            bytes = std::move(text);
        }
    }
    ::close(fd);
    return bytes;
}
