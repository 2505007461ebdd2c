#include "search/SearchRequest.h"

#include <algorithm>

#include "search/SearchText.h"
#include "search/TFileScan.h"
#include "util/ProgramFolder.h"
#include "util/TIniFile.h"
#include "util/Utilities.h"

namespace {

constexpr std::string_view Section = "KOVRA";

const char* const DefaultBanner =
    "<H4><IMG SRC=%exedir%KOVRAJ.GIF><BR>You can change the color of screen by goto [OPTIONS | Viewer "
    "Preference]. You may display your own message and logo here by goto [OPTIONS | Search Engine "
    "Preferences].</H4>";

std::string ComparisonItem(int index)
{
    const auto& items = ComparisonItems();
    return index >= 0 && size_t(index) < items.size() ? items[size_t(index)] : std::string();
}

std::string FileNameOf(const std::string& path)
{
    const std::string native = ToNativeSeparators(path);
    return native.substr(native.rfind('/') + 1);
}

// Length of the UTF-8 sequence starting at pos, or 1 for a byte that starts none.
size_t Utf8SequenceLength(std::string_view text, size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length == 1 || pos + length > text.size())
        return 1;
    for (size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80)
            return 1;
    }
    return length;
}

TSort SortFromPage(TPageSort sort, TSort current)
{
    switch (sort) {
    case TPageSort::NoSorting:
    case TPageSort::FileDate: return TSort::stDate;
    case TPageSort::FileSize: return TSort::stSize;
    case TPageSort::FileTitle: return TSort::stTitle;
    case TPageSort::Unchanged: break;
    }
    return current;
}

} // namespace

const std::vector<std::string>& ComparisonItems()
{
    static const std::vector<std::string> items = {"=", ">", ">=", "<", "<="};
    return items;
}

std::string SearchSettingsFileName()
{
    return ProgramDir() + "KOVRA32.INI";
}

std::string ResultFileFromSettings(const TIniFile& settings)
{
    return ResultFilePath(settings.ReadString(Section, "Result_File", WritableDir() + "KVRESULT.HTM"),
                          settings.ReadInteger(Section, "LocalRF", 1));
}

std::string ResultFilePath(const std::string& resultFile, int localRF)
{
    switch (localRF) {
    case 2: return ProgramDir() + FileNameOf(resultFile);
    // Never a fixed name in the shared temporary folder, where anyone can
    // plant a link or a file of theirs ahead of us.
    case 3: {
        // Without a private temporary folder, the user's own settings folder.
        std::string dir = PrivateTempDir();
        return (dir.empty() ? WritableDir() : dir) + FileNameOf(resultFile);
    }
    default: return ToNativeSeparators(resultFile);
    }
}

std::string CutToCharacters(std::string_view text, size_t maxCharacters)
{
    size_t pos = 0;
    for (size_t count = 0; pos < text.size() && count < maxCharacters; ++count)
        pos += Utf8SequenceLength(text, pos);
    return std::string(text.substr(0, pos));
}

TSearchChoices DefaultSearchChoices(const TIniFile& settings)
{
    TSearchChoices c;
    c.FileMasks = settings.ReadString(Section, "FileType", "*.htm");
    c.Directory = GetSearchDirectory(settings.ReadString(Section, "Directory", "C:\\"), settings);
    c.IncludeSubDirs = settings.ReadBool(Section, "IncludeSub", true);
    c.ConvertSymbols = settings.ReadBool(Section, "ConvertSymbol", true);
    c.GenerateSummary = settings.ReadBool(Section, "GetSummary", true);
    c.ContextPassages = settings.ReadBool(Section, "ShowPassages", true) ? DefaultContextPassages : 0;
    c.SizeComparison = ComparisonItem(settings.ReadInteger(Section, "FSComp", 4));
    c.SizeLimit = settings.ReadInteger(Section, "FSize", 32000);
    c.AgeComparison = ComparisonItem(settings.ReadInteger(Section, "FGComp", 0));
    c.AgeLimit = settings.ReadInteger(Section, "FGDays", 0);
    c.ResultFile = ResultFileFromSettings(settings);
    c.Banner = settings.ReadString(Section, "SrhBanner", DefaultBanner);
    return c;
}

