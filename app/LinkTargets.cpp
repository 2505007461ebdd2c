#include "app/LinkTargets.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "images/ImageDecoder.h"
#include "util/FileLookup.h"
#include "util/Utilities.h"

namespace {

constexpr size_t MaxArgumentLength = 255;

std::string lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; });
    return out;
}

std::string firstBytes(const std::string& path, size_t count)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes(count, '\0');
    in.read(bytes.data(), std::streamsize(count));
    bytes.resize(size_t(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

bool isRegularFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

TProgramLink SplitProgramLink(std::string_view url)
{
    size_t at = FindNoCase(url, ".exe");
    size_t split = at != std::string_view::npos ? at + 4 : url.find('?');
    if (split == std::string_view::npos || split >= url.size())
        return {std::string(split == std::string_view::npos ? url : url.substr(0, split)), {}};
    return {std::string(url.substr(0, split)), std::string(url.substr(split + 1, MaxArgumentLength))};
}

bool IsProgramFile(const std::string& path)
{
    if (!isRegularFile(path) || ::access(path.c_str(), X_OK) != 0)
        return false;
    std::string head = firstBytes(path, 4);
    return head.starts_with("#!") || head == "\x7f" "ELF";
}

bool IsProgramLink(std::string_view programPart, const std::string& resolvedPath)
{
    return LinkExtension(programPart) == ".exe" || IsProgramFile(resolvedPath);
}

std::string ProgramInFolder(std::string_view name, const std::string& folder)
{
    std::string native = ToNativeSeparators(name);
    if (native.empty())
        return {};
    return ResolveFileName(native[0] == '/' ? native : EnsureBackslash(folder) + native);
}

TFileContent SniffFileContent(std::string_view bytes, std::string_view extension)
{
    static const std::array<std::string_view, 5> pictureExtensions{".bmp", ".gif", ".jpg", ".jpeg", ".png"};
    std::string ext = lower(extension);
    bool pictureName = std::find(pictureExtensions.begin(), pictureExtensions.end(), ext) != pictureExtensions.end();
    TByteSpan span{reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
    if (pictureName && DetectImageFormat(span) != TImageFormat::Unknown)
        return TFileContent::Picture;
    // Formats whose first bytes are printable, so the zero-byte test misses them.
    static const std::array<std::string_view, 10> binaryStarts{"%PDF", "RIFF", "PK\x03\x04", "\x7f" "ELF", "MZ",
                                                               "OggS", "ID3", "fLaC", "MThd", "{\\rtf"};
    for (std::string_view magic : binaryStarts)
        if (bytes.starts_with(magic))
            return TFileContent::Other;
    if (bytes.find('\0') != std::string_view::npos)
        return TFileContent::Other;
    return TFileContent::Document;
}

TFileContent FileContentOf(const std::string& path)
{
    if (!isRegularFile(path))
        return TFileContent::Document;
    return SniffFileContent(firstBytes(path, 1024), LinkExtension(path));
}

std::string LinkExtension(std::string_view url)
{
    std::string_view path = url.substr(0, url.find('#'));
    size_t slash = path.find_last_of("/\\");
    size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return lower(path.substr(dot));
}
