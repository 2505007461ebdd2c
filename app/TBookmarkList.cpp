#include "app/TBookmarkList.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "util/FileReplace.h"
#include "util/Exception.h"
#include "util/TFileLock.h"
#include "util/Utilities.h"

namespace {

// A description holds no line end: it would split the bookmark in two.
std::string oneLine(std::string_view text)
{
    std::string line(text);
    for (char& c : line) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return line;
}

// Writes all of text; false when the platform refuses any of it.
bool writeWhole(int fd, std::string_view text)
{
    while (!text.empty()) {
        ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno != EINTR)
            return false;
        if (n > 0)
            text.remove_prefix(size_t(n));
    }
    return true;
}

bool endsWithLineEnd(int fd)
{
    struct stat info { };
    if (::fstat(fd, &info) != 0 || info.st_size == 0)
        return true;
    char last = 0;
    return ::pread(fd, &last, 1, info.st_size - 1) == 1 && (last == '\n' || last == '\r');
}

} // namespace

std::string TBookmarkList::EncodeLocation(std::string_view location)
{
    std::string encoded;
    encoded.reserve(location.size());
    for (char c : oneLine(location)) {
        if (c == '%')
            encoded += "%25";
        else if (c == ' ')
            encoded += "%20";
        else
            encoded += c;
    }
    return encoded;
}

std::string TBookmarkList::DecodeLocation(std::string_view location)
{
    std::string decoded;
    decoded.reserve(location.size());
    for (size_t i = 0; i < location.size(); ++i) {
        std::string_view rest = location.substr(i);
        if (rest.starts_with("%20") || rest.starts_with("%25")) {
            decoded += rest[2] == '0' ? ' ' : '%';
            i += 2;
        } else {
            decoded += location[i];
        }
    }
    return decoded;
}

TBookmarkList::TEntry TBookmarkList::ParseLine(std::string_view line)
{
    size_t space = line.find(' ');
    if (space == std::string_view::npos)
        return { std::string(line), {} };
    return { std::string(line.substr(space + 1)), DecodeLocation(line.substr(0, space)) };
}

std::string TBookmarkList::FormatLine(const TEntry& entry)
{
    return EncodeLocation(entry.Location) + ' ' + oneLine(entry.Description);
}

std::string TBookmarkList::DisplayText(const TEntry& entry)
{
    if (entry.Description.find_first_not_of(" \t") != std::string::npos)
        return entry.Description;
    std::string location = ToNativeSeparators(entry.Location);
    location = location.substr(0, location.find('#'));
    while (location.size() > 1 && location.back() == '/')
        location.pop_back();
    return location.substr(location.rfind('/') + 1);
}

std::string TBookmarkList::LocationToOpen(std::string_view location, std::string_view programDir)
{
    const std::string native = ToNativeSeparators(location);
    const size_t firstSlash = native.find('/');
    const size_t colon = native.find(':');
    const bool absolute = native.starts_with('/') || native.starts_with('%');
    const bool schemeOrDrive = colon != std::string::npos && colon < firstSlash;
    const bool bareWord = native.find_first_of("./") == std::string::npos;
    if (native.empty() || absolute || schemeOrDrive || bareWord)
        return std::string(location);
    return std::filesystem::path(std::string(programDir) + native).lexically_normal().string();
}

std::vector<TBookmarkList::TEntry> TBookmarkList::ParseText(std::string_view text)
{
    std::vector<TEntry> entries;
    while (!text.empty()) {
        size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        if (!line.empty())
            entries.push_back(ParseLine(line));
        if (end == std::string_view::npos)
            break;
        size_t next = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
        text.remove_prefix(next);
    }
    return entries;
}