TFileCompType CompFromText(std::string_view text)
{
    if (text == "=")
        return TFileCompType::fctEqual;
    if (text == ">")
        return TFileCompType::fctGreaterThan;
    if (text == "<")
        return TFileCompType::fctLessThan;
    if (text == ">=")
        return TFileCompType::fctGreaterThanOrEqual;
    if (text == "<=")
        return TFileCompType::fctLessThanOrEqual;
    return TFileCompType::fctNone;
}

std::string GetSearchDirectory(std::string_view boxText, const TIniFile& settings)
{
    std::string dir;
    if (boxText.substr(0, 2) == "- ")
        dir = settings.ReadString("SrhPath", boxText.substr(2), "");
    else
        dir = std::string(boxText);
    ExpandExeMacros(dir);
    return dir;
}

std::vector<std::string> PrepareSearchStrings(const TSearchChoices& choices)
{
    // The search strings hold at most 255 characters: a longer text is cut, not
    // refused, so a pasted paragraph still searches for its beginning.
    // With "Convert HTML symbol to code" the words stay as typed: the scanner
    // seeks each in every form it may be stored in, the entity text among them.
    const std::string text = CutToCharacters(choices.SearchText, MaxSearchTextLength);
    std::vector<std::string> strings;
    if (choices.SearchType == TPageSearchType::Phrase)
        strings.push_back(text);
    else
        SplitWords(text, text.find('+') != std::string::npos ? '+' : ' ', strings);
    return strings;
}

void ApplySearchChoices(TFileScan& scan, const TSearchChoices& choices)
{
    scan.Directory = choices.Directory;
    scan.FileSpecs = choices.FileMasks;
    scan.IncSubDir = choices.IncludeSubDirs;
    scan.SearchStrings = PrepareSearchStrings(choices);
    scan.SearchType = choices.SearchType == TPageSearchType::AnyWords ? TSearchType::st_Or : TSearchType::st_And;
    scan.Sort = SortFromPage(choices.Sort, scan.Sort);
    scan.CaseSense = choices.CaseSensitive;
    scan.SearchForms = choices.ConvertSymbols ? TStoredForms::All : TStoredForms::Typed;
    scan.ShowSize = choices.ShowFileSize;
    scan.ShowDate = choices.ShowFileDate;
    if (choices.WholeWord) {
        const TCharSet wholeWordSet = MakeCharSet("\n\r !,./:?");
        scan.BeforeSet = wholeWordSet;
        scan.AfterSet = wholeWordSet;
        scan.SearchStringType = TStringSearchType::sst_Word;
    } else {
        scan.SearchStringType = TStringSearchType::sst_Normal;
    }
    const bool ageTest = choices.AgeLimit != 0;
    scan.FileAge = ageTest ? choices.AgeLimit : 0;
    scan.FileAgeComp = ageTest ? CompFromText(choices.AgeComparison) : TFileCompType::fctNone;
    const bool sizeTest = choices.SizeLimit != 0;
    scan.FileSize = sizeTest ? choices.SizeLimit : 0;
    scan.FileSizeComp = sizeTest ? CompFromText(choices.SizeComparison) : TFileCompType::fctNone;
    scan.OutputFile = choices.ResultFile;
    std::string header = choices.Banner;
    ExpandExeMacros(header);
    scan.Header = header;
    scan.Footer.clear();
    scan.MatchLimit = 0;
    scan.ShowTitle = true;
    scan.ShowSummary = choices.GenerateSummary;
    scan.ContextPassages = std::max(0, choices.ContextPassages);
    scan.SWFileDate = choices.ShowFileDate;
    scan.SWFileSize = choices.ShowFileSize;
    // The page sets these from their boxes' click handlers.
    scan.METASearch = choices.MetaOnly;
    scan.Reverse = choices.Reverse;
}

void RunSearch(TFileScan& scan, const TSearchChoices& choices)
{
    ApplySearchChoices(scan, choices);
    scan.SetStartScan(true);
}

void ApplyMainWindowDefaults(TFileScan& scan)
{
    scan.FileType = {TFileAttr::ftReadOnly, TFileAttr::ftHidden, TFileAttr::ftSystem, TFileAttr::ftArchive,
                     TFileAttr::ftNormal};
    scan.SetStartYear(1901);
    scan.SetStartMonth(1);
    scan.SetStartDay(1);
    scan.SetEndYear(3000);
    scan.SetEndMonth(1);
    scan.SetEndDay(1);
    scan.Header = "<H1>KOVRA Search</H1>";
    scan.Sort = TSort::stDate;
}
