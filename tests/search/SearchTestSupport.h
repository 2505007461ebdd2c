#pragma once
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// A fresh temporary folder, removed with everything in it when the test ends.
class TTempTree {
public:
    explicit TTempTree(const std::filesystem::path& base = std::filesystem::temp_directory_path())
    {
        std::string pattern = (base / "kovra-test-XXXXXX").string();
        FPath = ::mkdtemp(pattern.data());
        FPath += "/";
    }
    ~TTempTree()
    {
        std::error_code ec;
        std::filesystem::remove_all(FPath, ec);
    }
    const std::string& path() const { return FPath; }
    std::string file(const std::string& name) const { return FPath + name; }
    // Writes the file, creating its folders.
    std::string write(const std::string& name, const std::string& bytes) const
    {
        const std::string full = file(name);
        std::filesystem::create_directories(std::filesystem::path(full).parent_path());
        std::ofstream(full, std::ios::binary) << bytes;
        return full;
    }

private:
    std::string FPath;
};

inline std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Sets a file's modification time (seconds since the Unix epoch).
inline void SetModified(const std::string& path, time_t when)
{
    const timespec times[2] = {{when, 0}, {when, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}
