// A search from the page's choices over pages that store the same words in
// different forms.
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "SearchTestSupport.h"
#include "search/SearchRequest.h"
#include "search/TFileScan.h"

namespace {

using Strings = std::vector<std::string>;

struct FormsSearch : ::testing::Test {
    TTempTree tree;
    TSearchChoices choices;

    FormsSearch()
    {
        choices.Directory = tree.path();
        choices.FileMasks = "*.htm";
        choices.SizeLimit = 0;
        choices.ShowFileSize = false; // display lines are the bare paths
        choices.ShowFileDate = false;
        choices.ResultFile = tree.file("results.out"); // not matched by *.htm
        // The four ways a page of the collection may write "café".
        tree.write("entity.htm", "<title>Entity</title><p>Un caf&eacute; noir, merci.</p>");
        tree.write("numeric.htm", "<title>Numeric</title><p>Un caf&#233; et un CAF&#xC9;.</p>");
        tree.write("utf8.htm", "<title>UTF-8</title><p>Un caf\xC3\xA9 au lait.</p>");
        tree.write("cp1252.htm", "<title>Windows</title><p>Un CAF\xC9 cr\xE8me.</p>");
        tree.write("plural.htm", "<title>Plural</title><p>Les caf&eacute;s, caf&#233;s, caf\xC3\xA9s et caf\xE9s.</p>");
        tree.write("other.htm", "<title>Other</title><p>Un cafe, un th&eacute; noir.</p>");
    }

    Strings Search(const std::string& text)
    {
        choices.SearchText = text;
        TFileScan scan;
        RunSearch(scan, choices);
        Strings found;
        for (const TFoundLine& line : scan.FoundList()) {
            if (line.Result)
                found.push_back(line.Text.substr(line.Text.rfind('/') + 1));
        }
        std::sort(found.begin(), found.end());
        return found;
    }
};

} // namespace

TEST_F(FormsSearch, EveryFormIsFoundInEitherCase)
{
    const Strings all = {"cp1252.htm", "entity.htm", "numeric.htm", "plural.htm", "utf8.htm"};
    EXPECT_EQ(Search("caf\xC3\xA9"), all);
    EXPECT_EQ(Search("CAF\xC3\x89"), all);
    EXPECT_EQ(Search("Caf\xC3\xA9"), all);

    choices.CaseSensitive = true;
    EXPECT_EQ(Search("caf\xC3\xA9"), (Strings{"entity.htm", "numeric.htm", "plural.htm", "utf8.htm"}));
    EXPECT_EQ(Search("CAF\xC3\x89"), (Strings{"cp1252.htm", "numeric.htm"}));
}

TEST_F(FormsSearch, WholeWordsAllWordsPhraseAndMetaOnlyPerWord)
{
    choices.WholeWord = true;
    EXPECT_EQ(Search("caf\xC3\xA9"), (Strings{"cp1252.htm", "entity.htm", "numeric.htm", "utf8.htm"}))
        << "no form of cafés is the whole word";
    choices.WholeWord = false;

    choices.SearchType = TPageSearchType::AllWords;
    EXPECT_EQ(Search("caf\xC3\xA9 noir"), Strings{"entity.htm"});
    EXPECT_EQ(Search("caf\xC3\xA9 cr\xC3\xA8me"), Strings{"cp1252.htm"});
    EXPECT_EQ(Search("th\xC3\xA9 noir"), Strings{"other.htm"});

    choices.SearchType = TPageSearchType::Phrase;
    EXPECT_EQ(Search("UN CAF\xC3\x89 AU"), Strings{"utf8.htm"});

    choices.SearchType = TPageSearchType::AnyWords;
    choices.MetaOnly = true;
    tree.write("meta.htm", "<title>M</title><meta name=\"keywords\" content=\"caf&eacute;, th\xC3\xA9\"><p>x</p>");
    EXPECT_EQ(Search("CAF\xC3\x89"), Strings{"meta.htm"});
}

TEST_F(FormsSearch, WithoutConversionOnlyTheTypedBytesAreFound)
{
    choices.ConvertSymbols = false;
    EXPECT_EQ(Search("caf\xC3\xA9"), (Strings{"plural.htm", "utf8.htm"}));
    EXPECT_EQ(Search("caf&eacute;"), (Strings{"entity.htm", "plural.htm"}));
    EXPECT_EQ(Search("CAF\xC3\x89"), Strings{}) << "letters outside ASCII keep their case";
}

TEST_F(FormsSearch, AFormCrossingTheBlockBorderIsFound)
{
    // Every split of the two UTF-8 bytes and of the longest reference across the
    // border between the first and the second block.
    for (const std::string& form : {std::string("caf\xC3\xA9"), std::string("caf&#x000000E9;")}) {
        for (size_t cut = 1; cut < form.size(); ++cut) {
            tree.write("border.htm", std::string(BlockSize - cut, ' ') + form + " au lait");
            const Strings found = Search("CAF\xC3\x89");
            EXPECT_NE(std::find(found.begin(), found.end(), "border.htm"), found.end())
                << form << " cut after " << cut << " bytes";
        }
    }
    // A word that only looks complete at the border is not taken.
    tree.write("border.htm", std::string(BlockSize - 8, ' ') + "caf&#233" + "0;");
    const Strings found = Search("caf\xC3\xA9");
    EXPECT_EQ(std::find(found.begin(), found.end(), "border.htm"), found.end());
}
