#pragma once
// Title, summary and meta text of a document, taken from its first block.
#include <string>
#include <string_view>

struct TDocumentInfo {
    // Title and summary are UTF-8 plain text (references decoded, never markup),
    // whatever code page the file uses.
    std::string Title;   // the title element's text, or the path
    std::string Summary; // description, else keywords, else a body extract
    bool MetaFound = false;
    std::string MetaText; // description + keywords values, or the body extract, as bytes of the file
    // The code page the title and summary were decoded from, and whether the
    // page named it (else it was guessed from the bytes).
    int CodePage = 0;
    bool CodePageDeclared = false;
};

enum class TTitleOption { Skip, Extract };
enum class TSummaryOption { Skip, Extract };

// Only pages and plain text files (".html", ".htm", ".txt", any letter case) are
// read for their title and summary.
bool HasDocumentExtension(std::string_view path);

// Fills the info from the raw text and its ASCII upper-cased copy (same length);
// every pattern is sought in the upper-cased copy and every value is cut from the
// raw text at the same positions.
TDocumentInfo ExtractDocumentInfo(std::string_view raw, std::string_view upper, const std::string& path,
                                  TTitleOption title, TSummaryOption summary);

// CR and LF become spaces, then every run of spaces becomes one space.
std::string CollapseSpaces(std::string_view text);
