#pragma once
// The search component: walks a directory tree, selects files by name masks,
// attributes, size, age and a date window, tests their content for the search
// strings, and collects the hits, then writes the results page.
//
// It runs on the caller's thread. After every file it calls ProcessMessages, the
// owner's hook (the window pumps its events there, the command line checks for
// Ctrl+C); setting Aborted from that hook ends the search in an orderly way.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "search/DocumentInfo.h"
#include "search/FileSystem.h"
#include "search/Matcher.h"
#include "search/SearchScope.h"
#include "search/SearchTypes.h"
#include "search/TOneResult.h"
#include "search/TSearchPattern.h"
#include "util/DateTime.h"
#include "util/Exception.h"

// A start or end date the setters refuse.
QUILLON_DECLARE_ERROR(EInvalidStartEndDate);
// The results page could not be written.
QUILLON_DECLARE_ERROR(EResultsFileError);

// The directory-entry record handed to OnFoundFile and OnFoundDirectory.
struct TSearchRec {
    std::string_view Name;
    int64_t Size = 0;
    TDateTime Time = 0;
    TFileAttrSet Attr;
};

// A folder the walk could not search, and why (an errno value).
struct TUnsearchedDirectory {
    std::string Path;
    int Error = 0;
};

// "<path>: <reason>", as both the command line and the search page say it.
std::string DescribeUnsearched(const TUnsearchedDirectory& dir);

class TFileScan;
using TFoundFileEvent = std::function<void(TFileScan& sender, const std::string& dirPath, const TSearchRec& fileInfo)>;
using TFoundDirectoryEvent =
    std::function<void(TFileScan& sender, const std::string& dirPath, const TSearchRec& dirInfo)>;
using TStartSearchEvent = std::function<void(TFileScan& sender)>;
using TEndSearchEvent = std::function<void(TFileScan& sender)>;
using TBeforeBufferScanEvent =
    std::function<void(TFileScan& sender, const std::string& fileName, std::string_view searchString,
                       std::string_view fileBuffer, int readCount, bool caseSense)>;
using TAfterBufferScanEvent =
    std::function<void(TFileScan& sender, const std::string& fileName, std::string_view searchString,
                       std::string_view fileBuffer, int readCount, bool caseSense, bool scanSuccessful)>;
// Receives the progress label's caption (the file being examined).
using TInfoLabel = std::function<void(const std::string& caption)>;

// The two stop messages the found list can end with.
inline constexpr const char* AbortedLine = "   ***** Search Aborted by User *****   ";
inline constexpr const char* MatchLimitLine = "  *** Search Match Limit has been meet!  Search Stopped.";

// Names of the temporary files a results page is written through.
inline constexpr std::string_view ResultsTemporaryPrefix = ".quillon-page-";

// Files are read in blocks of this many bytes.
inline constexpr size_t BlockSize = 30000;

class TFileScan {
public:
    TFileScan();
    ~TFileScan();
    TFileScan(const TFileScan&) = delete;
    TFileScan& operator=(const TFileScan&) = delete;

    // Published properties, in published order, with their defaults.
    TFileAttrSet FileType{TFileAttr::ftNormal};
    bool IncSubDir = true;
    std::string Directory = "C:\\"; // "C:\" stands for the user's home directory
    bool SearchAllDrives = false;
    std::string FileSpecs = "*.*";
    std::vector<std::string> SearchStrings;
    TStringSearchType SearchStringType = TStringSearchType::sst_Normal;
    TSearchType SearchType = TSearchType::st_Or;
    bool CaseSense = false;
    // Typed: the search strings' bytes are sought as they stand. All: a string
    // holding characters outside ASCII is also found where a page stores them as
    // entities, numeric references, UTF-8 or Windows-1252 bytes (and, without
    // CaseSense, in their other letter case).
    TStoredForms SearchForms = TStoredForms::Typed;
    int32_t FileSize = 0;
    TFileCompType FileSizeComp = TFileCompType::fctNone;
    int32_t FileAge = 0;
    TFileCompType FileAgeComp = TFileCompType::fctNone;
    TInfoLabel CurrInfoLabel;
    // StartScan: see SetStartScan.
    bool ShowSize = false;
    bool ShowDate = false;
    bool ShowAttr = false;
    bool AppendItems = false;
    bool IncDirName = true;
    int32_t MatchLimit = 0;
    // StartYear ... EndDay: see the date accessors below.
    std::string BGColor;
    std::string Header;
    std::string Footer;
    std::string OutputFile;
    bool ShowTitle = false;
    bool ShowSummary = false;
    bool SWFileDate = false;
    bool SWFileSize = false;
    TSort Sort = TSort::stNone;
    bool METASearch = false;
    bool Reverse = false;
    // Passages of context shown under each hit's summary, at most this many;
    // 0 shows none and leaves the page as it always was.
    int ContextPassages = 0;

    // Events, in published order.
    TFoundFileEvent OnFoundFile;
    TFoundDirectoryEvent OnFoundDirectory;
    TStartSearchEvent OnStartSearch;
    TEndSearchEvent OnEndSearch;
    TBeforeBufferScanEvent OnBeforeBufferScan;
    TAfterBufferScanEvent OnAfterBufferScan;

    // Called once after every file examined.
    std::function<void()> ProcessMessages;
    // Stop request of the owner; reset when a search starts.
    bool Aborted = false;
    // Characters allowed just before / after a whole-word match.
    TCharSet BeforeSet;
    TCharSet AfterSet;

    // Writing true runs one search and returns when it is over; reads false.
    void SetStartScan(bool value);
    bool StartScan() const { return false; }

