#include "app/TBookmarkList.h"

#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "util/FileReplace.h"
#include "util/Exception.h"
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

void TBookmarkList::Read(const std::string& fileName)
{
    FEntries.clear();
    std::optional<std::string> bytes = ReadFileBytes(fileName);
    if (!bytes)
        return;
    std::string_view text = *bytes;
    while (!text.empty()) {
        size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        if (!line.empty())
            FEntries.push_back(ParseLine(line));
        if (end == std::string_view::npos)
            break;
        size_t next = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
        text.remove_prefix(next);
    }
}

void TBookmarkList::AppendToFile(const std::string& fileName, const TEntry& entry)
{
    int fd = ::open(fileName.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        throw EWriteError("Unable to write to " + fileName);
    std::string line;
    if (!endsWithLineEnd(fd))
        line += '\n';
    line += FormatLine(entry);
    line += '\n';
    // One write of the whole line: the file gains the line or nothing of it.
    ssize_t written = ::write(fd, line.data(), line.size());
    bool ok = written == ssize_t(line.size());
    ok = ::close(fd) == 0 && ok;
    if (!ok)
        throw EWriteError("Unable to write to " + fileName);
}

void TBookmarkList::Write(const std::string& fileName) const
{
    std::string text;
    for (const TEntry& entry : FEntries)
        text += FormatLine(entry) + '\n';
    WriteFileAtomically(fileName, text);
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
