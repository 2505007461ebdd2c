#include "util/PlainTextFiles.h"

#include "util/AsciiCase.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace {

// The extension with its dot in lower case; empty when the last path
// component has none.
std::string ExtensionOf(std::string_view fileName)
{
    const size_t slash = fileName.find_last_of("/\\");
    const size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return AsciiLower(fileName.substr(dot));
}

bool StartsAnHtmlPage(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    const size_t first = bytes.find_first_not_of(" \t\r\n\f");
    if (first == std::string_view::npos)
        return false;
    const std::string head = AsciiLower(bytes.substr(first, 16));
    for (std::string_view start : {"<!doctype html", "<html", "<head", "<body"})
        if (head.starts_with(start) && (head.size() == start.size() || !std::isalnum(static_cast<unsigned char>(head[start.size()]))))
            return true;
    return false;
}

} // namespace

bool HasPlainTextExtension(std::string_view fileName)
{
    static constexpr std::array<std::string_view, 36> Extensions{
        ".txt", ".text", ".css", ".js",  ".mjs",  ".json", ".c",    ".h",   ".cc",       ".cpp", ".cxx", ".hpp",
        ".hh",  ".py",   ".md",  ".log", ".ini",  ".cfg",  ".conf", ".sh",  ".markdown", ".pl",  ".rb",  ".java",
        ".cs",  ".go",   ".rs",  ".pas", ".diff", ".patch", ".csv", ".tsv", ".sql",     ".yml", ".yaml", ".toml"};
    const std::string ext = ExtensionOf(fileName);
    return !ext.empty() && std::find(Extensions.begin(), Extensions.end(), ext) != Extensions.end();
}

bool ShowsAsPlainText(std::string_view fileName, std::string_view firstBytes)
{
    if (ExtensionOf(fileName) == ".txt")
        return true;
    return HasPlainTextExtension(fileName) && !StartsAnHtmlPage(firstBytes);
}
