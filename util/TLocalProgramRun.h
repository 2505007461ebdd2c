#pragma once
// One run of a local form program: the program gets the parameter file as its
// one argument, runs in the current directory, and its standard output goes
// to "output.cgi" in the run's private folder. The run can be polled, waited
// for or killed; a run still going when the object dies is killed.
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>

class TLocalProgramRun {
public:
    // Null when the program is missing, not executable, the folder cannot take
    // the output file, or the start fails.
    static std::unique_ptr<TLocalProgramRun> Start(std::string_view program, std::string_view paramFile,
                                                   std::string_view runFolder);
    ~TLocalProgramRun();
    TLocalProgramRun(const TLocalProgramRun&) = delete;
    TLocalProgramRun& operator=(const TLocalProgramRun&) = delete;

    // Whether the program has ended (never blocks).
    bool Finished();
    // Blocks until the program ends.
    void Wait();
    // Ends the program and everything it started.
    void Kill();
    const std::string& OutputFile() const { return FOutputFile; }

private:
    TLocalProgramRun(pid_t pid, std::string outputFile) : FPid(pid), FOutputFile(std::move(outputFile)) {}
    bool Reap(int options);

    pid_t FPid;
    bool FEnded = false;
    std::string FOutputFile;
};
