#include "util/TIniFile.h"

#include <charconv>
#include <sys/stat.h>
#include <unordered_map>

#include "util/Exception.h"
#include "util/FileReplace.h"
#include "util/TFileLock.h"
#include "util/Utilities.h"

namespace {

std::string_view trim(std::string_view text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Names compare by their ASCII letters without case, whatever the locale.
std::string nameKey(std::string_view name)
{
    std::string key(name);
    for (char& c : key)
        c = lowerAscii(c);
    return key;
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}

// "[Name]" (a missing "]" ends the name at the line end); nullopt for other lines.
// Lines are kept as stored, with a CR of a CR LF file still attached, so a
// rewrite gives back every untouched line byte for byte.
std::string_view withoutCR(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

std::optional<std::string_view> sectionNameOf(std::string_view line)
{
    std::string_view text = trim(withoutCR(line));
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    text.remove_prefix(1);
    size_t close = text.find(']');
    return trim(text.substr(0, close));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> keyLineOf(std::string_view line)
{
    line = withoutCR(line);
    size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    std::string_view key = trim(line.substr(0, equals));
    if (key.empty() || key.front() == ';')
        return std::nullopt;
    return KeyLine{key, line.substr(equals + 1)};
}

// Index range [begin, end) of the lines belonging to a section's body; begin is
// npos when the section is absent. The first header with the name counts.
struct SectionRange {
    size_t header = std::string::npos;
    size_t end = 0;
};

SectionRange findSection(const std::vector<std::string>& lines, std::string_view section)
{
    SectionRange range;
    for (size_t i = 0; i < lines.size(); ++i) {
        auto name = sectionNameOf(lines[i]);
        if (!name)
            continue;
        if (range.header != std::string::npos) {
            range.end = i;
            return range;
        }
        if (sameName(*name, section))
            range.header = i;
    }
    range.end = lines.size();
    return range;
}

// Sets a key's line in a section, adding the section or the key where needed.
// New lines follow the file's own line ends; a new key goes after the
// section's last key line, a new section at the end of the file.
void setLine(std::vector<std::string>& lines, std::string_view section, std::string_view key, std::string newLine)
{
    std::string lineEnd = !lines.empty() && !lines.front().empty() && lines.front().back() == '\r' ? "\r" : "";
    newLine += lineEnd;
    SectionRange range = findSection(lines, section);
    if (range.header == std::string::npos) {
        if (!lines.empty() && !trim(withoutCR(lines.back())).empty())
            lines.push_back(lineEnd);
        lines.push_back("[" + std::string(section) + "]" + lineEnd);
        lines.push_back(std::move(newLine));
        return;
    }
    size_t insertAt = range.header + 1;
    for (size_t i = range.header + 1; i < range.end; ++i) {
        auto entry = keyLineOf(lines[i]);
        if (!entry)
            continue;
        if (sameName(entry->key, key)) {
            lines[i] = std::move(newLine);
            return;
        }
        insertAt = i + 1;
    }
    lines.insert(lines.begin() + std::ptrdiff_t(insertAt), std::move(newLine));
}

// The lines of text, without their "\n" (a CR of a CR LF file stays).
std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// What tells one version of the file from the next: a save renames a new
// file into place (a new inode), an editor changes size or time.
struct TFileStamp {
    bool present = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    time_t seconds = 0;
    long nanoseconds = 0;
    bool operator==(const TFileStamp&) const = default;
};

TFileStamp stampOf(const std::string& fileName)
{
    struct stat info {};
    if (::stat(fileName.c_str(), &info) != 0)
        return {};
    return {true, info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

} // namespace

// The file's text and lines with an index of its sections; a section's keys
// are indexed when it is first looked in (a start reads a few small sections
// of what may be a large file). As for a lookup by scanning, the first header
// of a name counts and, in it, the first line of a key.
struct TIniFile::TContent {
    using TKeyIndex = std::unordered_map<std::string, size_t>;

    TFileStamp stamp;
    const std::string text;
    std::vector<std::string_view> lines;
    std::unordered_map<std::string, SectionRange> sections;
    mutable std::unordered_map<const SectionRange*, TKeyIndex> keys;

    TContent(TFileStamp fileStamp, std::string fileText)
        : stamp(fileStamp), text(std::move(fileText)), lines(splitLines(text))
    {
        SectionRange* open = nullptr;
        for (size_t i = 0; i < lines.size(); ++i) {
            auto name = sectionNameOf(lines[i]);
            if (!name)
                continue;
            if (open)
                open->end = i;
            auto [entry, added] = sections.try_emplace(nameKey(*name), SectionRange{i, lines.size()});
            open = added ? &entry->second : nullptr;
        }
    }

    const SectionRange* section(std::string_view name) const
    {
        auto found = sections.find(nameKey(name));
        return found == sections.end() ? nullptr : &found->second;
    }

    std::optional<std::string_view> value(std::string_view sectionName, std::string_view key) const
    {
        const SectionRange* range = section(sectionName);
        if (!range)
            return std::nullopt;
        auto [index, added] = keys.try_emplace(range);
        if (added) {
            for (size_t i = range->header + 1; i < range->end; ++i) {
                if (auto entry = keyLineOf(lines[i]))
                    index->second.try_emplace(nameKey(entry->key), i);
            }
        }
        auto line = index->second.find(nameKey(key));
        if (line == index->second.end())
            return std::nullopt;
        return keyLineOf(lines[line->second])->value;
    }
};

struct TIniFile::TBatchState {
    int depth = 0;
    std::unique_ptr<TFileLock> lock;
    std::vector<std::string> lines;
    bool changed = false;
};

std::optional<long long> ParseIntegerText(std::string_view text)
{
    text = trim(text);
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    std::from_chars_result result{};
    if (text.front() == '$') {
        if (text.size() == 1)
            return std::nullopt;
        unsigned long long hex = 0;
        result = std::from_chars(first + 1, last, hex, 16);
        if (result.ec != std::errc() || result.ptr != last || hex > 0xFFFFFFFFull)
            return std::nullopt;
        // Hex texts denote 32-bit patterns, as colours are written.
        return static_cast<long long>(hex);
    }
    if (*first == '+')
        ++first;
    result = std::from_chars(first, last, value, 10);
    if (result.ec != std::errc() || result.ptr != last)
        return std::nullopt;
    return value;
}

TIniFile::TIniFile(std::string fileName) : FFileName(ToNativeSeparators(fileName)) {}
TIniFile::~TIniFile() = default;
TIniFile::TIniFile(TIniFile&&) noexcept = default;
TIniFile& TIniFile::operator=(TIniFile&&) noexcept = default;

bool TIniFile::exists() const
{
    struct stat info {};
    return ::stat(FFileName.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

const TIniFile::TContent& TIniFile::content() const
{
    // The stamp is taken before the read: a change made while reading shows
    // as a new stamp on the next look and is read then.
    TFileStamp stamp = stampOf(FFileName);
    if (!FContent || FContent->stamp != stamp)
        FContent = std::make_unique<TContent>(
            stamp, stamp.present ? ReadFileBytes(FFileName).value_or(std::string()) : std::string());
    return *FContent;
}

void TIniFile::beginBatch()
{
    if (!FBatch)
        FBatch = std::make_unique<TBatchState>();
    if (FBatch->depth++ > 0)
        return;
    // Read afresh under the lock: whatever another window saved up to now
    // is the base of this save.
    FBatch->lock = std::make_unique<TFileLock>(ResolveLinkedFile(FFileName));
    FContent.reset();
    const TContent& file = content();
    FBatch->lines.assign(file.lines.begin(), file.lines.end());
    FBatch->changed = false;
}

void TIniFile::endBatch()
{
    if (--FBatch->depth > 0)
        return;
    std::unique_ptr<TBatchState> batch = std::move(FBatch);
    FContent.reset();
    if (batch->changed)
        saveLines(batch->lines);
}

void TIniFile::abandonBatch()
{
    if (--FBatch->depth > 0)
        return;
    FBatch.reset();
    FContent.reset();
}

std::vector<std::string>& TIniFile::linesForWrite()
{
    FBatch->changed = true;
    return FBatch->lines;
}

void TIniFile::RemoveStaleTemporaries() const { ::RemoveStaleTemporaries(ExtractDir(FFileName), TemporaryPrefix); }

void TIniFile::saveLines(const std::vector<std::string>& lines) const
{
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += '\n';
    }
    if (ReplaceFileContents(FFileName, text, TemporaryPrefix) != 0)
        throw EWriteError("Unable to write to " + FFileName);
}

std::optional<std::string> TIniFile::find(std::string_view section, std::string_view key) const
{
    auto value = content().value(section, key);
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const
{
    auto value = find(section, key);
    return value ? *value : std::string(def);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const
{
    auto value = find(section, key);
    if (!value)
        return def;
    auto number = ParseIntegerText(*value);
    if (!number || *number < -2147483648LL || *number > 0xFFFFFFFFLL)
        return def;
    return static_cast<int>(static_cast<uint32_t>(*number));
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

TColor TIniFile::ReadColor(std::string_view section, std::string_view key, TColor def) const
{
    auto value = find(section, key);
    if (!value || trim(*value).empty())
        return def;
    return StringToColor(trim(*value)).value_or(def);
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const
{
    return find(section, key).has_value();
}

bool TIniFile::SectionExists(std::string_view section) const
{
    return content().section(section) != nullptr;
}

void TIniFile::CheckKey(std::string_view key)
{
    const std::string_view name = trim(key);
    const char* problem = name.empty()                                           ? "it is empty"
                          : key.find('=') != std::string_view::npos              ? "it contains \"=\""
                          : key.find_first_of("\r\n") != std::string_view::npos ? "it contains a line break"
                          : name.front() == ';'                                  ? "it starts with \";\""
                          : name.front() == '['                                  ? "it starts with \"[\""
                                                                                 : nullptr;
    if (problem)
        throw EWriteError("The name \"" + std::string(key) + "\" cannot be saved: " + problem + ".");
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    CheckKey(key);
    std::string newLine = std::string(key) + "=" + std::string(value);
    // Line breaks in a value would split it into separate lines of the file.
    for (char& c : newLine) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    Batch([&] { setLine(linesForWrite(), section, key, std::move(newLine)); });
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::WriteColor(std::string_view section, std::string_view key, TColor value)
{
    WriteString(section, key, ColorToString(value));
}

void TIniFile::EraseSection(std::string_view section)
{
    if (!SectionExists(section))
        return;
    Batch([&] {
        auto& lines = linesForWrite();
        SectionRange range = findSection(lines, section);
        if (range.header != std::string::npos)
            lines.erase(lines.begin() + std::ptrdiff_t(range.header), lines.begin() + std::ptrdiff_t(range.end));
    });
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key)
{
    if (!ValueExists(section, key))
        return;
    Batch([&] {
        auto& lines = linesForWrite();
        SectionRange range = findSection(lines, section);
        for (size_t i = range.header + 1; range.header != std::string::npos && i < range.end; ++i) {
            auto entry = keyLineOf(lines[i]);
            if (entry && sameName(entry->key, key)) {
                lines.erase(lines.begin() + std::ptrdiff_t(i));
                return;
            }
        }
    });
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const
{
    std::vector<std::string> keys;
    for (const auto& line : ReadSectionValues(section))
        keys.push_back(line.substr(0, line.find('=')));
    return keys;
}

std::vector<std::string> TIniFile::ReadSectionValues(std::string_view section) const
{
    const TContent& file = content();
    const SectionRange* range = file.section(section);
    std::vector<std::string> values;
    if (!range)
        return values;
    for (size_t i = range->header + 1; i < range->end; ++i) {
        if (auto entry = keyLineOf(file.lines[i]))
            values.push_back(std::string(entry->key) + "=" + std::string(entry->value));
    }
    return values;
}

std::vector<std::string> TIniFile::ReadSections() const
{
    std::vector<std::string> sections;
    for (const auto& line : content().lines) {
        if (auto name = sectionNameOf(line))
            sections.emplace_back(*name);
    }
    return sections;
}
