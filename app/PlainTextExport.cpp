#include "app/PlainTextExport.h"

#include <sys/stat.h>

#include "search/CharacterForms.h"
#include "search/DisplayText.h"
#include "util/CodePage.h"
#include "util/Exception.h"
#include "util/FileReplace.h"
#include "util/TEntity.h"
#include "util/Utilities.h"

namespace {

// Where a page declares its character set, if it does.
constexpr size_t DeclarationSearchLength = 4096;
// Named references are short; a longer run after "&" is just text.
constexpr size_t LongestEntityName = 10;
constexpr char32_t NoBreakSpace = 0xA0;

std::string utf8Of(char32_t c)
{
    std::u16string units;
    if (c < 0x10000) {
        units.push_back(char16_t(c));
    } else {
        units.push_back(char16_t(0xD800 + ((c - 0x10000) >> 10)));
        units.push_back(char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
    }
    return CodePage::FromUtf16(CodePage::Utf8, units);
}

bool isCharacter(char32_t c)
{
    return c > 0 && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

// The character of the reference at text[pos] and the position after it;
// 0 when there is no reference there.
char32_t referenceAt(std::string_view text, size_t pos, size_t& end)
{
    char32_t c = 0;
    if (ParseNumericReference(text.data(), text.size(), pos, c, end)) {
        // Pages written on Windows number its code page's punctuation
        // ("&#150;" for a dash) as browsers read it.
        if (c >= 0x80 && c <= 0x9F)
            c = Windows1252ToCodePoint(static_cast<unsigned char>(c));
        return isCharacter(c) ? c : 0;
    }
    const size_t semicolon = text.find(';', pos + 1);
    if (semicolon == std::string_view::npos || semicolon - pos - 1 > LongestEntityName)
        return 0;
    const auto value = LookupEntity(text.substr(pos + 1, semicolon - pos - 1));
    end = semicolon + 1;
    return value ? char32_t(*value) : 0;
}

// The line without its tags, the inside-a-tag state carried in and out.
std::string withoutTags(std::string line, bool& inTag)
{
    ReplaceAllText(line, "</H", " <H");
    ReplaceAllText(line, "<BR>", " ");
    ReplaceAllText(line, "<P>", " ");
    std::string text;
    for (char c : line) {
        if (!inTag && c == '<')
            inTag = true;
        else if (inTag && c == '>')
            inTag = false;
        else if (!inTag && c != '>')
            text += c;
    }
    return text;
}

} // namespace

std::string DecodeCharacterReferences(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        size_t end = 0;
        const char32_t c = text[pos] == '&' ? referenceAt(text, pos, end) : 0;
        if (c == 0) {
            out += text[pos++];
            continue;
        }
        // A text file has no use for a space that does not break.
        out += c == NoBreakSpace ? std::string(" ") : utf8Of(c);
        pos = end;
    }
    return out;
}

int ExportCodePage(std::string_view document)
{
    std::string upper(document.substr(0, DeclarationSearchLength));
    for (char& c : upper)
        c = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    return DocumentCodePage(document, upper);
}

std::vector<std::string> HtmlLinesToPlainText(const std::vector<std::string>& lines, int codePage)
{
    std::vector<std::string> result;
    result.reserve(lines.size());
    bool inTag = false;
    for (const std::string& line : lines) {
        // Tags first: a decoded "&lt;" is text, not the start of a tag.
        const std::string text = withoutTags(line, inTag);
        const std::string utf8 = codePage == CodePage::Utf8
            ? text
            : CodePage::FromUtf16(CodePage::Utf8, CodePage::ToUtf16(codePage, text));
        result.push_back(DecodeCharacterReferences(utf8));
    }
    return result;
}

std::string WritePlainTextExport(const std::vector<std::string>& lines, const std::string& folder)
{
    const std::string path = folder + "TMPFILE.TXT";
    if (folder.empty())
        throw EWriteError("Unable to write to TMPFILE.TXT");
    std::string text;
    for (const std::string& line : lines)
        text += line + '\n';
    if (ReplaceFileContents(path, text, SaveTemporaryPrefix, S_IRUSR | S_IWUSR) != 0)
        throw EWriteError("Unable to write to " + path);
    return path;
}
