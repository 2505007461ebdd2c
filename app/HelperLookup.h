#pragma once
// Lookups in the settings file for the programs and paths the user configured in
// the helper applications dialog and the path list.
#include <string>
#include <string_view>

// Values the helper table may hold instead of a program.
inline constexpr const char* SaveToDiskValue = "(Save to disk)";
inline constexpr const char* DefaultAppValue = "(Default App.)";

// The program configured for a file extension given with its dot (".htm"); the
// key is the extension without the dot, compared without regard to case. Empty
// when the settings file does not exist or the extension is empty.
std::string HelperForExtension(const std::string& settingsFile, std::string_view extension);

// The full path stored under a description of the search path list; empty when missing.
std::string PathForDescription(const std::string& settingsFile, std::string_view description);

// The program of the "Edit" tool button; empty when none is configured.
std::string EditorProgram(const std::string& settingsFile);

// The caption the "Edit" tool button takes from the editor's path: the file name
// lower-cased, cut at its first ".", with the first letter upper-cased
// ("C:\WIN\WRITE.EXE" gives "Write").
std::string EditorCaption(std::string_view programPath);
