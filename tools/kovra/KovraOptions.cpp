#include "KovraOptions.h"

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <map>

namespace {

int ParseNumber(const std::string& text, const std::string& option)
{
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < -2147483647L || value > 2147483647L)
        throw EUsageError(option + " needs a whole number, not \"" + text + "\"");
    return int(value);
}

// A number of passages: 0 (none) up to a page's worth.
int ParseCount(const std::string& text, const std::string& option)
{
    const int value = ParseNumber(text, option);
    if (value < 0 || value > 20)
        throw EUsageError(option + " takes 0 to 20, not " + text);
    return value;
}

// "<=32000", ">= 5", "0" (off) into a comparison and a limit.
void ParseComparison(const std::string& text, const std::string& option, std::string& comparison, int& limit)
{
    size_t n = 0;
    while (n < text.size() && (text[n] == '<' || text[n] == '>' || text[n] == '='))
        ++n;
    const std::string op = text.substr(0, n);
    std::string number = text.substr(n);
    while (!number.empty() && number[0] == ' ')
        number.erase(0, 1);
    limit = ParseNumber(number, option);
    if (op.empty()) {
        if (limit != 0)
            throw EUsageError(option + " needs a comparison before the number, such as \"<=" + number + "\"");
        return;
    }
    if (CompFromText(op) == TFileCompType::fctNone)
        throw EUsageError(option + ": unknown comparison \"" + op + "\" (use =, >, >=, <, <=)");
    comparison = op;
}

TPageSort ParseSort(const std::string& text, bool& walkOrder)
{
    walkOrder = false;
    if (text == "date")
        return TPageSort::FileDate;
    if (text == "size")
        return TPageSort::FileSize;
    if (text == "title")
        return TPageSort::FileTitle;
    if (text == "none")
        return TPageSort::NoSorting;
    if (text == "walk") {
        walkOrder = true;
        return TPageSort::Unchanged;
    }
    throw EUsageError("--sort takes date, size, title, none or walk, not \"" + text + "\"");
}

} // namespace

TKovraOptions ParseKovraOptions(const std::vector<std::string>& args, const TSearchChoices& defaults)
{
    TKovraOptions o;
    o.choices = defaults;
    TSearchChoices& c = o.choices;
    std::vector<std::string> keywords;

    using Flag = std::function<void()>;
    const std::map<std::string, Flag> flags = {
        {"--any", [&] { c.SearchType = TPageSearchType::AnyWords; }},
        {"--all", [&] { c.SearchType = TPageSearchType::AllWords; }},
        {"--phrase", [&] { c.SearchType = TPageSearchType::Phrase; }},
        {"--case", [&] { c.CaseSensitive = true; }},
        {"--whole-word", [&] { c.WholeWord = true; }},
        {"--meta-only", [&] { c.MetaOnly = true; }},
        {"--convert", [&] { c.ConvertSymbols = true; }},
        {"--no-convert", [&] { c.ConvertSymbols = false; }},
        {"--subdirs", [&] { c.IncludeSubDirs = true; }},
        {"--no-subdirs", [&] { c.IncludeSubDirs = false; }},
        {"--reverse", [&] { c.Reverse = true; }},
        {"--summary", [&] { c.GenerateSummary = true; }},
        {"--no-summary", [&] { c.GenerateSummary = false; }},
        {"--no-context", [&] { c.ContextPassages = 0; }},
        {"--show-size", [&] { c.ShowFileSize = true; }},
        {"--no-show-size", [&] { c.ShowFileSize = false; }},
        {"--show-date", [&] { c.ShowFileDate = true; }},
        {"--no-show-date", [&] { c.ShowFileDate = false; }},
        {"--print", [&] { o.print = true; }},
        {"--help", [&] { o.help = true; }},
        {"-h", [&] { o.help = true; }},
    };
    using Valued = std::function<void(const std::string&, const std::string&)>;
    const std::map<std::string, Valued> valued = {
        {"--mask", [&](const std::string&, const std::string& v) { c.FileMasks = v; }},
        {"--dir",
         [&](const std::string&, const std::string& v) {
             o.directoryText = v;
             o.directoryGiven = true;
         }},
        {"--size", [&](const std::string& opt, const std::string& v) {
             ParseComparison(v, opt, c.SizeComparison, c.SizeLimit);
         }},
        {"--age", [&](const std::string& opt, const std::string& v) {
             ParseComparison(v, opt, c.AgeComparison, c.AgeLimit);
         }},
        {"--sort", [&](const std::string&, const std::string& v) { c.Sort = ParseSort(v, o.sortWalkOrder); }},
        {"--limit", [&](const std::string& opt, const std::string& v) { o.matchLimit = ParseNumber(v, opt); }},
        {"--context", [&](const std::string& opt, const std::string& v) { c.ContextPassages = ParseCount(v, opt); }},
        {"--output",
         [&](const std::string&, const std::string& v) {
             c.ResultFile = v;
             o.outputGiven = true;
         }},
    };

    bool onlyKeywords = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyKeywords || arg.size() < 2 || arg[0] != '-') {
            keywords.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyKeywords = true;
            continue;
        }
        std::string name = arg, value;
        const size_t eq = arg.find('=');
        const bool inlineValue = arg.rfind("--", 0) == 0 && eq != std::string::npos;
        if (inlineValue) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        if (auto f = flags.find(name); f != flags.end() && !inlineValue) {
            f->second();
        } else if (auto v = valued.find(name); v != valued.end()) {
            if (!inlineValue) {
                if (i + 1 >= args.size())
                    throw EUsageError(name + " needs a value");
                value = args[++i];
            }
            v->second(name, value);
        } else {
            throw EUsageError("unknown option " + arg + " (see kovra --help)");
        }
    }
    std::string text;
    for (const std::string& k : keywords)
        text += (text.empty() ? "" : " ") + k;
    c.SearchText = text;
    return o;
}

