#pragma once
// One hit of a search: what the results page shows for a file.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "search/ContextPassages.h"
#include "util/DateTime.h"

class TOneResult {
public:
    // The path is the file's full path, or its bare name when the scanner is told
    // not to carry directories; a relative path is taken from the current directory.
    TOneResult(std::string title, int64_t bytes, TDateTime modified, std::string_view path, std::string summary);

    const std::string& Title() const { return FTitle; }
    const std::string& Summary() const { return FSummary; }
    const std::string& URL() const { return FURL; }
    TDateTime Modified() const { return FModified; }
    int64_t Bytes() const { return FBytes; }
    // Passages of the file's text around the matches; none unless asked for.
    const std::vector<TPassage>& Passages() const { return FPassages; }
    void SetPassages(std::vector<TPassage> passages) { FPassages = std::move(passages); }

private:
    std::string FTitle;
    std::string FSummary;
    std::string FURL;
    TDateTime FModified;
    int64_t FBytes;
    std::vector<TPassage> FPassages;
};

// "file://" + the absolute path, every byte but letters, digits, "-", ".",
// "_", "~" and "/" percent-encoded: the link opens the file whatever its name
// holds ("#", "?", "%", quotes, bytes outside ASCII), and stands in a quoted
// attribute as it is.
std::string FileUrlFromPath(std::string_view path);

// The URL with its percent escapes decoded, for showing it to a person.
std::string ReadableUrl(std::string_view url);

// A line of the scanner's found list: a hit's display line with its record, or a
// stop message without one.
struct TFoundLine {
    std::string Text;
    std::unique_ptr<TOneResult> Result;
};
using TFoundList = std::vector<TFoundLine>;
