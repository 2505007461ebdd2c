#pragma once
// The generated documents the layout, render and viewer benchmarks share,
// so that every figure is taken on the same bytes.
#include <string>

namespace benchdoc {

constexpr size_t DocumentBytes = 2 * 1024 * 1024;

// Plain text of about 2 MB: lines of twelve words, CR LF ends.
std::string TextDocument(size_t bytes = DocumentBytes);

// An HTML page of about 2 MB of prose: numbered paragraphs of sixty words
// with a bold word and a link each.
std::string ProseDocument(size_t bytes = DocumentBytes);

// An HTML page of about 2 MB holding one table of about 5000 rows: a
// harbour log with a number, a linked title, a date, a paragraph of
// remarks that wraps, a right-aligned bold figure and a short note.
std::string TableDocument(size_t bytes = DocumentBytes);

// One paragraph of about `bytes` bytes of plain words and nothing else: a
// single run of text that breaks into thousands of lines.
std::string LongParagraphDocument(size_t bytes);

// One paragraph holding `links` links of a word each, separated by spaces:
// as many font runs as links in one text section.
std::string LinkParagraphDocument(int links);

// The folder benchmarks write their documents into ($TMPDIR or /tmp), so
// that `quillon-render FILE --timing` and `/usr/bin/time -v` can be run on them.
std::string OutputFolder();

// Writes text to the file; answers the file name.
std::string WriteDocument(const std::string& name, const std::string& text);

} // namespace benchdoc
