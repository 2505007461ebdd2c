// The content test and the title/summary extraction of TFileScan.
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "search/DisplayText.h"
#include "search/TFileScan.h"

namespace {

class TFileCloser {
public:
    explicit TFileCloser(int fd) : FFd(fd) {}
    ~TFileCloser() { close(FFd); }
    TFileCloser(const TFileCloser&) = delete;
    TFileCloser& operator=(const TFileCloser&) = delete;

private:
    int FFd;
};

constexpr size_t NotPending = size_t(-1);
// The bytes a page's character set is looked for in, for its passages.
constexpr size_t HeadLength = 4096;

} // namespace

void TFileScan::BeginFile(int64_t size)
{
    FInfoDone = false;
    FInfo.Title.clear();
    FFirstBlockValid = false;
    FInfoFromFirstBlock = false;
    FCurrentSize = size;
}

void TFileScan::ResetFileInfo(const std::string& path)
{
    FInfoDone = true;
    FInfoFromFirstBlock = false;
    FInfo.Title = path;
    FInfo.Summary.clear();
    FInfo.MetaFound = false;
    FInfo.MetaText.clear();
}

TWordRules TFileScan::WordRules() const
{
    return {SearchStringType, &BeforeSet, &AfterSet};
}

void TFileScan::PrepareMatcher()
{
    FPatterns.clear();
    size_t longest = 0;
    for (const std::string& s : SearchStrings) {
        FPatterns.emplace_back(s, CaseSense ? TLetterCase::Exact : TLetterCase::Fold, SearchForms);
        longest = std::max(longest, FPatterns.back().MaxLength());
    }
    // One block, the longest carried tail and the terminating NUL.
    FScan.resize(BlockSize + longest + 1);
}

int TFileScan::SearchFile(const std::string& path)
{
    PrepareMatcher();
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return -1;
    return ContentTest(AT_FDCWD, path.c_str(), path, S_ISREG(st.st_mode));
}

bool TFileScan::ScanBuffer(char* data, std::string& searchString, size_t length)
{
    if (!CaseSense) {
        UpperCaseAscii(data, data, length);
        UpperCaseAscii(searchString.data(), searchString.data(), searchString.size());
    }
    return ContainsString(data, length, searchString, WordRules());
}

bool TFileScan::IsWholeWord(const char* data, size_t length, size_t matchPos, std::string_view searchString) const
{
    return ::IsWholeWord(data, length, matchPos, searchString.size(), WordRules());
}

void TFileScan::ExtractFileInfo(const std::string& path)
{
    if (FInfoDone)
        return;
    struct stat st;
    const bool regular = stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    ExtractFromFile(AT_FDCWD, path.c_str(), path, regular);
}

void TFileScan::ExtractFromFile(int dirFd, const char* name, const std::string& path, bool regularFile)
{
    if (FInfoDone)
        return;
    ResetFileInfo(path);
    // Without titles and summaries nothing would be taken from the bytes.
    if ((!ShowTitle && !ShowSummary) || !HasDocumentExtension(path))
        return;
    if (FFirstBlockValid) {
        ExtractFromFirstBlock(FFirstBlock.data(), FFirstBlockLength, path);
        FInfoFromFirstBlock = true;
        return;
    }
    if (!regularFile)
        return;
    const int fd = OpenForReading(dirFd, name);
    if (fd < 0)
        return;
    TFileCloser closer(fd);
    const ptrdiff_t n = ReadBlock(fd, FFirstBlock.data(), BlockSize);
    if (n > 0)
        ExtractFromFirstBlock(FFirstBlock.data(), size_t(n), path);
}

void TFileScan::ExtractFromFirstBlock(const char* raw, size_t length, const std::string& path)
{
    FUpperInfo.resize(length);
    UpperCaseAscii(FUpperInfo.data(), raw, length);
    FInfo = ExtractDocumentInfo({raw, length}, {FUpperInfo.data(), length}, path,
                                ShowTitle ? TTitleOption::Extract : TTitleOption::Skip,
                                ShowSummary ? TSummaryOption::Extract : TSummaryOption::Skip);
    FInfoDone = true;
}

