#include "html/viewer/LinkNames.h"

#include <cctype>
#include <unistd.h>
#include <vector>

#include "util/FileLookup.h"
#include "util/Utilities.h"

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameTextNoCase(text.substr(0, prefix.size()), prefix);
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = char(std::toupper(static_cast<unsigned char>(c)));
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

std::string PercentDecode(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += char(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

bool HasDriveLetter(std::string_view path)
{
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

std::string CurrentDirectory()
{
    std::vector<char> buffer(4096);
    if (!getcwd(buffer.data(), buffer.size()))
        return "/";
    return EnsureBackslash(buffer.data());
}

} // namespace


std::string UpperCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string TrimText(std::string_view text)
{
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ')
        --e;
    return std::string(text.substr(b, e - b));
}

std::string NormalizeServerRoot(std::string_view root)
{
    std::string r = TrimText(root).empty() ? std::string() : LinkToPath(root);
    while (r.size() > 1 && r.back() == '/')
        r.pop_back();
    return r;
}

bool IsRemoteUrl(std::string_view link)
{
    size_t p = link.find("://");
    return p != std::string_view::npos && p > 0 && FindNoCase(link, "file://") == std::string_view::npos;
}

void SplitAnchor(std::string_view name, std::string& file, std::string& anchor)
{
    size_t p = name.find('#');
    if (p == std::string_view::npos) {
        file = std::string(name);
        anchor.clear();
    } else {
        file = std::string(name.substr(0, p));
        anchor = std::string(name.substr(p));
    }
}

std::string UpperExtension(std::string_view name)
{
    size_t dot = name.rfind('.');
    size_t slash = name.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return "";
    return UpperCase(name.substr(dot));
}

std::string LinkToPath(std::string_view link, bool* hadDrive)
{
    std::string s = TrimText(link);
    if (StartsWithNoCase(s, "file://")) {
        s = PercentDecode(std::string_view(s).substr(7));
        // "file:///C|/dir" names a drive after the third slash.
        if (s.size() >= 3 && s[0] == '/' && (s[2] == '|' || s[2] == ':') &&
            std::isalpha(static_cast<unsigned char>(s[1])))
            s.erase(0, 1);
    }
    for (char& c : s)
        if (c == '|')
            c = ':';
    s = ToNativeSeparators(s);
    bool drive = HasDriveLetter(s);
    if (drive) {
        s.erase(0, 2);
        if (s.empty() || s[0] != '/')
            s = "/" + s;
    }
    if (hadDrive)
        *hadDrive = drive;
    return s;
}

std::string NormalizePath(std::string_view path)
{
    bool absolute = !path.empty() && path[0] == '/';
    bool doubleRoot = path.size() >= 2 && path[0] == '/' && path[1] == '/';
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= path.size()) {
        size_t j = path.find('/', i);
        if (j == std::string_view::npos)
            j = path.size();
        std::string part(path.substr(i, j - i));
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!absolute)
                parts.push_back(part);
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    std::string out = doubleRoot ? "//" : absolute ? "/" : "";
    for (size_t k = 0; k < parts.size(); ++k) {
        if (k)
            out += '/';
        out += parts[k];
    }
    if (!path.empty() && path.back() == '/' && !parts.empty())
        out += '/';
    return out;
}

std::string ExpandLinkName(std::string_view link, const TLinkContext& context)
{
    if (IsRemoteUrl(link))
        return std::string(link);
    bool hadDrive = false;
    std::string path = LinkToPath(link, &hadDrive);
    bool rooted = !path.empty() && path[0] == '/';
    bool network = path.size() >= 2 && path[0] == '/' && path[1] == '/';
    // A "file://" URL names the file system's own root, as a drive letter does.
    // Here an absolute path has no drive to tell it from a rooted link, so a
    // file that exists as written, and not under the server root, is taken as
    // it stands (a name expanded once already, such as a form's answer page).
    bool absolute = hadDrive || StartsWithNoCase(TrimText(link), "file://");
    if (rooted && !network && !absolute && !context.serverRoot.empty()) {
        std::string underRoot = context.serverRoot + path;
        if (LocalFileExists(underRoot, context.listings) || !LocalFileExists(path, context.listings))
            path = std::move(underRoot);
    }
    else if (!rooted) {
        std::string folder;
        if (SameTextNoCase(context.base, "DosPath"))
            folder = CurrentDirectory();
        else if (!context.base.empty() && !IsRemoteUrl(context.base))
            folder = ExtractDir(LinkToPath(context.base));
        else
            folder = ExtractDir(context.currentFile);
        if (folder.empty())
            folder = CurrentDirectory();
        path = folder + path;
    }
    return ResolveFileName(NormalizePath(path), context.listings);
}
