#include "search/TFileScan.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

#include "search/ResultsPage.h"
#include "util/FileMask.h"
#include "util/FileReplace.h"
#include "util/Utilities.h"

struct TFileScan::TFileEntry {
    const char* name;
    struct stat st;
    bool regular;
    mutable bool timeKnown = false;
    mutable TDateTime time = 0;

    TDateTime Modified() const
    {
        if (!timeKnown) {
            time = DateTimeFromUnixTime(st.st_mtim.tv_sec);
            timeKnown = true;
        }
        return time;
    }
};

struct TFileScan::TWalkState {
    bool ended = false;
    TDateTime endOfToday = 0;
    bool dateWindow = false;
    TDateTime windowStart = 0;
    TDateTime windowEnd = 0;
    std::vector<std::string_view> masks; // FileSpecs split, each mask once
};

// Closes a descriptor when the scope ends, also when an event handler throws.
class TFileScan::TFdCloser {
public:
    explicit TFdCloser(int fd) : FFd(fd) {}
    ~TFdCloser() { reset(); }
    TFdCloser(const TFdCloser&) = delete;
    TFdCloser& operator=(const TFdCloser&) = delete;
    TFdCloser(TFdCloser&& other) noexcept : FFd(std::exchange(other.FFd, -1)) {}
    TFdCloser& operator=(TFdCloser&& other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.FFd, -1));
        return *this;
    }

    int fd() const { return FFd; }
    void reset(int fd = -1)
    {
        if (FFd >= 0)
            close(FFd);
        FFd = fd;
    }

private:
    int FFd;
};

// One folder of the walk: its descriptor (given up deep down while a
// subfolder is walked), its depth, the length of its path, and the next entry
// of its listing to look at for subfolders.
struct TFileScan::TWalkFrame {
    TFdCloser dir;
    size_t depth = 0;
    size_t pathLength = 0;
    struct stat self {}; // what the descriptor must open again
    size_t nextEntry = 0;
};