std::vector<TPassage> TFileScan::PassagesOfCurrentFile(const std::string& path)
{
    // Only pages and text files have text to show, and only the bytes the
    // content test or the extraction already read are looked at: the first
    // block, or the meta text of a meta-only search.
    if (SearchStrings.empty() || !HasDocumentExtension(path))
        return {};
    std::string_view raw;
    if (METASearch)
        raw = FInfo.MetaText;
    else if (FFirstBlockValid)
        raw = {FFirstBlock.data(), FFirstBlockLength};
    const bool markup = !METASearch && UpperCaseAscii(path.substr(path.size() - 4)) != ".TXT";
    // The extraction already upper-cased the first block and looked at its
    // code page; a meta text is looked at on its own.
    const bool firstBlock = !METASearch && FInfoFromFirstBlock;
    const int codePage = firstBlock ? FirstBlockPassageCodePage(raw)
                                    : DocumentCodePage(raw, UpperCaseAscii(raw.substr(0, HeadLength)));
    TPassageRules rules;
    rules.CaseSense = CaseSense;
    rules.FoldAllLetters = SearchForms == TStoredForms::All;
    rules.Word = WordRules();
    rules.MaxPassages = size_t(ContextPassages);
    const std::string_view upper = firstBlock ? std::string_view(FUpperInfo.data(), raw.size()) : std::string_view();
    std::vector<TPassage> passages = PagePassages(raw, codePage, markup, SearchStrings, rules, upper);
    // Words found only after the first block: the file is read again, but
    // only around the pass that found them.
    if (passages.empty() && !METASearch && FMatchOffset > 0)
        passages = PassagesAroundMatch(path, codePage, markup, rules);
    return passages;
}

// A declared character set stands in the head; without one the code page is
// the one the extraction guessed from the same bytes.
int TFileScan::FirstBlockPassageCodePage(std::string_view raw) const
{
    if (const int declared = DeclaredCodePage(std::string_view(FUpperInfo.data(), std::min(raw.size(), HeadLength))))
        return declared;
    return FInfo.CodePageDeclared ? GuessedCodePage(raw) : FInfo.CodePage;
}

std::vector<TPassage> TFileScan::PassagesAroundMatch(const std::string& path, int codePage, bool markup,
                                                     const TPassageRules& rules) const
{
    // Room before the pass for the words that lead up to the match, and
    // after it for the carried tail and the words that follow.
    constexpr int64_t Margin = 1024;
    const int fd = OpenForReading(AT_FDCWD, path.c_str());
    if (fd < 0)
        return {};
    TFileCloser closer(fd);
    const int64_t start = std::max<int64_t>(0, FMatchOffset - Margin);
    std::string window(BlockSize + 4 * size_t(Margin), '\0');
    const ssize_t n = pread(fd, window.data(), window.size(), start);
    if (n <= 0)
        return {};
    window.resize(size_t(n));
    size_t from = 0;
    // The window may begin inside a tag or a character: both are skipped.
    if (markup) {
        const size_t lt = window.find('<'), gt = window.find('>');
        if (gt != std::string::npos && gt < lt)
            from = gt + 1;
    }
    while (from < window.size() && (static_cast<unsigned char>(window[from]) & 0xC0) == 0x80)
        ++from;
    return PagePassages(std::string_view(window).substr(from), codePage, markup, SearchStrings, rules);
}

int TFileScan::ContentTest(int dirFd, const char* name, const std::string& path, bool regularFile)
{
    // Devices, FIFOs and sockets are never opened: reading them could block or
    // have side effects.
    if (!regularFile)
        return -1;
    const int fd = OpenForReading(dirFd, name);
    if (fd < 0)
        return -1;
    TFileCloser closer(fd);
    return ScanOpenFile(fd, path);
}

