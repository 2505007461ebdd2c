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

bool NeedsEscape(unsigned char c)
{
    return c == '"' || c == '%' || c < 0x20 || c == 0x7F;
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

TOneResult::TOneResult(std::string title, int64_t bytes, TDateTime modified, std::string_view path,
                       std::string summary)
    : FTitle(std::move(title)), FSummary(std::move(summary)), FURL(FileUrlFromPath(path)), FModified(modified),
      FBytes(bytes)
{
}
