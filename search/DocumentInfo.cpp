#include "search/DocumentInfo.h"

#include <algorithm>

#include "search/DisplayText.h"
#include "search/Matcher.h"

namespace {

constexpr size_t npos = std::string_view::npos;
constexpr size_t MaxExtract = 250;
constexpr size_t EnoughBodyText = 200;

struct TMetaPatterns {
    std::string_view quoted; // <META NAME="...
    std::string_view bare;   // <META NAME=...
    std::string_view check;  // NAME="... somewhere at or after the tag
};

constexpr TMetaPatterns DescriptionTag{"<META NAME=\"DESCRIPTION\"", "<META NAME=DESCRIPTION",
                                       "NAME=\"DESCRIPTION\""};
constexpr TMetaPatterns KeywordsTag{"<META NAME=\"KEYWORD", "<META NAME=KEYWORD", "NAME=\"KEYWORD"};

enum class MetaOutcome { Absent, Taken, NoContent };

struct TMetaValue {
    MetaOutcome outcome = MetaOutcome::Absent;
    std::string value;
};

// A meta tag counts when a ">" follows it and its quoted name occurs at or after
// it. Its value starts eight characters into the first "CONTENT" at or after the
// tag and runs up to that ">". A CONTENT that lies only beyond the tag's ">"
// belongs to some other tag, so the tag then gives nothing.
TMetaValue FindMetaValue(std::string_view raw, std::string_view upper, const TMetaPatterns& patterns)
{
    size_t tag = upper.find(patterns.quoted);
    if (tag == npos)
        tag = upper.find(patterns.bare);
    if (tag == npos)
        return {};
    const size_t close = upper.find('>', tag);
    if (close == npos || upper.find(patterns.check, tag) == npos)
        return {};
    const size_t content = upper.find("CONTENT", tag);
    if (content == npos)
        return {MetaOutcome::NoContent, {}};
    if (content > close)
        return {};
    const size_t start = content + 8;
    return {MetaOutcome::Taken, start < close ? std::string(raw.substr(start, close - start)) : std::string()};
}

// The title element's text as displayed, or the path when there is none.
std::string ExtractTitle(std::string_view raw, std::string_view upper, const std::string& path, int codePage)
{
    const size_t open = upper.find("<TITLE>");
    const size_t close = upper.find("</TITLE>");
    if (open == npos || close == npos || open >= close)
        return path;
    std::string_view title = raw.substr(open + 7, close - (open + 7));
    title = title.substr(0, title.find('<'));
    return title.empty() ? path : PlainText(title, codePage);
}

// The text between tags after the title, until more than 200 characters are
// collected; the start of the file when there is none. At most 250 characters.
std::string ExtractBodyText(std::string_view raw, std::string_view upper)
{
    std::string collected;
    size_t pos = upper.find("</TITLE>");
    if (pos == npos)
        pos = 0;
    while (collected.size() <= EnoughBodyText) {
        const size_t gt = upper.find('>', pos);
        if (gt == npos)
            break;
        const size_t lt = upper.find('<', gt + 1);
        if (lt == npos)
            break;
        collected += CollapseSpaces(raw.substr(gt + 1, lt - gt - 1));
        pos = lt;
    }
    if (collected.empty())
        collected = std::string(raw.substr(0, MaxExtract));
    if (collected.size() > MaxExtract)
        collected.resize(MaxExtract);
    return collected;
}

void ExtractSummary(std::string_view raw, std::string_view upper, TDocumentInfo& info)
{
    const TMetaValue description = FindMetaValue(raw, upper, DescriptionTag);
    if (description.outcome == MetaOutcome::NoContent)
        return;
    if (description.outcome == MetaOutcome::Taken) {
        info.MetaFound = true;
        info.MetaText = description.value;
        info.Summary = description.value;
    }
    const TMetaValue keywords = FindMetaValue(raw, upper, KeywordsTag);
    if (keywords.outcome == MetaOutcome::NoContent)
        return;
    if (keywords.outcome == MetaOutcome::Taken) {
        info.MetaFound = true;
        info.MetaText += keywords.value;
    }
    if (!info.MetaFound)
        info.MetaText = ExtractBodyText(raw, upper);
}

} // namespace

bool HasDocumentExtension(std::string_view path)
{
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == npos || (slash != npos && dot < slash))
        return false;
    const std::string ext = UpperCaseAscii(path.substr(dot));
    return ext == ".HTML" || ext == ".HTM" || ext == ".TXT";
}

TDocumentInfo ExtractDocumentInfo(std::string_view raw, std::string_view upper, const std::string& path,
                                  TTitleOption title, TSummaryOption summary)
{
    TDocumentInfo info;
    // Title and summary are shown; the meta text stays in the file's bytes, since
    // the meta-only search looks for the words in it.
    info.CodePage = DeclaredCodePage(upper);
    info.CodePageDeclared = info.CodePage > 0;
    if (!info.CodePageDeclared)
        info.CodePage = GuessedCodePage(raw);
    const int codePage = info.CodePage;
    info.Title = path;
    if (title == TTitleOption::Extract)
        info.Title = ExtractTitle(raw, upper, path, codePage);
    if (summary == TSummaryOption::Extract)
        ExtractSummary(raw, upper, info);
    if (info.Summary.empty())
        info.Summary = info.MetaText;
    info.Summary = PlainText(info.Summary, codePage);
    return info;
}

std::string CollapseSpaces(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c == '\r' || c == '\n')
            c = ' ';
        if (c == ' ' && !result.empty() && result.back() == ' ')
            continue;
        result += c;
    }
    return result;
}
