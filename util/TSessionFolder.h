#pragma once
// A private folder for the files one run of the program writes for itself
// (the exported text, scratch files): inside the user's private folder
// (PrivateTempDir, mode 0700), named "session-" + six random characters,
// made when first asked for and removed with everything in it when the
// object dies. A run that is killed cannot remove its folder; the next one
// does, when it clears the stale folders at its start. A folder is known as
// live by the lock its run holds on the ".lock" file inside it.
#include <string>

class TSessionFolder {
public:
    // Removes the folders of this user's runs that have ended. Folders are
    // made in PrivateTempDir() as "session-XXXXXX", or, when that cannot be
    // had, in the temporary folder as "quillon-session-<uid>-XXXXXX".
    TSessionFolder();
    ~TSessionFolder();
    TSessionFolder(const TSessionFolder&) = delete;
    TSessionFolder& operator=(const TSessionFolder&) = delete;

    // The folder, with a trailing "/", made on first use; empty when no
    // private folder can be had.
    const std::string& Path();

    // Removes the session folders in parent (with a trailing "/") that no
    // running program holds: folders of ours named prefix + six characters,
    // at least a minute old (a younger one may be one whose run has not
    // taken its lock yet). Answers how many were removed.
    static int RemoveStale(const std::string& parent, const std::string& prefix);

private:
    std::string FParent;
    std::string FPrefix;
    std::string FPath;
    int FLockFd = -1;
};
