#pragma once
// Command-line options of kovra: the search page's choices, plus what only the
// command line has (printing instead of writing the page, a match limit).
#include <string>
#include <vector>

#include "search/SearchRequest.h"
#include "util/Exception.h"

// A command line kovra cannot run.
QUILLON_DECLARE_ERROR(EUsageError);

struct TKovraOptions {
    TSearchChoices choices;
    std::string directoryText; // as typed: a directory or "- " + a path-list key
    bool directoryGiven = false;
    bool print = false;
    bool outputGiven = false;
    bool sortWalkOrder = false;
    int matchLimit = 0;
    bool help = false;
};

// Parses the arguments over the defaults. Raises EUsageError with a message.
TKovraOptions ParseKovraOptions(const std::vector<std::string>& args, const TSearchChoices& defaults);

// The text of --help.
std::string KovraHelpText();