std::vector<TBookmarkList::TEntry> TBookmarkList::Merge(
    const std::vector<TEntry>& base, const std::vector<TEntry>& theirs, const std::vector<TEntry>& ours)
{
    std::map<std::string, int> inBase, inTheirs, inOurs;
    for (const TEntry& entry : base)
        ++inBase[FormatLine(entry)];
    for (const TEntry& entry : theirs)
        ++inTheirs[FormatLine(entry)];
    for (const TEntry& entry : ours)
        ++inOurs[FormatLine(entry)];

    // Copies others removed: as many of ours go, where we still have them.
    std::map<std::string, int> removed;
    for (const auto& [line, count] : inBase)
        removed[line] = count - inTheirs[line];
    std::vector<TEntry> merged;
    for (const TEntry& entry : ours) {
        int& toRemove = removed[FormatLine(entry)];
        if (toRemove > 0)
            --toRemove;
        else
            merged.push_back(entry);
    }
    // Copies others added, less those we added ourselves, in their order.
    std::map<std::string, int> added;
    for (const auto& [line, count] : inTheirs)
        added[line] = (count - inBase[line]) - std::max(0, inOurs[line] - inBase[line]);
    for (const TEntry& entry : theirs) {
        int& toAdd = added[FormatLine(entry)];
        if (toAdd > 0) {
            --toAdd;
            merged.push_back(entry);
        }
    }
    return merged;
}

void TBookmarkList::Read(const std::string& fileName)
{
    std::optional<std::string> bytes = ReadFileBytes(fileName);
    FEntries = bytes ? ParseText(*bytes) : std::vector<TEntry>();
    FBase = FEntries;
}

void TBookmarkList::AppendAndSave(const std::string& fileName, TEntry entry)
{
    FEntries.push_back(entry);
    const std::string target = ResolveLinkedFile(fileName);
    TFileLock lock(target);
    int fd = ::open(target.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    struct stat before { };
    if (fd >= 0 && ::fstat(fd, &before) != 0) {
        ::close(fd);
        fd = -1;
    }
    if (fd < 0)
        throw EWriteError("Unable to write to " + fileName);
    std::string line;
    if (!endsWithLineEnd(fd))
        line += '\n';
    line += FormatLine(entry);
    line += '\n';
    bool ok = writeWhole(fd, line);
    // A full disk may take part of the line: the file gets the line or nothing.
    if (!ok)
        (void)::ftruncate(fd, before.st_size);
    ok = ::close(fd) == 0 && ok;
    if (!ok)
        throw EWriteError("Unable to write to " + fileName);
    FBase.push_back(std::move(entry));
}

bool TBookmarkList::Save(const std::string& fileName)
{
    // Locked from the read to the rename, so another copy saving at the same
    // time starts from our result instead of overwriting it.
    const std::string target = ResolveLinkedFile(fileName);
    TFileLock lock(target);
    // A file that is gone (deleted, or on a share that went away) tells
    // nothing of what others meant: the lists are written as they are.
    std::optional<std::string> bytes = ReadFileBytes(target);
    const std::vector<TEntry> theirs = bytes ? ParseText(*bytes) : FBase;
    const bool othersChanged = theirs != FBase;
    std::vector<TEntry> merged = othersChanged ? Merge(FBase, theirs, FEntries) : FEntries;
    std::string text;
    for (const TEntry& entry : merged)
        text += FormatLine(entry) + '\n';
    WriteFileAtomically(fileName, text);
    FEntries = merged;
    FBase = std::move(merged);
    return othersChanged;
}

void TBookmarkList::Remove(size_t index)
{
    if (index < FEntries.size())
        FEntries.erase(FEntries.begin() + std::ptrdiff_t(index));
}

size_t TBookmarkList::MoveUp(size_t index)
{
    if (index == 0 || index >= FEntries.size())
        return index;
    std::swap(FEntries[index], FEntries[index - 1]);
    return index - 1;
}

size_t TBookmarkList::MoveDown(size_t index)
{
    if (index + 1 >= FEntries.size())
        return index;
    std::swap(FEntries[index], FEntries[index + 1]);
    return index + 1;
}