int TFileScan::ScanOpenFile(int fd, const std::string& path)
{
    FPending.clear();
    for (size_t i = 0; i < FPatterns.size(); ++i)
        FPending.push_back(i);
    int matchState = 0;
    FMatchOffset = -1;
    FPassOffset = 0;
    if (METASearch) {
        // Only the meta text is searched; the file is read for it alone.
        if (!FInfoDone) {
            const ptrdiff_t n = ReadBlock(fd, FFirstBlock.data(), BlockSize);
            FFirstBlockLength = n > 0 ? size_t(n) : 0;
            FFirstBlockValid = n >= 0;
            ExtractFromFile(AT_FDCWD, path.c_str(), path, true);
        }
        const std::string& meta = FInfo.MetaFound ? FInfo.MetaText : std::string();
        if (FScan.size() < meta.size() + 1)
            FScan.resize(meta.size() + 1);
        if (CaseSense)
            std::memcpy(FScan.data(), meta.data(), meta.size());
        else
            UpperCaseAscii(FScan.data(), meta.data(), meta.size());
        FScan[meta.size()] = '\0';
        if (!meta.empty())
            ScanPass(path, meta.size(), 1, matchState);
    } else {
        size_t tail = 0;
        int64_t consumed = 0;
        for (int readCount = 1;; ++readCount) {
            char* raw = readCount == 1 ? FFirstBlock.data() : FNextBlock.data();
            const ptrdiff_t n = ReadBlock(fd, raw, BlockSize);
            if (n < 0)
                return -2;
            if (readCount == 1) {
                FFirstBlockLength = size_t(n);
                FFirstBlockValid = true;
            }
            if (n == 0)
                break;
            FPassOffset = consumed - int64_t(tail);
            consumed += n;
            if (CaseSense)
                std::memcpy(FScan.data() + tail, raw, size_t(n));
            else
                UpperCaseAscii(FScan.data() + tail, raw, size_t(n));
            const size_t length = tail + size_t(n);
            FScan[length] = '\0';
            if (ScanPass(path, length, readCount, matchState))
                break;
            // ReadBlock only returns short at the end of the file.
            if (size_t(n) < BlockSize)
                break;
            // Carry the end of this pass so a string crossing the border is found.
            size_t longest = 0;
            for (size_t i : FPending)
                longest = std::max(longest, FPatterns[i].MaxLength());
            tail = std::min(longest, length);
            std::memmove(FScan.data(), FScan.data() + length - tail, tail);
        }
    }
    if (SearchType == TSearchType::st_Not)
        return matchState ? 0 : 1;
    return matchState;
}

bool TFileScan::ScanPass(const std::string& path, size_t length, int readCount, int& matchState)
{
    const TWordRules rules = WordRules();
    const std::string_view buffer(FScan.data(), length);
    bool anyFound = false;
    for (size_t& index : FPending) {
        const TSearchPattern& pattern = FPatterns[index];
        if (OnBeforeBufferScan)
            OnBeforeBufferScan(*this, path, pattern.Text(), buffer, readCount, CaseSense);
        const bool found = pattern.Find(FScan.data(), length, rules);
        if (OnAfterBufferScan)
            OnAfterBufferScan(*this, path, pattern.Text(), buffer, readCount, CaseSense, matchState != 0);
        if (!found)
            continue;
        if (FMatchOffset < 0)
            FMatchOffset = FPassOffset;
        if (SearchType != TSearchType::st_And) {
            matchState = 1;
            return true;
        }
        index = NotPending;
        anyFound = true;
    }
    if (SearchType == TSearchType::st_And && anyFound) {
        FPending.erase(std::remove(FPending.begin(), FPending.end(), NotPending), FPending.end());
        if (FPending.empty()) {
            matchState = 1;
            return true;
        }
    }
    return false;
}
