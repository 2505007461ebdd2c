#pragma once
// The results page: the hits of a search, ordered, as an HTML page.
#include <string>
#include <vector>

#include "search/SearchTypes.h"
#include "search/TOneResult.h"

struct TResultsPageSettings {
    std::string BGColor;
    std::string Header;
    std::string Footer;
    std::vector<std::string> SearchStrings;
    TSort Sort = TSort::stNone;
    bool Reverse = false;
    bool METASearch = false;
    bool SWFileDate = false;
    bool SWFileSize = false;
    int MatchLimit = 0;
    // Plain-text sentences saying what was searched, shown above the hits;
    // none leaves the page as it always was.
    std::vector<std::string> ScopeLines;
};

// Orders the hits in place: stTitle byte by byte (so "Z" before "a"), stDate
// oldest first, stSize smallest first, stNone leaves them. Equal keys may come in
// any order.
void SortResults(std::vector<const TOneResult*>& hits, TSort sort);

// The hits of the found list (lines with a record), ordered and, with reverse,
// last first.
std::vector<const TOneResult*> OrderedHits(const TFoundList& list, TSort sort, bool reverse);

// "1000 bytes" up to 1000 bytes, else whole thousands and "K" ("2K" for 2999).
std::string SizeText(int64_t bytes);

// The page text, lines ended by CR LF.
std::string ResultsPageText(const TFoundList& list, const TResultsPageSettings& settings);
