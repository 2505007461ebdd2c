#include "util/TIniFile.h"

#include <charconv>
#include <cstdio>
#include <sstream>
#include <strings.h>
#include <sys/stat.h>

#include "util/Exception.h"
#include "util/FileReplace.h"
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

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && (a.empty() || ::strncasecmp(a.data(), b.data(), a.size()) == 0);
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

} // namespace

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

bool TIniFile::exists() const
{
    struct stat info {};
    return ::stat(FFileName.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::vector<std::string> TIniFile::loadLines() const
{
    std::vector<std::string> lines;
    std::optional<std::string> text = ReadFileBytes(FFileName);
    if (!text)
        return lines;
    for (size_t start = 0; start < text->size();) {
        size_t end = text->find('\n', start);
        if (end == std::string::npos)
            end = text->size();
        lines.emplace_back(*text, start, end - start);
        start = end + 1;
    }
    return lines;
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
    auto lines = loadLines();
    SectionRange range = findSection(lines, section);
    if (range.header == std::string::npos)
        return std::nullopt;
    for (size_t i = range.header + 1; i < range.end; ++i) {
        auto entry = keyLineOf(lines[i]);
        if (entry && sameName(entry->key, key))
            return std::string(entry->value);
    }
    return std::nullopt;
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
    return findSection(loadLines(), section).header != std::string::npos;
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
    auto lines = loadLines();
    std::string newLine = std::string(key) + "=" + std::string(value);
    // Line breaks in a value would split it into separate lines of the file.
    for (char& c : newLine) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    // New lines follow the file's own line ends.
    std::string lineEnd = !lines.empty() && !lines.front().empty() && lines.front().back() == '\r' ? "\r" : "";
    newLine += lineEnd;
    SectionRange range = findSection(lines, section);
    if (range.header == std::string::npos) {
        if (!lines.empty() && !trim(withoutCR(lines.back())).empty())
            lines.push_back(lineEnd);
        lines.push_back("[" + std::string(section) + "]" + lineEnd);
        lines.push_back(newLine);
        saveLines(lines);
        return;
    }
    size_t insertAt = range.header + 1;
    for (size_t i = range.header + 1; i < range.end; ++i) {
        auto entry = keyLineOf(lines[i]);
        if (!entry)
            continue;
        if (sameName(entry->key, key)) {
            lines[i] = newLine;
            saveLines(lines);
            return;
        }
        insertAt = i + 1;
    }
    lines.insert(lines.begin() + std::ptrdiff_t(insertAt), newLine);
    saveLines(lines);
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
    auto lines = loadLines();
    SectionRange range = findSection(lines, section);
    if (range.header == std::string::npos)
        return;
    lines.erase(lines.begin() + std::ptrdiff_t(range.header), lines.begin() + std::ptrdiff_t(range.end));
    saveLines(lines);
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key)
{
    auto lines = loadLines();
    SectionRange range = findSection(lines, section);
    if (range.header == std::string::npos)
        return;
    for (size_t i = range.header + 1; i < range.end; ++i) {
        auto entry = keyLineOf(lines[i]);
        if (entry && sameName(entry->key, key)) {
            lines.erase(lines.begin() + std::ptrdiff_t(i));
            saveLines(lines);
            return;
        }
    }
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
    auto lines = loadLines();
    SectionRange range = findSection(lines, section);
    std::vector<std::string> values;
    if (range.header == std::string::npos)
        return values;
    for (size_t i = range.header + 1; i < range.end; ++i) {
        if (auto entry = keyLineOf(lines[i]))
            values.push_back(std::string(entry->key) + "=" + std::string(entry->value));
    }
    return values;
}

std::vector<std::string> TIniFile::ReadSections() const
{
    std::vector<std::string> sections;
    for (const auto& line : loadLines()) {
        if (auto name = sectionNameOf(line))
            sections.emplace_back(*name);
    }
    return sections;
}
