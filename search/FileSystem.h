#pragma once
// The few file-system services the walk needs, on POSIX: reading a directory's
// entries once, the mount table, reading a file in blocks without blocking.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

// The entries of one directory in the order the system returns them ("." and
// ".." left out). Names live in one buffer that is reused from directory to
// directory, so listing allocates nothing once it has grown.
class TDirectoryListing {
public:
    struct Entry {
        size_t nameOffset;
        size_t nameLength;
        unsigned char type; // DT_* of the entry, DT_UNKNOWN when the system does not say
    };

    // Reads the directory open on dirFd (which stays open). False when it cannot be read.
    bool Read(int dirFd);
    size_t size() const { return FEntries.size(); }
    const Entry& entry(size_t i) const { return FEntries[i]; }
    // NUL-terminated, valid until the next Read.
    const char* name(size_t i) const { return FNames.data() + FEntries[i].nameOffset; }
    std::string_view nameView(size_t i) const { return {name(i), FEntries[i].nameLength}; }

private:
    std::vector<Entry> FEntries;
    std::vector<char> FNames;
};

// Mount points of real file systems from /proc/self/mounts, pseudo file systems
// (proc, sysfs, tmpfs, cgroup, ...) left out, each with a trailing "/".
std::vector<std::string> MountRoots(std::string_view mountTable = "/proc/self/mounts");

// Whether the folder open on dirFd lies on a file system that holds no
// documents but shows the state of the kernel, processes or devices (proc,
// sysfs, cgroup, device nodes, ...): a search never enters one. Decided by the
// file system's type; a memory file system counts only when the mount table
// says it is the device file system (devtmpfs, or the tmpfs that containers
// mount on /dev), so a tmpfs /tmp is still searched.
bool IsVirtualFileSystem(int dirFd, const std::string& mountInfoTable = "/proc/self/mountinfo");

// Reads up to size bytes, retrying short reads; the count read (0 at the end of
// the file), or -1 on a read error.
ptrdiff_t ReadBlock(int fd, char* buffer, size_t size);

// Opens a file for reading without ever blocking (a FIFO swapped in after the
// type check cannot hang the search). -1 when it cannot be opened.
int OpenForReading(int dirFd, const char* name);

// The user's home directory with a trailing "/".
std::string HomeDirectory();
