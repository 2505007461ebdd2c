#pragma once
// What a search looked at: the folders, the name masks, the size and age
// filters, and how many files those filters left out. Said on the results
// page and by kovra, so a search that finds nothing says where it looked.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "search/SearchTypes.h"

struct TSearchScope {
    std::vector<std::string> Folders; // where the walk started, with a trailing "/"
    bool IncSubDir = true;
    std::string Masks; // the masks as given, separated by ";"
    TFileCompType SizeComp = TFileCompType::fctNone;
    int64_t SizeLimit = 0; // bytes
    TFileCompType AgeComp = TFileCompType::fctNone;
    int64_t AgeLimit = 0; // whole days
    size_t SizeSkipped = 0; // files the size filter left out
    size_t AgeSkipped = 0;  // files that passed the size filter but not the age filter
};

// Who is told, and so which words say how to change a filter.
enum class TScopeReader { SearchPage, CommandLine };

// Plain-text sentences, one per line: the folders and masks, then one for each
// filter that is on, with the number of files it left out and how to include
// them ("14 files over 32,000 bytes were not searched ...").
std::vector<std::string> DescribeSearchScope(const TSearchScope& scope, TScopeReader reader);