std::string KovraHelpText()
{
    return R"(Usage: kovra [options] [--] KEYWORD...

Searches a directory tree for files that contain the keywords, like the search
page, and writes the results page (or prints the found files with --print).
Defaults come from section "KOVRA" of the settings file KOVRA32.INI in the
program folder, as on the search page.

Keywords (joined with spaces; "a+b c" searches "a" and "b c"):
  --any                 any of the words (OR) (default)
  --all                 all the words (AND)
  --phrase              the whole text as one phrase
  --case                case-sensitive matching
  --whole-word          whole words only
  --meta-only           search only the description and keywords meta tags
  --convert             find a word with letters outside ASCII in every form a
                        page may store them in: entity names (&eacute;), decimal
                        and hexadecimal references (&#233; &#xE9;), UTF-8 and
                        Windows-1252 bytes; without --case also in the other
                        letter case (CAFÉ finds caf&eacute;) (default from
                        "ConvertSymbol", normally on)
  --no-convert          search the typed bytes only

Files:
  --dir DIR             directory to search, or "- KEY" for a directory of the
                        path list (section "SrhPath"); "C:\" means the home
                        directory (default from "Directory")
  --mask MASKS          name masks separated by ";" (default from "FileType",
                        normally "*.htm", which also finds *.html)
  --subdirs, --no-subdirs
                        include sub-directories (default from "IncludeSub")
  --size CMP            size test in bytes, e.g. "<=32000" or ">1000"; "0" turns
                        it off (default from "FSComp"/"FSize": "<=32000")
  --age CMP             age test in days, e.g. "<=7"; "0" turns it off (default
                        from "FGComp"/"FGDays": off)

Results:
  --sort KEY            date, size, title, none (as the page's "No Sorting",
                        which orders by date) or walk (the order found)
  --reverse             reverse the order
  --summary, --no-summary
                        generate summaries (default from "GetSummary")
  --context N           show up to N passages of each hit's text around the
                        found words, the words in bold (default 3, or 0 when
                        "ShowPassages" is off)
  --no-context          no passages: the page as without them
  --show-size, --no-show-size
  --show-date, --no-show-date
                        show each file's size / date (default on)
  --limit N             stop after N found files (0: no limit)
  --output FILE         results page to write (default from "Result_File" and
                        "LocalRF": KVRESULT.HTM in the program folder)
  --print               print one line per found file instead of writing the
                        page (with --output, do both)
  --version             print the version and end
  -h, --help            show this text

Ctrl+C stops the search; the page is still written with the hits found so far.
Exit status: 0 when files were found, 1 when none were, 2 on errors.
)";
}
