#include "util/TFolderListings.h"

#include <dirent.h>
#include <strings.h>

#include <algorithm>

namespace {

std::string FirstNoCase(const std::vector<std::string>& entries, const std::string& name)
{
    auto found = std::find_if(entries.begin(), entries.end(),
                              [&name](const std::string& entry) { return ::strcasecmp(entry.c_str(), name.c_str()) == 0; });
    return found == entries.end() ? std::string() : *found;
}

} // namespace

std::string TFolderListings::FindNoCase(const std::string& folder, const std::string& name)
{
    auto listing = FListings.find(folder);
    if (listing == FListings.end())
        listing = FListings.emplace(folder, Read(folder)).first;
    return FirstNoCase(listing->second, name);
}

std::string TFolderListings::ReadAndFindNoCase(const std::string& folder, const std::string& name)
{
    return FirstNoCase(Read(folder), name);
}

std::vector<std::string> TFolderListings::Read(const std::string& folder)
{
    std::vector<std::string> entries;
    DIR* handle = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!handle)
        return entries;
    while (dirent* entry = ::readdir(handle))
        entries.emplace_back(entry->d_name);
    ::closedir(handle);
    return entries;
}
