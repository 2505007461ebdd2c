#include "util/TLocalProgramRun.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "util/Utilities.h"

extern char** environ;

std::unique_ptr<TLocalProgramRun> TLocalProgramRun::Start(std::string_view program, std::string_view paramFile,
                                                          std::string_view runFolder)
{
    std::string path = LocateProgram(program);
    if (path.empty() || runFolder.empty())
        return nullptr;
    std::string output = EnsureBackslash(runFolder) + "output.cgi";
    // The file is new and never a link someone left for us to write through.
    int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return nullptr;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fd, STDOUT_FILENO);
    // A group of its own, so stopping the run also stops what the program started.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::string arg0 = path;
    std::string arg1 = ToNativeSeparators(paramFile);
    char* argv[3] = {arg0.data(), arg1.data(), nullptr};
    pid_t pid = 0;
    int rc = posix_spawn(&pid, path.c_str(), &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fd);
    if (rc != 0)
        return nullptr;
    return std::unique_ptr<TLocalProgramRun>(new TLocalProgramRun(pid, output));
}

TLocalProgramRun::~TLocalProgramRun()
{
    if (!FEnded)
        Kill();
}

bool TLocalProgramRun::Reap(int options)
{
    if (FEnded)
        return true;
    int status = 0;
    pid_t rc;
    while ((rc = ::waitpid(FPid, &status, options)) < 0 && errno == EINTR) {
    }
    // An error means the child is gone already (nothing is left to wait for).
    FEnded = rc != 0;
    return FEnded;
}

bool TLocalProgramRun::Finished() { return Reap(WNOHANG); }

void TLocalProgramRun::Wait() { Reap(0); }

void TLocalProgramRun::Kill()
{
    if (FEnded)
        return;
    ::kill(-FPid, SIGKILL);
    ::kill(FPid, SIGKILL);
    Reap(0);
}
