#pragma once
// The search page's choices and how they become scanner settings. The page (GUI)
// and the command line fill the same struct and run the same function, so both
// search alike.
#include <string>
#include <string_view>
#include <vector>

#include "search/SearchTypes.h"

class TFileScan;
class TIniFile;

// Items of the "Search Type" list, in order.
enum class TPageSearchType { AnyWords, AllWords, Phrase };
// Items of the "Sort By" list, in order; Unchanged is the list's empty item.
enum class TPageSort { NoSorting, FileDate, FileSize, FileTitle, Unchanged };

// The comparison items of the size and age boxes, in order: "=", ">", ">=", "<", "<=".
const std::vector<std::string>& ComparisonItems();

// What the user chose on the search page.
struct TSearchChoices {
    std::string SearchText;
    TPageSearchType SearchType = TPageSearchType::AnyWords;
    bool CaseSensitive = false;
    bool WholeWord = false;
    bool MetaOnly = false;
    bool ConvertSymbols = true;
    std::string FileMasks = "*.htm";
    std::string Directory; // as GetSearchDirectory answers it
    bool IncludeSubDirs = true;
    std::string SizeComparison = "<=";
    int SizeLimit = 32000; // 0 switches the size test off
    std::string AgeComparison = "=";
    int AgeLimit = 0; // days; 0 switches the age test off
    TPageSort Sort = TPageSort::NoSorting;
    bool Reverse = false;
    bool GenerateSummary = true;
    int ContextPassages = 3; // passages of context under each hit; 0 = none
    bool ShowFileSize = true;
    bool ShowFileDate = true;
    std::string ResultFile; // the results page
    std::string Banner;     // HTML on top of the results page, macros not yet expanded
};

// Passages shown under a hit when the "ShowPassages" setting is on.
inline constexpr int DefaultContextPassages = 3;

// The settings file of the search engine: ProgramDir() + "KOVRA32.INI".
std::string SearchSettingsFileName();

// The page's defaults from section "KOVRA" of the settings file.
TSearchChoices DefaultSearchChoices(const TIniFile& settings);

// Where the results page goes by the "Result_File" and "LocalRF" settings.
std::string ResultFileFromSettings(const TIniFile& settings);
// The results-path rule: localRF 2 puts the file name of resultFile in the
// program folder, 3 in the temporary folder; any other value keeps resultFile.
std::string ResultFilePath(const std::string& resultFile, int localRF);

// The text cut to its first maxCharacters characters (UTF-8; a byte that is not
// part of a valid sequence counts as one character).
std::string CutToCharacters(std::string_view text, size_t maxCharacters);

// "=" -> fctEqual, ">" -> fctGreaterThan, "<" -> fctLessThan, ">=", "<=";
// anything else -> fctNone.
TFileCompType CompFromText(std::string_view text);

// The directory box's text as a directory: "- " + key names an entry of section
// "SrhPath" (empty when missing); the program-folder macros are expanded.
std::string GetSearchDirectory(std::string_view boxText, const TIniFile& settings);

// The search strings of the typed text: the whole phrase, or the pieces between
// "+" signs, or the words. A text longer than 255 characters is cut to its first
// 255. The strings keep the typed characters; with ConvertSymbols the scanner
// seeks them in all their stored forms.
std::vector<std::string> PrepareSearchStrings(const TSearchChoices& choices);

// Sets every scanner property the page controls (the page's Start button,
// without starting the search). The whole-word set is LF, CR, space, "!", ",",
// ".", "/", ":", "?".
void ApplySearchChoices(TFileScan& scan, const TSearchChoices& choices);

// ApplySearchChoices, then runs the search; returns when the page file is written.
void RunSearch(TFileScan& scan, const TSearchChoices& choices);

// The properties the main window's own scanner carries over the component's
// defaults: every file kind, the date window 1901-01-01 .. 3000-01-01, the
// banner heading and date order.
void ApplyMainWindowDefaults(TFileScan& scan);
