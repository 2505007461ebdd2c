#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "search/SearchRequest.h"
#include "search/SearchText.h"

using Strings = std::vector<std::string>;

TEST(SearchText, ConvertsAccentedLettersToEntities)
{
    EXPECT_EQ(ConvertSymbols("caf\xC3\xA9"), "caf&eacute;");         // UTF-8
    EXPECT_EQ(ConvertSymbols("caf\xE9"), "caf&eacute;");             // Windows-1252
    EXPECT_EQ(ConvertSymbols("\xC3\xAC"), "&igrave");                // the row without semicolon
    EXPECT_EQ(ConvertSymbols("\xC2\xA9 \xC2\xA7"), "&copy; &#167;"); // copyright, section
    EXPECT_EQ(ConvertSymbols("\xC3\x96l \xC3\x9C"), "&Ouml;l &Uuml;");
    EXPECT_EQ(ConvertSymbols("\xE2\x82\xAC plain"), "\xE2\x82\xAC plain"); // not in the table
    EXPECT_EQ(ConvertSymbols(std::string(300, 'a')).size(), 255u);
    EXPECT_EQ(ConvertSymbols(std::string(60, '\xE9')).size(), 255u);
}

TEST(SearchText, SplitsAtTheSeparatorAndQuotes)
{
    Strings list;
    SplitWords("dog  cat", ' ', list);
    EXPECT_EQ(list, (Strings{"dog", "", "cat"}));
    list.clear();
    SplitWords("computer+floppy disk", '+', list);
    EXPECT_EQ(list, (Strings{"computer", "floppy disk"}));
    list.clear();
    SplitWords("say \"hi\"", ' ', list);
    EXPECT_EQ(list, (Strings{"say", "", "hi", ""}));
    list = {"kept"};
    SplitWords("", ' ', list);
    SplitWords(" ", ' ', list);
    EXPECT_EQ(list, (Strings{"kept"}));
}

TEST(SearchText, PreparesTheStringsThePageWouldSearch)
{
    TSearchChoices choices;
    choices.SearchText = "computer+floppy disk";
    EXPECT_EQ(PrepareSearchStrings(choices), (Strings{"computer", "floppy disk"}));
    choices.SearchType = TPageSearchType::Phrase;
    EXPECT_EQ(PrepareSearchStrings(choices), (Strings{"computer+floppy disk"}));
    choices.SearchType = TPageSearchType::AllWords;
    // The words keep their letters either way: with conversion the scanner seeks
    // every stored form of them.
    choices.SearchText = "caf\xC3\xA9 bar";
    EXPECT_EQ(PrepareSearchStrings(choices), (Strings{"caf\xC3\xA9", "bar"}));
    choices.ConvertSymbols = false;
    EXPECT_EQ(PrepareSearchStrings(choices), (Strings{"caf\xC3\xA9", "bar"}));
    choices.SearchText = std::string(10000, 'a');
    EXPECT_EQ(PrepareSearchStrings(choices), (Strings{std::string(255, 'a')}));
}

TEST(SearchText, ComparisonTexts)
{
    EXPECT_EQ(CompFromText("="), TFileCompType::fctEqual);
    EXPECT_EQ(CompFromText(">"), TFileCompType::fctGreaterThan);
    EXPECT_EQ(CompFromText("<"), TFileCompType::fctLessThan);
    EXPECT_EQ(CompFromText(">="), TFileCompType::fctGreaterThanOrEqual);
    EXPECT_EQ(CompFromText("<="), TFileCompType::fctLessThanOrEqual);
    EXPECT_EQ(CompFromText("=>"), TFileCompType::fctNone);
    EXPECT_EQ(CompFromText(""), TFileCompType::fctNone);
}
