#include "search/FileSystem.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <pwd.h>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

bool TDirectoryListing::Read(int dirFd)
{
    FEntries.clear();
    FNames.clear();
    // fdopendir takes over the descriptor it is given, so give it a copy.
    const int copy = fcntl(dirFd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0)
        return false;
    DIR* dir = fdopendir(copy);
    if (!dir) {
        close(copy);
        return false;
    }
    rewinddir(dir);
    while (const dirent* e = readdir(dir)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == "..")
            continue;
        FEntries.push_back({FNames.size(), name.size(), e->d_type});
        FNames.insert(FNames.end(), name.begin(), name.end());
        FNames.push_back('\0');
    }
    closedir(dir);
    return true;
}

namespace {

bool IsPseudoFileSystem(const std::string& type)
{
    static const std::set<std::string> pseudo = {
        "proc",     "sysfs",      "devtmpfs",    "devpts",  "tmpfs",      "cgroup",    "cgroup2",
        "securityfs", "pstore",   "debugfs",     "tracefs", "configfs",   "fusectl",   "mqueue",
        "hugetlbfs", "bpf",       "binfmt_misc", "autofs",  "rpc_pipefs", "nsfs",      "efivarfs",
        "selinuxfs", "ramfs",     "nfsd",        "fuse.gvfsd-fuse", "fuse.portal"};
    return pseudo.count(type) > 0;
}

// Mount points escape blanks and backslashes as three octal digits.
std::string DecodeMountPath(const std::string& field)
{
    std::string path;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            if (digits.find_first_not_of("01234567") == std::string::npos) {
                path += char(std::strtol(digits.c_str(), nullptr, 8));
                i += 3;
                continue;
            }
        }
        path += field[i];
    }
    return path;
}

// Type numbers of the file systems that show kernel, process and device
// state rather than hold files.
bool IsKernelStateType(unsigned long type)
{
    static const std::set<unsigned long> kernelState = {
        0x9fa0,     // proc
        0x62656572, // sysfs
        0x1cd1,     // devpts
        0x27e0eb,   // cgroup
        0x63677270, // cgroup2
        0x73636673, // securityfs
        0x6165676c, // pstore
        0x64626720, // debugfs
        0x74726163, // tracefs
        0x62656570, // configfs
        0x65735543, // fusectl
        0x19800202, // mqueue
        0x958458f6, // hugetlbfs
        0xcafe4a11, // bpf
        0x42494e4d, // binfmt_misc
        0x0187,     // autofs
        0x67596969, // rpc_pipefs
        0x6e736673, // nsfs
        0xde5e81e4, // efivarfs
        0xf97cff8c, // selinuxfs
        0x9fa2,     // usbdevfs
        0x6c6f6f70, // binderfs
    };
    return kernelState.count(type) > 0;
}

bool IsMemoryType(unsigned long type)
{
    return type == 0x01021994 /* tmpfs */ || type == 0x858458f6 /* ramfs */;
}

// Whether the mount table names the file system of this device as the one
// that holds device nodes.
bool IsDeviceFileSystem(dev_t device, const std::string& mountInfoTable)
{
    std::ifstream in(mountInfoTable);
    std::string line;
    const std::string wanted = std::to_string(major(device)) + ":" + std::to_string(minor(device));
    while (std::getline(in, line)) {
        // id parent major:minor root mount-point options [optional...] - type source ...
        std::istringstream fields(line);
        std::string id, parent, numbers, root, mountPoint, field;
        if (!(fields >> id >> parent >> numbers >> root >> mountPoint) || numbers != wanted)
            continue;
        while (fields >> field && field != "-") {
        }
        std::string type;
        fields >> type;
        if (type == "devtmpfs" || DecodeMountPath(mountPoint) == "/dev")
            return true;
    }
    return false;
}

} // namespace

bool IsVirtualFileSystem(int dirFd, const std::string& mountInfoTable)
{
    struct statfs fs {};
    if (fstatfs(dirFd, &fs) != 0)
        return false;
    const auto type = static_cast<unsigned long>(fs.f_type);
    if (IsKernelStateType(type))
        return true;
    struct stat st {};
    return IsMemoryType(type) && fstat(dirFd, &st) == 0 && IsDeviceFileSystem(st.st_dev, mountInfoTable);
}

std::vector<std::string> MountRoots(std::string_view mountTable)
{
    std::vector<std::string> roots;
    std::ifstream in{std::string(mountTable)};
    std::string line;
    std::set<std::string> seen;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, type;
        if (!(fields >> device >> mountPoint >> type) || IsPseudoFileSystem(type))
            continue;
        std::string root = DecodeMountPath(mountPoint);
        if (root.empty() || root[0] != '/')
            continue;
        if (root.back() != '/')
            root += '/';
        if (seen.insert(root).second)
            roots.push_back(root);
    }
    return roots;
}

ptrdiff_t ReadBlock(int fd, char* buffer, size_t size)
{
    size_t total = 0;
    while (total < size) {
        const ssize_t n = read(fd, buffer + total, size - total);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        total += size_t(n);
    }
    return ptrdiff_t(total);
}

int OpenForReading(int dirFd, const char* name)
{
    return openat(dirFd, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

std::string HomeDirectory()
{
    std::string home;
    if (const char* env = std::getenv("HOME"); env && *env) {
        home = env;
    } else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    } else {
        home = "/";
    }
    if (home.back() != '/')
        home += '/';
    return home;
}
