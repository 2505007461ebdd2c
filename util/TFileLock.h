#pragma once
// Holds a file's lock for a read-modify-write, so that two windows or two
// copies of the program saving the same settings or bookmark file one after
// the other each start from what the other wrote. The lock is taken on a
// lock file beside the file ("<name>.lock"): a file that is replaced by a
// rename gets a new inode with every save, so locking the file itself would
// not hold. Blocks until the lock is ours; released when the object dies.
// Programs that do not take it (a user's editor) are not kept out.
#include <string>

class TFileLock {
public:
    explicit TFileLock(const std::string& fileName);
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

    // The name of the lock file kept beside a file.
    static std::string LockFileName(const std::string& fileName);
    // Whether the lock is held: false when no lock file could be made beside
    // the file (a read-only folder, where no save can succeed either).
    bool Held() const { return FFd >= 0; }

private:
    int FFd = -1;
};
