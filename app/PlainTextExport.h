#pragma once
// "Export as plain text": the document's lines with their tags taken out, for
// reading in a text editor.
#include <string>
#include <vector>

// Converts the lines in order with one inside-a-tag state carried from line to
// line, so a tag that spans lines is removed whole. Heading ends, "<BR>" and
// "<P>" become spaces first, so words on either side stay apart.
std::vector<std::string> HtmlLinesToPlainText(const std::vector<std::string>& lines);

// Where the export is written: "TMPFILE.TXT" in the current directory when
// that can be written, else a new private file in the temporary folder (a
// collection on a CD-ROM or a read-only share). Raises EWriteError when
// neither can be made.
std::string WritePlainTextExport(const std::vector<std::string>& lines);
