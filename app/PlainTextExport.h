#pragma once
// "Export as plain text": the document's lines with their tags taken out and
// their character references decoded, as UTF-8 text for a text editor.
#include <string>
#include <string_view>
#include <vector>

// Converts the lines in order with one inside-a-tag state carried from line to
// line, so a tag that spans lines is removed whole. Heading ends, "<BR>" and
// "<P>" become spaces first, so words on either side stay apart. The text
// left is read in the code page and its character references are replaced by
// the characters they name ("&gt;" ">", "&#8211;" an en dash, "&nbsp;" a
// plain space); the lines come back as UTF-8.
std::vector<std::string> HtmlLinesToPlainText(const std::vector<std::string>& lines, int codePage);

// The code page a document's bytes are read in for the export: the declared
// character set, else UTF-8 when the bytes are UTF-8, else Windows-1252.
int ExportCodePage(std::string_view document);

// The text with every named and numeric character reference replaced by its
// character (UTF-8); references that name nothing stay as written.
std::string DecodeCharacterReferences(std::string_view text);

// Writes the export as "TMPFILE.TXT" in folder (the run's private folder:
// never a file anyone else wrote or can read) and answers its path. Raises
// EWriteError when the folder is empty or the file cannot be written.
std::string WritePlainTextExport(const std::vector<std::string>& lines, const std::string& folder);
