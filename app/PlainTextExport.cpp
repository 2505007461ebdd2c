#include "app/PlainTextExport.h"

#include <cstdlib>
#include <unistd.h>

#include "util/FileReplace.h"
#include "util/Exception.h"
#include "util/ProgramFolder.h"
#include "util/Utilities.h"

std::vector<std::string> HtmlLinesToPlainText(const std::vector<std::string>& lines)
{
    std::vector<std::string> result;
    result.reserve(lines.size());
    bool inTag = false;
    for (std::string line : lines) {
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
        result.push_back(std::move(text));
    }
    return result;
}

std::string WritePlainTextExport(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + '\n';
    if (::access(".", W_OK) == 0) {
        try {
            WriteFileAtomically("TMPFILE.TXT", text);
            char* cwd = ::getcwd(nullptr, 0);
            std::string path = cwd ? AddBackslash(cwd) + "TMPFILE.TXT" : "TMPFILE.TXT";
            std::free(cwd);
            return path;
        } catch (const EWriteError&) {
            // Fall through to the private temporary file.
        }
    }
    std::string folder = NewPrivateRunFolder();
    if (folder.empty())
        throw EWriteError("Unable to write to TMPFILE.TXT");
    std::string path = folder + "TMPFILE.TXT";
    WriteFileAtomically(path, text);
    return path;
}
