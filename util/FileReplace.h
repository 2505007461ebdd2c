#pragma once
// Rewriting a file whole without ever leaving it half written: the new
// text goes to a fresh temporary file beside it (created exclusively, with
// an unpredictable name), which is flushed and then renamed over the old
// one. A crash, a kill or a full disk leaves the previous file as it was,
// and a link planted at the name is replaced, never followed.
#include <string>
#include <string_view>

// Writes text as the new content of path. The file keeps its permissions
// (new files get 0644); a file we may not write stays untouched. Answers 0,
// or the errno of the step that failed. Temporary names are folder +
// prefix + six random characters; a failed write removes its temporary.
int ReplaceFileContents(const std::string& path, std::string_view text, std::string_view prefix);

// ReplaceFileContents for callers that report failure to the user: raises
// EWriteError "Unable to write to <file>" when any step fails.
void WriteFileAtomically(const std::string& fileName, std::string_view content);

// Removes what interrupted rewrites left in folder: files named prefix +
// six characters, owned by us and older than a minute (so a rewrite still
// running in another copy of the program is left alone). Answers how many
// were removed.
int RemoveStaleTemporaries(const std::string& folder, std::string_view prefix);
