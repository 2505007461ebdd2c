#include "app/PlainTextExport.h"

#include <sys/stat.h>

#include "search/DisplayText.h"
#include "util/CharacterReferences.h"
#include "util/CodePage.h"
#include "util/Exception.h"
#include "util/FileReplace.h"
#include "util/Utilities.h"

namespace {

// Where a page declares its character set, if it does.
constexpr size_t DeclarationSearchLength = 4096;

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
    // A text file has no use for a space that does not break.
    return DecodeReferences(text, TReferenceScope::All, TNoBreakSpace::AsSpace);
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
