#include "search/TOneResult.h"

#include <cstdio>
#include <unistd.h>

namespace {

std::string CurrentDirectory()
{
    std::string dir(4096, '\0');
    while (!getcwd(dir.data(), dir.size())) {
        if (dir.size() > (1u << 20))
            return "/";
        dir.resize(dir.size() * 2);
    }
    dir.resize(dir.find('\0'));
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

// Letters, digits, "-", ".", "_", "~" and the folder separator stand as they
// are; everything else is percent-encoded: "#" and "?" would end the file's
// name, "%" starts an escape, "|" and ":" look like a drive, "&", quotes and
// angle brackets mean something in the page, and bytes outside ASCII would
// be read in whatever code page the page is taken to be in.
bool NeedsEscape(unsigned char c)
{
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                       c == '.' || c == '_' || c == '~' || c == '/';
    return !plain;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::string FileUrlFromPath(std::string_view path)
{
    std::string absolute = !path.empty() && path[0] == '/' ? std::string(path) : CurrentDirectory() + std::string(path);
    std::string url = "file://";
    url.reserve(url.size() + absolute.size());
    for (char c : absolute) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (NeedsEscape(byte)) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            url += escaped;
        } else {
            url += c;
        }
    }
    return url;
}

std::string ReadableUrl(std::string_view url)
{
    std::string text;
    text.reserve(url.size());
    for (size_t i = 0; i < url.size(); ++i) {
        const int high = url[i] == '%' && i + 2 < url.size() ? HexDigitValue(url[i + 1]) : -1;
        const int low = high >= 0 ? HexDigitValue(url[i + 2]) : -1;
        if (low >= 0) {
            text += char(high * 16 + low);
            i += 2;
        } else {
            text += url[i];
        }
    }
    return text;
}

TOneResult::TOneResult(std::string title, int64_t bytes, TDateTime modified, std::string_view path,
                       std::string summary)
    : FTitle(std::move(title)), FSummary(std::move(summary)), FURL(FileUrlFromPath(path)), FModified(modified),
      FBytes(bytes)
{
}
