#pragma once
// The folder listings read by one run of case-insensitive file look-ups.
// Marking the visited links of a page expands every link; a link to a file
// that is missing as written reads its whole folder to look for the name in
// another letter case, once per link. A run that shares one of these reads
// each folder once. Keep it only for such a run: files come and go between.
#include <string>
#include <unordered_map>
#include <vector>

class TFolderListings {
public:
    // The entry of folder whose name equals name ignoring ASCII case; empty
    // when there is none or the folder cannot be read.
    std::string FindNoCase(const std::string& folder, const std::string& name);
    // Reads the folder on each call: the look-up without a run to share.
    static std::string ReadAndFindNoCase(const std::string& folder, const std::string& name);

private:
    static std::vector<std::string> Read(const std::string& folder);
    std::unordered_map<std::string, std::vector<std::string>> FListings;
};
