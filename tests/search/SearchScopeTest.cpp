#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "SearchTestSupport.h"
#include "search/ResultsPage.h"
#include "search/SearchScope.h"
#include "search/TFileScan.h"

namespace {

using Strings = std::vector<std::string>;

TSearchScope DefaultPageScope()
{
    TSearchScope scope;
    scope.Folders = {"/home/ann/"};
    scope.Masks = "*.htm";
    scope.SizeComp = TFileCompType::fctLessThanOrEqual;
    scope.SizeLimit = 32000;
    scope.SizeSkipped = 14;
    return scope;
}

} // namespace

TEST(SearchScope, SaysWhereWhatAndWhatTheFiltersLeftOut)
{
    const TSearchScope scope = DefaultPageScope();
    EXPECT_EQ(DescribeSearchScope(scope, TScopeReader::SearchPage),
              (Strings{"Searched /home/ann/ with its sub-folders for files named *.htm.",
                       "Only files of at most 32,000 bytes were searched: 14 files over 32,000 bytes were not "
                       "searched (set File Size to 0 under Advanced Options to search them)."}));
    EXPECT_EQ(DescribeSearchScope(scope, TScopeReader::CommandLine)[1],
              "Only files of at most 32,000 bytes were searched: 14 files over 32,000 bytes were not searched "
              "(--size 0 searches them).");

    TSearchScope other = scope;
    other.Folders = {"/", "/media/usb/", "/srv/"};
    other.IncSubDir = false;
    other.Masks = "*.htm;*.txt;";
    other.SizeComp = TFileCompType::fctNone;
    other.AgeComp = TFileCompType::fctGreaterThan;
    other.AgeLimit = 1;
    other.AgeSkipped = 1;
    EXPECT_EQ(DescribeSearchScope(other, TScopeReader::CommandLine),
              (Strings{"Searched /, /media/usb/ and /srv/ without sub-folders for files named *.htm or *.txt.",
                       "Only files changed more than 1 day ago were searched: 1 file changed 1 day ago or later "
                       "was not searched (--age 0 searches them)."}));
    other.AgeSkipped = 0;
    other.Masks = ";";
    EXPECT_EQ(DescribeSearchScope(other, TScopeReader::SearchPage),
              (Strings{"Searched /, /media/usb/ and /srv/ without sub-folders, but no file name mask was given.",
                       "Only files changed more than 1 day ago were searched; no file was left out."}));
}

TEST(SearchScope, ResultsPageAndScannerTellIt)
{
    TTempTree tree;
    tree.write("small.htm", "cat");
    tree.write("big.htm", std::string(5000, 'x') + "cat");
    const std::string old = tree.write("sub/old.htm", "cat");
    SetModified(old, time(nullptr) - 3 * 86400 - 60);
    tree.write("sub/big.htm", std::string(5000, 'x'));
    TFileScan scan;
    scan.Directory = tree.path();
    scan.FileSpecs = "*.htm";
    scan.SearchStrings = {"cat"};
    scan.FileSizeComp = TFileCompType::fctLessThanOrEqual;
    scan.FileSize = 1000;
    scan.FileAgeComp = TFileCompType::fctLessThanOrEqual;
    scan.FileAge = 1;
    scan.OutputFile = tree.file("page.htm");
    scan.SetStartScan(true);
    EXPECT_EQ(scan.HitCount(), 1u);
    const TSearchScope& scope = scan.SearchScope();
    EXPECT_EQ(scope.Folders, Strings{tree.path()});
    EXPECT_EQ(scope.SizeSkipped, 2u);
    EXPECT_EQ(scope.AgeSkipped, 1u);
    const std::string page = ReadWholeFile(tree.file("page.htm"));
    EXPECT_NE(page.find("Searched " + tree.path() + " with its sub-folders for files named *.htm.<br>"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("2 files over 1,000 bytes were not searched"), std::string::npos) << page;
    EXPECT_NE(page.find("1 file changed more than 1 day ago was not searched"), std::string::npos) << page;
    EXPECT_LT(page.find("Searched "), page.find("<BR><dl>")) << "said above the hits";

    // Without sentences the page is the one it always was.
    TResultsPageSettings plain;
    const std::string before = ResultsPageText(scan.FoundList(), plain);
    plain.ScopeLines = {"Searched <here>."};
    const std::string with = ResultsPageText(scan.FoundList(), plain);
    const std::string note = "<font size=-1 color=gray>Searched &lt;here&gt;.</font><P>\r\n";
    ASSERT_NE(with.find(note), std::string::npos) << with;
    EXPECT_EQ(std::string(with).erase(with.find(note), note.size()), before);
}
