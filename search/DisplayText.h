#pragma once
// Titles and summaries taken from pages written in any code page, made fit to
// show on one results page.
#include <string>
#include <string_view>

// The code page of a page's first block: the declared "charset=" when it names
// one we know, else UTF-8 when the bytes are UTF-8 holding characters outside
// ASCII, else Windows-1252. `upper` is the block with ASCII letters upper-cased.
int DocumentCodePage(std::string_view raw, std::string_view upper);
// The two halves of that: the code page the "charset=" in `upper` names, 0 when
// it names none we know; and the one the bytes look written in.
int DeclaredCodePage(std::string_view upper);
int GuessedCodePage(std::string_view raw);

// The text as UTF-8: its bytes decoded from the code page, and the named and
// numeric references to characters outside ASCII replaced by the characters.
// References to ASCII characters ("&lt;", "&amp;", "&#60;") stay as they are, so
// the text keeps its meaning as HTML. A character cut in two at the end of the
// text is left out.
std::string DisplayText(std::string_view raw, int codePage);

// The text as UTF-8 plain text: as DisplayText, but every reference is
// replaced by its character ("&lt;b&gt;" becomes "<b>"), once. For what a page
// writes as text (its title, a meta value, the words between its tags), which
// is shown as text again, never read as markup.
std::string PlainText(std::string_view raw, int codePage);

// Plain UTF-8 text as HTML that shows exactly that text: "&", "<", ">" and the
// double quote as references, and every character outside ASCII as a numeric
// reference as in AsciiHtml.
std::string TextAsAsciiHtml(std::string_view text);
// The same appended to out.
void AppendTextAsAsciiHtml(std::string_view text, std::string& out);

// UTF-8 text with every character outside ASCII written as a numeric reference
// ("&#233;"), so that it shows the same whatever code page the page is read in. A
// byte that is not UTF-8 is taken as Windows-1252.
std::string AsciiHtml(std::string_view text);
