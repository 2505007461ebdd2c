#pragma once
// Rewriting a file whole without ever leaving it half written: the new text
// goes to a temporary file beside it (TFileReplacement), which is flushed and
// then renamed over the old one. A crash, a kill or a full disk leaves the
// previous file as it was.
#include <string>
#include <string_view>
#include <sys/types.h>

// Writes text as the new content of path. A symbolic link at path is followed
// (ResolveLinkedFile) and its target replaced, so a settings file kept
// elsewhere through a link stays where it is. The file keeps its permissions
// (new files get newFileMode); a file we may not write stays untouched.
// Answers 0, or the errno of the step that failed. A named temporary, where
// one is needed, is folder + prefix + six random characters.
int ReplaceFileContents(
    const std::string& path, std::string_view text, std::string_view prefix, mode_t newFileMode = 0644);

// The prefix of the named temporaries of WriteFileAtomically (where the file
// system cannot make unnamed ones; older copies of the program always made
// them, and a kill left them behind).
inline constexpr std::string_view SaveTemporaryPrefix = ".quillon-save-";

// ReplaceFileContents for callers that report failure to the user: raises
// EWriteError "Unable to write to <file>" when any step fails.
void WriteFileAtomically(const std::string& fileName, std::string_view content);

// The file a save to path should replace: path itself, or, when path is a
// symbolic link (or a chain of them), the file it finally names, which need
// not exist yet. A link is followed only when it is ours or lies in a folder
// nobody else may write to: a link someone else planted in a shared folder
// (the temporary folder) is replaced instead of written through.
std::string ResolveLinkedFile(const std::string& path);

// Removes what interrupted rewrites left in folder: files named prefix +
// six characters, owned by us and older than a minute (so a rewrite still
// running in another copy of the program is left alone). Answers how many
// were removed.
int RemoveStaleTemporaries(const std::string& folder, std::string_view prefix);