namespace {

// Directory levels that keep their descriptor open while the walk is below
// them. Deeper down a folder closes its descriptor while a subfolder is
// walked and opens itself again afterwards, so a tree of any depth needs
// only a few descriptors.
constexpr size_t HeldDirectoryLevels = 16;

bool SameFile(int fd, const struct stat& expected)
{
    struct stat st;
    return fd >= 0 && fstat(fd, &st) == 0 && st.st_dev == expected.st_dev && st.st_ino == expected.st_ino;
}

// Opens the folder again after a subfolder was walked: through the
// subfolder's ".." when that leads back (it does not for a linked folder),
// else by its path; either way it must be the same folder as before.
int ReopenDirectory(int subFd, const std::string& dirPath, const struct stat& expected)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        int fd = attempt == 0 ? (subFd >= 0 ? openat(subFd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1)
                              : open(dirPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (SameFile(fd, expected))
            return fd;
        if (fd >= 0)
            close(fd);
    }
    return -1;
}

std::string CurrentDirectoryPath()
{
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

bool IsDefaultDriveRoot(const std::string& dir)
{
    return (dir.size() == 2 || (dir.size() == 3 && dir[2] == '/')) && (dir[0] == 'C' || dir[0] == 'c') &&
           dir[1] == ':';
}

// The directory as a native path with a trailing "/": the original platform's
// default drive root stands for the home directory, an empty one for the current.
std::string NativeSearchDirectory(const std::string& directory)
{
    std::string dir = ToNativeSeparators(directory);
    if (dir.empty())
        dir = CurrentDirectoryPath();
    else if (IsDefaultDriveRoot(dir))
        dir = HomeDirectory();
    if (dir.back() != '/')
        dir += '/';
    return dir;
}

// The masks of a FileSpecs value in order, a repeated one (letter case
// aside: masks match ignoring it) kept only the first time.
std::vector<std::string_view> DistinctMasks(std::string_view specs)
{
    std::vector<std::string_view> masks;
    std::unordered_set<std::string> seen;
    size_t start = 0;
    while (true) {
        const size_t semicolon = specs.find(';', start);
        const std::string_view mask = specs.substr(start, semicolon - start);
        std::string key(mask);
        std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        if (seen.insert(std::move(key)).second)
            masks.push_back(mask);
        if (semicolon == std::string_view::npos)
            break;
        start = semicolon + 1;
    }
    return masks;
}

std::string RightAligned(const std::string& text, size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

TFileAttrSet AttributesOf(std::string_view name, const struct stat& st)
{
    TFileAttrSet attrs;
    if (!name.empty() && name[0] == '.')
        attrs.include(TFileAttr::ftHidden);
    if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        attrs.include(TFileAttr::ftSystem);
    return attrs;
}

TDateTime EncodeWindowDate(int year, int month, int day, const char* which)
{
    if (month == 0 || day == 0) {
        throw EInvalidStartEndDate(std::string("Invalid ") + which + " Date: Month and Day must be set when Year is set");
    }
    return EncodeDate(year, month, day);
}

} // namespace

TFileScan::TFileScan() : BeforeSet(MakeCharSet(" ")), AfterSet(MakeCharSet(" ,."))
{
    FFirstBlock.resize(BlockSize);
    FNextBlock.resize(BlockSize);
}

TFileScan::~TFileScan() = default;

void TFileScan::SetStartScan(bool value)
{
    if (value)
        Execute();
}

size_t TFileScan::HitCount() const
{
    size_t count = 0;
    for (const TFoundLine& line : FFoundList)
        count += line.Result ? 1 : 0;
    return count;
}

void TFileScan::CheckYear(int value, int current, const char* message) const
{
    if (value != current && value != 0 && value <= 1900)
        throw EInvalidStartEndDate(message);
}

void TFileScan::SetStartYear(int value)
{
    CheckYear(value, FStartYear, "Invalid Start Year: Year Must be > 1900 - Or Equal 0");
    FStartYear = value;
}

void TFileScan::SetEndYear(int value)
{
    CheckYear(value, FEndYear, "Invalid End Year: Year Must be > 1900 or Equal 0");
    FEndYear = value;
}

void TFileScan::SetStartMonth(int value)
{
    if (value != FStartMonth && value != 0 && (value < 1 || value > 12))
        throw EInvalidStartEndDate("Invalid Start Month: Month Must be 0 < Month > 13 - Or Equal to 0");
    FStartMonth = value;
}

void TFileScan::SetEndMonth(int value)
{
    if (value != FEndMonth && value != 0 && (value < 1 || value > 12))
        throw EInvalidStartEndDate("Invalid End Month: Month Must be 0 < Month > 13 - Or Equal to 0");
    FEndMonth = value;
}

void TFileScan::SetStartDay(int value)
{
    if (value != FStartDay && value != 0 && (value < 1 || value > DaysInMonth(FStartYear, FStartMonth)))
        throw EInvalidStartEndDate("Invalid Start Day: Day Must be 0 > Day < (Max for Month)");
    FStartDay = value;
}

void TFileScan::SetEndDay(int value)
{
    if (value != FEndDay && value != 0 && (value < 1 || value > DaysInMonth(FEndYear, FEndMonth)))
        throw EInvalidStartEndDate("Invalid End Day: Day Must be 0 > Day < (Max for Month)");
    FEndDay = value;
}

void TFileScan::Execute()
{
    Aborted = false;
    if (!AppendItems)
        FFoundList.clear();
    if (OnStartSearch)
        OnStartSearch(*this);
    TWalkState state;
    PrepareSearch(state);
    const bool savedAppend = AppendItems;
    if (SearchAllDrives)
        AppendItems = true;
    for (const std::string& root : FScope.Folders) {
        if (state.ended || Aborted)
            break;
        Walk(root, state);
    }
    AppendItems = savedAppend;
    if (!OutputFile.empty())
        WriteResults();
    if (OnEndSearch)
        OnEndSearch(*this);
}

void TFileScan::PrepareSearch(TWalkState& state)
{
    PrepareMatcher();
    FVisited.clear();
    FUnsearched.clear();
    FScope = TSearchScope{};
    FScope.Folders = SearchAllDrives ? MountRoots() : std::vector<std::string>{NativeSearchDirectory(Directory)};
    FScope.IncSubDir = IncSubDir;
    FScope.Masks = FileSpecs;
    FScope.SizeComp = FileSizeComp;
    FScope.SizeLimit = FileSize;
    FScope.AgeComp = FileAgeComp;
    FScope.AgeLimit = FileAge;
    if (FEndYear != 0 && FStartYear == 0) {
        FStartYear = 1900;
        FStartMonth = 1;
        FStartDay = 1;
    }
    // A year without its month or day names no date: say so before walking
    // rather than failing somewhere in the middle of the tree.
    state.masks = DistinctMasks(FileSpecs);
    state.dateWindow = FStartYear != 0 && FEndYear != 0;
    if (state.dateWindow) {
        state.windowStart = EncodeWindowDate(FStartYear, FStartMonth, FStartDay, "Start");
        state.windowEnd = EncodeWindowDate(FEndYear, FEndMonth, FEndDay, "End");
    }
}

void TFileScan::Walk(const std::string& root, TWalkState& state)
{
    std::string dirPath = NativeSearchDirectory(root);
    TFdCloser dir(open(dirPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd() < 0) {
        NoteUnsearched(dirPath, errno);
        return;
    }
    struct stat st;
    if (fstat(dir.fd(), &st) != 0 || !FVisited.insert({st.st_dev, st.st_ino}).second)
        return;
    // The folders from the root down to the one being walked, each with the
    // place its subfolder loop has reached: a tree of any depth needs no more
    // of the call stack than a flat one.
    std::vector<TWalkFrame> stack;
    stack.push_back(TWalkFrame{std::move(dir), 0, dirPath.size(), st});
    EnterDirectory(stack.back(), dirPath, state);
    while (!stack.empty() && !Aborted && !state.ended) {
        if (!DescendIntoNextSubDirectory(stack, dirPath))
            LeaveDirectory(stack, dirPath);
        else
            EnterDirectory(stack.back(), dirPath, state);
    }
}

std::string DescribeUnsearched(const TUnsearchedDirectory& dir)
{
    return dir.Path + ": " + std::strerror(dir.Error);
}

void TFileScan::NoteUnsearched(const std::string& dirPath, int error)
{
    FUnsearched.push_back({dirPath, error});
}

void TFileScan::EnterDirectory(TWalkFrame& frame, const std::string& dirPath, TWalkState& state)
{
    const int dirFd = frame.dir.fd();
    if (FileAgeComp != TFileCompType::fctNone)
        state.endOfToday = Today() + 0.99999;
    while (FListings.size() <= frame.depth)
        FListings.emplace_back();
    TDirectoryListing& listing = FListings[frame.depth];
    if (!listing.Read(dirFd)) {
        NoteUnsearched(dirPath, errno);
        frame.nextEntry = SIZE_MAX; // nothing of it is walked
        return;
    }
    if (frame.depth + 1 >= HeldDirectoryLevels && fstat(dirFd, &frame.self) != 0) {
        NoteUnsearched(dirPath, errno);
        frame.nextEntry = SIZE_MAX;
        return;
    }
    const bool showHidden = FileType.contains(TFileAttr::ftHidden);
    const bool showSystem = FileType.contains(TFileAttr::ftSystem);
    // A file that several masks match is examined (and listed) once.
    std::vector<bool> matched(listing.size(), false);
    for (std::string_view mask : state.masks) {
        for (size_t i = 0; i < listing.size(); ++i) {
            if (Aborted || state.ended)
                return;
            const std::string_view name = listing.nameView(i);
            if (matched[i] || listing.entry(i).type == DT_DIR || !MatchesMask(name, mask))
                continue;
            matched[i] = true;
            if (name[0] == '.' && !showHidden)
                continue;
            TFileEntry entry{listing.name(i), {}, false};
            if (fstatat(dirFd, entry.name, &entry.st, 0) != 0 || S_ISDIR(entry.st.st_mode))
                continue; // vanished, a dangling link, or a directory
            entry.regular = S_ISREG(entry.st.st_mode);
            if (!entry.regular && !showSystem)
                continue;
            ExamineFile(dirFd, dirPath, entry, state);
        }
    }
}

void TFileScan::ExamineFile(int dirFd, const std::string& dirPath, const TFileEntry& entry, TWalkState& state)
{
    BeginFile(entry.st.st_size);
    FPath.assign(dirPath).append(entry.name);
    if (CurrInfoLabel)
        CurrInfoLabel(FPath + std::string(78, ' '));
    const bool sizePasses = CompareWith(FCurrentSize, FileSizeComp, FileSize);
    FScope.SizeSkipped += sizePasses ? 0 : 1;
    bool passes = sizePasses && PassesDateTests(entry, state);
    if (passes && !SearchStrings.empty())
        passes = ContentTest(dirFd, entry.name, FPath, entry.regular) >= 1;
    if (passes)
        StoreHit(dirFd, dirPath, entry);
    AfterFile(state);
}

bool TFileScan::PassesDateTests(const TFileEntry& entry, TWalkState& state)
{
    if (FileAgeComp != TFileCompType::fctNone) {
        const double age = std::trunc(state.endOfToday - entry.Modified());
        if (!CompareWith(int64_t(age), FileAgeComp, FileAge)) {
            ++FScope.AgeSkipped;
            return false;
        }
    }
    if (state.dateWindow) {
        const TDateTime modified = entry.Modified();
        return state.windowStart < modified && modified < state.windowEnd;
    }
    return true;
}

void TFileScan::AfterFile(TWalkState& state)
{
    if (ProcessMessages)
        ProcessMessages();
    if (Aborted) {
        FFoundList.push_back({AbortedLine, nullptr});
        state.ended = true;
    } else if (MatchLimit >= 1 && FFoundList.size() >= size_t(MatchLimit)) {
        FFoundList.push_back({MatchLimitLine, nullptr});
        state.ended = true;
    }
}

void TFileScan::StoreHit(int dirFd, const std::string& dirPath, const TFileEntry& entry)
{
    const std::string_view name = entry.name;
    if (OnFoundFile)
        OnFoundFile(*this, dirPath, {name, int64_t(entry.st.st_size), entry.Modified(), AttributesOf(name, entry.st)});
    const std::string path = IncDirName ? dirPath + std::string(name) : std::string(name);
    std::string line = DisplayLine(path, entry, dirFd);
    ExtractFromFile(dirFd, entry.name, dirPath + std::string(name), entry.regular);
    auto hit = std::make_unique<TOneResult>(FInfo.Title, FCurrentSize, entry.Modified(), path, FInfo.Summary);
    if (ContextPassages > 0)
        hit->SetPassages(PassagesOfCurrentFile(dirPath + std::string(name)));
    FFoundList.push_back({std::move(line), std::move(hit)});
}

std::string TFileScan::DisplayLine(const std::string& path, const TFileEntry& entry, int dirFd) const
{
    std::string line = path;
    if (ShowSize)
        line += "  " + RightAligned(FormatThousands(entry.st.st_size), 12);
    if (ShowDate) {
        TDateTimeParts p = DecodeDateTime(entry.Modified());
        if (p.year < 1930)
            p.year += 100;
        char date[32], time[32];
        std::snprintf(date, sizeof date, "%02d/%02d/%02d", p.year, p.month, p.day);
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", p.hour, p.minute, p.second);
        line += "  " + RightAligned(date, 10) + "  " + RightAligned(time, 8);
    }
    if (ShowAttr) {
        const TFileAttrSet attrs = AttributesOf(entry.name, entry.st);
        line += "  ";
        line += faccessat(dirFd, entry.name, W_OK, AT_EACCESS) != 0 ? 'R' : '-';
        line += attrs.contains(TFileAttr::ftHidden) ? 'H' : '-';
        line += attrs.contains(TFileAttr::ftSystem) ? 'S' : '-';
        line += "---"; // no volume labels, never a directory, no archive flag
    }
    return line;
}

bool TFileScan::IsUnvisitedSubDirectory(int dirFd, const TDirectoryListing& listing, size_t i, struct stat& st)
{
    const unsigned char type = listing.entry(i).type;
    // A leading dot keeps the walk out of hidden folders (and "." and
    // ".."); a dot further on is part of a name such as "python3.11".
    if (listing.name(i)[0] == '.' || (type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN))
        return false;
    if (fstatat(dirFd, listing.name(i), &st, 0) != 0 || !S_ISDIR(st.st_mode))
        return false;
    // Linked directories are followed, but each one is walked once, so loops end.
    return FVisited.insert({st.st_dev, st.st_ino}).second;
}

bool TFileScan::DescendIntoNextSubDirectory(std::vector<TWalkFrame>& stack, std::string& dirPath)
{
    if (!IncSubDir)
        return false;
    TWalkFrame& frame = stack.back();
    const TDirectoryListing& listing = FListings[frame.depth];
    const int dirFd = frame.dir.fd();
    for (; frame.nextEntry < listing.size(); ++frame.nextEntry) {
        const size_t i = frame.nextEntry;
        const std::string_view name = listing.nameView(i);
        struct stat st;
        if (!IsUnvisitedSubDirectory(dirFd, listing, i, st))
            continue;
        TFdCloser sub(openat(dirFd, listing.name(i), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        const int openError = errno;
        // Another file system begins here: /proc, /sys and the like are not
        // documents, and walking them never ends or hangs on a device.
        if (sub.fd() >= 0 && st.st_dev != frame.self.st_dev && IsVirtualFileSystem(sub.fd()))
            continue;
        if (OnFoundDirectory)
            OnFoundDirectory(*this, dirPath, {name, int64_t(st.st_size), DateTimeFromUnixTime(st.st_mtim.tv_sec),
                                              AttributesOf(name, st)});
        dirPath.append(name).push_back('/');
        if (sub.fd() < 0) {
            NoteUnsearched(dirPath, openError); // unreadable: skipped, and said so
            dirPath.resize(frame.pathLength);
            continue;
        }
        ++frame.nextEntry;
        // Deep down a folder gives up its descriptor while a subfolder is walked.
        if (frame.depth + 1 >= HeldDirectoryLevels)
            frame.dir.reset();
        const size_t depth = frame.depth + 1;
        stack.push_back(TWalkFrame{std::move(sub), depth, dirPath.size(), st}); // frame is gone from here on
        return true;
    }
    return false;
}

void TFileScan::LeaveDirectory(std::vector<TWalkFrame>& stack, std::string& dirPath)
{
    TWalkFrame left = std::move(stack.back());
    stack.pop_back();
    if (stack.empty())
        return;
    TWalkFrame& parent = stack.back();
    dirPath.resize(parent.pathLength);
    if (parent.dir.fd() >= 0)
        return;
    parent.dir.reset(ReopenDirectory(left.dir.fd(), dirPath, parent.self));
    if (parent.dir.fd() < 0) {
        NoteUnsearched(dirPath, errno ? errno : ENOENT); // its later subfolders are not reached
        parent.nextEntry = SIZE_MAX;
    }
}

void TFileScan::WriteResults()
{
    TResultsPageSettings settings;
    settings.BGColor = BGColor;
    settings.Header = Header;
    settings.Footer = Footer;
    settings.SearchStrings = SearchStrings;
    settings.Sort = Sort;
    settings.Reverse = Reverse;
    settings.METASearch = METASearch;
    settings.SWFileDate = SWFileDate;
    settings.SWFileSize = SWFileSize;
    settings.MatchLimit = MatchLimit;
    settings.ScopeLines = DescribeSearchScope(FScope, TScopeReader::SearchPage);
    const std::string page = ResultsPageText(FFoundList, settings);
    const std::string path = ToNativeSeparators(OutputFile);
    // The previous page survives any failure to write the new one whole.
    RemoveStaleTemporaries(ExtractDir(path), ResultsTemporaryPrefix);
    if (const int error = ReplaceFileContents(path, page, ResultsTemporaryPrefix))
        throw EResultsFileError("Cannot write the results page " + path + ": " + std::strerror(error));
}