    // The date window; 0 = not set. The setters raise EInvalidStartEndDate.
    int StartYear() const { return FStartYear; }
    int StartMonth() const { return FStartMonth; }
    int StartDay() const { return FStartDay; }
    int EndYear() const { return FEndYear; }
    int EndMonth() const { return FEndMonth; }
    int EndDay() const { return FEndDay; }
    void SetStartYear(int value);
    void SetStartMonth(int value);
    void SetStartDay(int value);
    void SetEndYear(int value);
    void SetEndMonth(int value);
    void SetEndDay(int value);

    // One line per hit (with its record) and the stop messages (without).
    const TFoundList& FoundList() const { return FFoundList; }
    void ClearFoundList() { FFoundList.clear(); }
    // Number of lines that carry a hit record.
    size_t HitCount() const;
    // The folders of the last search that could not be opened or read to
    // the end (with the errno): the walk goes on past them, but says so.
    const std::vector<TUnsearchedDirectory>& UnsearchedDirectories() const { return FUnsearched; }
    // What the last search looked at, and how many files its size and age
    // filters left out.
    const TSearchScope& SearchScope() const { return FScope; }

    // The content test of one file: 1 when it matches, 0 when not, -1 when it
    // cannot be opened, -2 when reading fails.
    int SearchFile(const std::string& path);
    // Whether the string occurs in data[0, length) under the current rules;
    // without CaseSense the data and the string are upper-cased in place.
    bool ScanBuffer(char* data, std::string& searchString, size_t length);
    bool IsWholeWord(const char* data, size_t length, size_t matchPos, std::string_view searchString) const;
    // Fills the per-file title, summary and meta text once per file.
    void ExtractFileInfo(const std::string& path);
    // Writes the results page for the current found list to OutputFile.
    void WriteResults();

    // Per-file working values.
    const std::string& CurrentTitle() const { return FInfo.Title; }
    const std::string& CurrentSummary() const { return FInfo.Summary; }
    bool MetaFound() const { return FInfo.MetaFound; }
    const std::string& MetaText() const { return FInfo.MetaText; }
    int64_t CurrentSize() const { return FCurrentSize; }
    // Starts a new file for the content test and extraction (the walk does this).
    void BeginFile(int64_t size);

private:
    struct TFileEntry;
    struct TWalkState;
    class TFdCloser;
    struct TWalkFrame;

    void Execute();
    void PrepareSearch(TWalkState& state);
    void PrepareMatcher();
    void Walk(const std::string& root, TWalkState& state);
    void EnterDirectory(TWalkFrame& frame, const std::string& dirPath, TWalkState& state);
    bool IsUnvisitedSubDirectory(int dirFd, const TDirectoryListing& listing, size_t i, struct stat& st);
    bool DescendIntoNextSubDirectory(std::vector<TWalkFrame>& stack, std::string& dirPath);
    void LeaveDirectory(std::vector<TWalkFrame>& stack, std::string& dirPath);
    void NoteUnsearched(const std::string& dirPath, int error);
    void ExamineFile(int dirFd, const std::string& dirPath, const TFileEntry& entry, TWalkState& state);
    bool PassesDateTests(const TFileEntry& entry, TWalkState& state);
    void AfterFile(TWalkState& state);
    void StoreHit(int dirFd, const std::string& dirPath, const TFileEntry& entry);
    std::string DisplayLine(const std::string& path, const TFileEntry& entry, int dirFd) const;
    int ContentTest(int dirFd, const char* name, const std::string& path, bool regularFile);
    int ScanOpenFile(int fd, const std::string& path);
    bool ScanPass(const std::string& path, size_t length, int readCount, int& matchState);
    void ExtractFromFile(int dirFd, const char* name, const std::string& path, bool regularFile);
    void ExtractFromFirstBlock(const char* raw, size_t length, const std::string& path);
    std::vector<TPassage> PassagesOfCurrentFile(const std::string& path);
    int FirstBlockPassageCodePage(std::string_view raw) const;
    std::vector<TPassage> PassagesAroundMatch(const std::string& path, int codePage, bool markup,
                                              const TPassageRules& rules) const;
    TWordRules WordRules() const;
    void CheckYear(int value, int current, const char* message) const;
    void ResetFileInfo(const std::string& path);

    int FStartYear = 0, FStartMonth = 0, FStartDay = 0;
    int FEndYear = 0, FEndMonth = 0, FEndDay = 0;

    TFoundList FFoundList;
    TDocumentInfo FInfo;
    bool FInfoDone = false;
    int64_t FCurrentSize = 0;

    // Buffers of the content test, sized once per search and reused for every file.
    std::vector<TSearchPattern> FPatterns; // SearchStrings prepared for scanning
    std::vector<size_t> FPending;        // indexes into FPatterns still sought
    std::vector<char> FFirstBlock;       // raw bytes of a file's first block
    std::vector<char> FNextBlock;        // raw bytes of its later blocks
    std::vector<char> FScan;             // carried tail + current block, in comparison form
    std::vector<char> FUpperInfo;        // upper-cased copy for the extraction
    size_t FFirstBlockLength = 0;
    bool FFirstBlockValid = false;       // FFirstBlock holds the current file's first block
    bool FInfoFromFirstBlock = false;    // FInfo and FUpperInfo were taken from that block
    int64_t FPassOffset = 0;             // where in the file the data of the current pass starts
    int64_t FMatchOffset = -1;           // the start of the pass that found the first string; -1 none
    std::vector<TUnsearchedDirectory> FUnsearched;
    TSearchScope FScope;
    std::deque<TDirectoryListing> FListings; // one per directory depth, kept in place
    std::string FPath;                       // path of the file being examined
    std::set<std::pair<dev_t, ino_t>> FVisited;
};
