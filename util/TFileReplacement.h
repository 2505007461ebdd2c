#pragma once
// The new content of a file, written beside it and put in its place in one
// step. The content goes to an unnamed temporary file in the target's folder
// (so the final rename stays on one file system); it gets a name only at the
// very end, for the instant of the rename. A kill or a crash while writing
// leaves nothing behind, and the old file stays whole until the new one is
// complete and flushed. Where the file system cannot make unnamed files, a
// named one (folder + prefix + six random characters, created exclusively)
// takes its place.
#include <string>
#include <string_view>
#include <sys/types.h>

struct timespec;

class TFileReplacement {
public:
    // Starts the replacement of target (already resolved: a link at the name
    // would be replaced by the file). Error() tells whether the temporary
    // could be made.
    TFileReplacement(std::string target, std::string_view prefix);
    // Discards the new content unless it was committed.
    ~TFileReplacement();
    TFileReplacement(const TFileReplacement&) = delete;
    TFileReplacement& operator=(const TFileReplacement&) = delete;

    // The errno of the first step that failed; 0 while all went well.
    int Error() const { return FError; }
    // Appends to the new content; false once any step has failed.
    bool Write(std::string_view bytes);
    // Gives the new content its permissions (and times, when given: access
    // and modification), flushes it to disk and renames it over the target.
    // Answers 0 or the errno of the step that failed; the target is then as
    // it was.
    int Commit(mode_t mode, const struct timespec* times = nullptr);

private:
    int publish();
    void fail(int error);

    std::string FTarget;
    std::string FFolder;
    std::string FPrefix;
    std::string FNamed; // the named fallback's name; empty for an unnamed file
    int FFd = -1;
    int FError = 0;
};
