#pragma once
// What a clicked link points at, as far as the shell decides it: the program
// and argument text of a program link, whether a file is a program we start,
// and whether a file's content is something the viewer can lay out.
#include <string>
#include <string_view>

// A link split at the character after ".exe" (or at "?" when the link holds no
// ".exe"): the program part and the text after that character, at most 255
// characters. Without either, the whole link is the program part.
struct TProgramLink {
    std::string program;
    std::string arguments;
};
TProgramLink SplitProgramLink(std::string_view url);

// Whether a link's program part names a program: a name ending in ".exe" as
// written, or (for the given resolved path) an executable file that starts
// with "#!" or an ELF header. Executable bits alone do not count: collections
// on FAT or CD-ROM media often mark every file executable.
bool IsProgramLink(std::string_view programPart, const std::string& resolvedPath);
bool IsProgramFile(const std::string& path);

// The file a program name of a form stands for, read in the given folder
// (letter case ignored); a bare name is the folder's file of that name, never
// a program found on PATH.
std::string ProgramInFolder(std::string_view name, const std::string& folder);

enum class TFileContent { Document, Picture, Other };
// What a file's first bytes hold: a picture format the viewer decodes (when the
// extension is one it shows as a picture), text or markup it lays out, or
// anything else (programs, sounds, archives, PDF...), which would be garbage.
TFileContent SniffFileContent(std::string_view firstBytes, std::string_view extension);
// SniffFileContent of a file's first kilobyte; Document when it cannot be read.
TFileContent FileContentOf(const std::string& path);

// The extension of a link in lower case with its dot, from its last "." after
// its last "/" or "\" (an "#anchor" is left out; a "?query" is not).
std::string LinkExtension(std::string_view url);
