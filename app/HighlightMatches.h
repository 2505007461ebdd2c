#pragma once
// Where the searched words stand in a shown document: the matches of the
// search's strings in the document's text under the search's own rules
// (letter case, whole words, other cases of letters outside ASCII), as
// ranges of document positions. The text is the one the reader sees, so a
// word stored as references ("caf&eacute;") or cut by markup
// ("<b>c</b>at") is found as it reads.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "search/SearchTypes.h"

class TFileScan;
class TSectionList;

struct THighlightRequest {
    std::vector<std::string> Strings; // UTF-8
    bool CaseSense = false;
    bool FoldAllLetters = true;
    TStringSearchType WordType = TStringSearchType::sst_Normal;
    TCharSet Before; // characters allowed before a whole word
    TCharSet After;
};

// The words of the search the scanner ran last (none when it ran none).
THighlightRequest RequestOfSearch(const TFileScan& scan);
// The text of the find dialog: one string, no word rule.
THighlightRequest RequestOfFind(const std::string& text, bool matchCase);

// Marks beyond this many in one document are not made: the reader has
// enough to step through, and the document stays quick to paint.
inline constexpr size_t MaxHighlights = 100000;

// The matches in the document, sorted and apart (a match overlapping an
// earlier one is joined to it), at most `limit`.
std::vector<std::pair<int, int>> MatchRanges(TSectionList& document, const THighlightRequest& request,
                                             size_t limit = MaxHighlights);
