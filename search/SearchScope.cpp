#include "search/SearchScope.h"

#include "util/DateTime.h"

namespace {

// How one filter reads: what it lets through, what it leaves out, and how
// each reader turns it off.
struct TFilterWords {
    std::string kept; // "of at most 32,000 bytes"
    std::string skipped; // "over 32,000 bytes"
};

TFilterWords SizeWords(TFileCompType comp, int64_t limit)
{
    const std::string bytes = FormatThousands(limit) + (limit == 1 ? " byte" : " bytes");
    switch (comp) {
    case TFileCompType::fctLessThanOrEqual:
        return { "of at most " + bytes, "over " + bytes };
    case TFileCompType::fctLessThan:
        return { "under " + bytes, "of " + bytes + " or more" };
    case TFileCompType::fctGreaterThanOrEqual:
        return { "of at least " + bytes, "under " + bytes };
    case TFileCompType::fctGreaterThan:
        return { "over " + bytes, "of " + bytes + " or less" };
    case TFileCompType::fctEqual:
        return { "of exactly " + bytes, "of another size than " + bytes };
    case TFileCompType::fctNone:
        break;
    }
    return {};
}

TFilterWords AgeWords(TFileCompType comp, int64_t limit)
{
    const std::string days = FormatThousands(limit) + (limit == 1 ? " day" : " days");
    switch (comp) {
    case TFileCompType::fctLessThanOrEqual:
        return { "changed at most " + days + " ago", "changed more than " + days + " ago" };
    case TFileCompType::fctLessThan:
        return { "changed less than " + days + " ago", "changed " + days + " ago or earlier" };
    case TFileCompType::fctGreaterThanOrEqual:
        return { "changed at least " + days + " ago", "changed less than " + days + " ago" };
    case TFileCompType::fctGreaterThan:
        return { "changed more than " + days + " ago", "changed " + days + " ago or later" };
    case TFileCompType::fctEqual:
        return { "changed exactly " + days + " ago", "not changed exactly " + days + " ago" };
    case TFileCompType::fctNone:
        break;
    }
    return {};
}

std::string JoinedList(const std::vector<std::string>& items, const char* lastJoin)
{
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += i + 1 == items.size() ? lastJoin : ", ";
        text += items[i];
    }
    return text;
}

std::vector<std::string> SplitMasks(const std::string& masks)
{
    std::vector<std::string> list;
    size_t start = 0;
    while (start <= masks.size()) {
        const size_t semicolon = std::min(masks.find(';', start), masks.size());
        if (semicolon > start)
            list.push_back(masks.substr(start, semicolon - start));
        start = semicolon + 1;
    }
    return list;
}

std::string WhereSentence(const TSearchScope& scope)
{
    const std::vector<std::string> masks = SplitMasks(scope.Masks);
    std::string text
        = "Searched " + (scope.Folders.empty() ? std::string("nothing") : JoinedList(scope.Folders, " and "));
    text += scope.IncSubDir ? (scope.Folders.size() > 1 ? " with their sub-folders" : " with its sub-folders")
                            : " without sub-folders";
    text += masks.empty() ? std::string(", but no file name mask was given.")
                          : " for files named " + JoinedList(masks, " or ") + ".";
    return text;
}

// "Only files of at most 32,000 bytes were searched: 14 files over 32,000
// bytes were not searched (...)."
std::string FilterSentence(const TFilterWords& words, size_t skipped, const std::string& howToInclude)
{
    std::string text = "Only files " + words.kept + " were searched";
    if (skipped == 0)
        return text + "; no file was left out.";
    text += ": " + FormatThousands(int64_t(skipped)) + (skipped == 1 ? " file " : " files ") + words.skipped;
    text += skipped == 1 ? " was not searched" : " were not searched";
    return text + " (" + howToInclude + ").";
}

} // namespace

std::vector<std::string> DescribeSearchScope(const TSearchScope& scope, TScopeReader reader)
{
    const bool page = reader == TScopeReader::SearchPage;
    std::vector<std::string> sentences { WhereSentence(scope) };
    if (scope.SizeComp != TFileCompType::fctNone) {
        sentences.push_back(FilterSentence(SizeWords(scope.SizeComp, scope.SizeLimit), scope.SizeSkipped,
            page ? "set File Size to 0 under Advanced Options to search them" : "--size 0 searches them"));
    }
    if (scope.AgeComp != TFileCompType::fctNone) {
        sentences.push_back(FilterSentence(AgeWords(scope.AgeComp, scope.AgeLimit), scope.AgeSkipped,
            page ? "set File Age to 0 under Advanced Options to search them" : "--age 0 searches them"));
    }
    return sentences;
}
