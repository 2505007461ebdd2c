#include "util/FileLookup.h"

#include <sys/stat.h>

#include "util/TFolderListings.h"
#include "util/Utilities.h"

namespace {

bool exists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

} // namespace

std::string ResolveFileName(const std::string& path, TFolderListings* listings)
{
    std::string native = ToNativeSeparators(path);
    if (native.empty() || exists(native))
        return native;
    // Walk component by component, keeping the longest prefix that exists.
    std::string resolved = native[0] == '/' ? "/" : "";
    size_t pos = native[0] == '/' ? 1 : 0;
    while (pos <= native.size()) {
        size_t slash = native.find('/', pos);
        std::string component = native.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
        pos = slash == std::string::npos ? native.size() + 1 : slash + 1;
        if (component.empty() || component == "." || component == "..") {
            if (!component.empty())
                resolved += component + (slash == std::string::npos ? "" : "/");
            continue;
        }
        std::string candidate = resolved + component;
        if (!exists(candidate)) {
            std::string folder = resolved.empty() ? "." : resolved;
            std::string match = listings ? listings->FindNoCase(folder, component)
                                         : TFolderListings::ReadAndFindNoCase(folder, component);
            if (match.empty())
                return native;
            candidate = resolved + match;
        }
        resolved = candidate + (slash == std::string::npos ? "" : "/");
    }
    return resolved;
}

bool LocalFileExists(const std::string& path, TFolderListings* listings)
{
    return exists(ResolveFileName(path, listings));
}
