#pragma once
#include "util/Utilities.h"
// Turning the links of a document into local file names.
//
// Links are written for the platform the collections were authored on: "\"
// separators, drive letters, "file:///C|/..." URLs, "\"-rooted paths that
// mean "under the server root". Here they become POSIX paths: "\" reads as
// "/", a drive letter is dropped (the path is taken from the root), and a
// file that is not found as written is looked up again ignoring letter case.
#include <string>
#include <string_view>

class TFolderListings;

struct TLinkContext {
    std::string serverRoot;  // folder for "\"-rooted links (trimmed, no trailing separator)
    std::string base;        // the document's BASE reference, or empty
    std::string currentFile; // the file the link sits in
    TFolderListings* listings = nullptr; // shared by the look-ups of one run, if any
};

// A link with a scheme other than file:// is answered unchanged; anything else
// becomes a normalized local path.
std::string ExpandLinkName(std::string_view link, const TLinkContext& context);

// The "file://" prefix removed, %XX escapes decoded, "|" read as ":" and "\"
// as "/". Sets hadDrive when a drive letter was dropped.
std::string LinkToPath(std::string_view link, bool* hadDrive = nullptr);

// "." and ".." components removed; ".." never climbs above the root.
std::string NormalizePath(std::string_view path);

// True for links such as "http://x" or "mailto:..."-free URLs with "://"
// after the first character that are not file:// URLs.
bool IsRemoteUrl(std::string_view link);

// Splits "name#anchor" into its two parts (the anchor keeps its "#").
void SplitAnchor(std::string_view name, std::string& file, std::string& anchor);

// The upper-cased extension of a file name including the dot ("" when none).
std::string UpperExtension(std::string_view name);

std::string UpperCase(std::string_view text);
std::string TrimText(std::string_view text);

// The server root as the viewer keeps it: trimmed, "\" read as "/", without a
// trailing separator.
std::string NormalizeServerRoot(std::string_view root);
