#pragma once
// Which files are shown as plain text rather than laid out as HTML.
//
// Collections link style sheets, scripts, program sources, notes, logs and
// settings files beside their pages. Read as HTML their lines run together,
// so the name decides first (as it does for pictures), then the content: an
// HTML page saved under such a name is still laid out as a page.
#include <string_view>

// The file name's extension (letter case ignored) is one of a plain-text kind:
// .txt, .css, .js, .c, .h, .py, .md, .log, .ini and their close relatives.
bool HasPlainTextExtension(std::string_view fileName);

// A ".txt" file always shows as text, as it always has. Any other file with a
// plain-text extension shows as text unless its first bytes (after a byte order
// mark and white space) begin an HTML page: a DOCTYPE, HTML, HEAD or BODY tag.
bool ShowsAsPlainText(std::string_view fileName, std::string_view firstBytes);
