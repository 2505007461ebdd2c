#include "search/ResultsPage.h"

#include <algorithm>

#include "search/DisplayText.h"

namespace {

constexpr const char* LineEnd = "\r\n";

const char* SortLine(TSort sort)
{
    switch (sort) {
    case TSort::stTitle: return "[sort by title]";
    case TSort::stDate: return "[sort by date]";
    case TSort::stSize: return "[sort by size]";
    case TSort::stNone: break;
    }
    return nullptr;
}

// The passages under a hit's summary, the matched words in bold.
std::string PassageLines(const std::vector<TPassage>& passages)
{
    std::string lines;
    for (const TPassage& passage : passages) {
        lines += "<font size=-1>";
        size_t done = 0;
        const std::string_view text(passage.Text);
        for (const auto& [begin, end] : passage.Matches) {
            AppendTextAsAsciiHtml(text.substr(done, begin - done), lines);
            lines += "<b>";
            AppendTextAsAsciiHtml(text.substr(begin, end - begin), lines);
            lines += "</b>";
            done = end;
        }
        AppendTextAsAsciiHtml(text.substr(done), lines);
        lines += "</font><br>";
    }
    return lines;
}

void AppendHit(std::string& page, size_t number, const TOneResult& hit, const TResultsPageSettings& settings)
{
    page += "<BR><dl><dt><b>" + std::to_string(number) + "</b>.";
    // Titles and summaries come from other people's files: shown as text, so
    // markup in them can never make a link or run a script on this page.
    page += "<a href=\"" + hit.URL() + "\"><b>" + TextAsAsciiHtml(hit.Title()) + "</b></a><dd>";
    page += TextAsAsciiHtml(hit.Summary()) + "<br>";
    page += PassageLines(hit.Passages());
    page += "<b>URL</b>:<font color=gray>" + TextAsAsciiHtml(ReadableUrl(hit.URL())) + "<br>";
    if (settings.SWFileDate)
        page += "Last modified " + DateTimeToStr(hit.Modified());
    if (settings.SWFileSize)
        page += "- page size:" + SizeText(hit.Bytes());
    page += "</font></dl><br>";
    page += LineEnd;
}

// A search that was stopped says so beside its count: the scanner's stop
// messages are the found list's lines without a hit.
std::string StopNotes(const TFoundList& list)
{
    std::string notes;
    for (const TFoundLine& line : list)
        if (!line.Result)
            notes += "<font color=ff0000>" + line.Text + "</font><br>" + LineEnd;
    return notes;
}

// What was searched, in small print above the hits.
std::string ScopeNotes(const std::vector<std::string>& lines)
{
    if (lines.empty())
        return {};
    std::string notes = "<font size=-1 color=gray>";
    for (size_t i = 0; i < lines.size(); ++i)
        notes += (i > 0 ? "<br>" : "") + TextAsAsciiHtml(lines[i]);
    return notes + "</font><P>" + LineEnd;
}

} // namespace

void SortResults(std::vector<const TOneResult*>& hits, TSort sort)
{
    switch (sort) {
    case TSort::stTitle:
        // std::string compares as unsigned bytes: character-code order.
        std::sort(hits.begin(), hits.end(), [](auto a, auto b) { return a->Title() < b->Title(); });
        break;
    case TSort::stDate:
        std::sort(hits.begin(), hits.end(), [](auto a, auto b) { return a->Modified() < b->Modified(); });
        break;
    case TSort::stSize:
        std::sort(hits.begin(), hits.end(), [](auto a, auto b) { return a->Bytes() < b->Bytes(); });
        break;
    case TSort::stNone: break;
    }
}

std::vector<const TOneResult*> OrderedHits(const TFoundList& list, TSort sort, bool reverse)
{
    std::vector<const TOneResult*> hits;
    for (const TFoundLine& line : list) {
        if (line.Result)
            hits.push_back(line.Result.get());
    }
    SortResults(hits, sort);
    if (reverse)
        std::reverse(hits.begin(), hits.end());
    return hits;
}

std::string SizeText(int64_t bytes)
{
    if (bytes <= 1000)
        return std::to_string(bytes) + " bytes";
    return std::to_string(bytes / 1000) + "K";
}

std::string ResultsPageText(const TFoundList& list, const TResultsPageSettings& settings)
{
    const std::vector<const TOneResult*> hits = OrderedHits(list, settings.Sort, settings.Reverse);
    std::string page;
    page += "<body bgcolor=" + settings.BGColor + " width=70%>" + LineEnd;
    page += settings.Header + LineEnd;
    page += "<b><font face=arial size=-1><b><br>" + StopNotes(list);
    page += "The search found " + std::to_string(hits.size()) + LineEnd;
    page += std::string(" files contains the keyword(s) <I> ") + LineEnd;
    for (const std::string& s : settings.SearchStrings)
        page += TextAsAsciiHtml(s) + LineEnd;
    page += LineEnd;
    page += std::string("</I><font color=0000ff>") + LineEnd;
    if (const char* sortLine = SortLine(settings.Sort))
        page += std::string(sortLine) + LineEnd;
    if (settings.METASearch)
        page += "<font color=ff0000>[MetaSearch]</font>";
    page += "<P></font>";
    page += ScopeNotes(settings.ScopeLines);
    size_t shown = hits.size();
    if (settings.MatchLimit > 0)
        shown = std::min(shown, size_t(settings.MatchLimit));
    for (size_t k = 0; k < shown; ++k)
        AppendHit(page, k + 1, *hits[k], settings);
    page += std::string("</td></tr></table>") + LineEnd;
    page += settings.Footer + "</body>" + LineEnd;
    return page;
}
