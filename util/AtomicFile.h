#pragma once
#include <string>
#include <string_view>

// Replaces the file's whole content: the text is written to a new file beside
// it and renamed over it, so a crash or a full disk leaves the previous file
// whole. A file that is read-only for us stays untouched. Keeps the old file's
// permissions (0644 for a new one). Raises EWriteError "Unable to write to
// <file>" when any step fails.
void WriteFileAtomically(const std::string& fileName, std::string_view content);
