#pragma once
// Free-standing text, path, environment and process helpers shared by the shell
// and the search page. Paths are POSIX paths; a "\" in input is read as "/".
#include <optional>
#include <string>
#include <string_view>

// "\" -> "/" so that locations written for the original platform work here.
std::string ToNativeSeparators(std::string_view path);

// The path up to and including its last "/"; empty when there is none.
std::string ExtractDir(std::string_view path);
// The directory + "/" unless it already ends in "/" or is longer than 254 characters.
std::string AddBackslash(std::string_view dir);
// The directory + "/" unless it already ends in "/".
std::string EnsureBackslash(std::string_view dir);
std::string TrimLeadingSpaces(std::string_view text);

// Equal texts, ASCII letters compared without regard to case.
bool SameTextNoCase(std::string_view a, std::string_view b);
// ASCII case-insensitive search; npos when absent.
size_t FindNoCase(std::string_view text, std::string_view pattern, size_t from = 0);
std::string ReplaceFirstText(std::string_view text, std::string_view pattern, std::string_view replacement);
// Replaces every case-insensitive occurrence. Searching resumes after each
// replacement, so a replacement containing the pattern cannot loop forever.
void ReplaceAllText(std::string& text, std::string_view pattern, std::string_view replacement);

// Expands one "%exedriver%" (only when written in lower case) or else one "%exedir%".
void ExpandExeMacros(std::string& text);

// The value of an environment variable, name compared without regard to case;
// "/" when absent. "TEMP" falls back to TMPDIR, then TEMP, then "/tmp/".
std::string GetEnvValue(std::string_view name);
// The temporary folder, with a trailing "/".
std::string TempDir();

// Makes an existing directory the current one; raises EFileError when it cannot be entered.
void ChangeDir(std::string_view dir);
// Copies the source's bytes, modification time and permissions onto the target
// (replaced atomically). Copying a file onto itself leaves it untouched.
void CopyFileKeepDate(std::string_view source, std::string_view target);
// The whole content of a regular file, read into a string of its size;
// nothing when the file is missing, not a regular file, or unreadable.
std::optional<std::string> ReadFileBytes(std::string_view path);

// The executable file a program name stands for: a name with "/" as written,
// a bare name looked up on PATH, as a shell would; empty when there is none.
std::string LocateProgram(std::string_view name);

enum class RunResult { Started, NotFound, Failed };
// Starts the program with the argument as its one argument, without waiting.
RunResult StartProgram(std::string_view program, std::string_view argument);
// StartProgram with the error boxes' texts: empty on success, else
// program + " not found" or "Cannot execute, system error".
std::string RunProgram(std::string_view program, std::string_view argument);

// Runs the program with the parameter file as its one argument in the current
// directory, waits for it, and captures its standard output in "output.cgi" of
// the run folder (a private folder of this run, NewPrivateRunFolder). Answers
// false (output untouched) when it cannot start.
bool RunLocalProgram(std::string_view program, std::string_view paramFile, std::string_view runFolder,
                     std::string& outputFile);
