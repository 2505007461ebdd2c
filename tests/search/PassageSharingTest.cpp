// The scan cuts a hit's passages with what it already worked out for the
// title and summary (the upper-cased first block, the guess at the code
// page): the passages must be those the bytes give when worked out afresh.
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "SearchTestSupport.h"
#include "search/CharacterForms.h"
#include "search/ContextPassages.h"
#include "search/DisplayText.h"
#include "search/Matcher.h"
#include "search/TFileScan.h"
#include "search/TTextMatcher.h"
#include "util/CodePage.h"

namespace {

using Strings = std::vector<std::string>;

Strings Texts(const std::vector<TPassage>& passages)
{
    Strings texts;
    for (const TPassage& p : passages)
        texts.push_back(p.Text);
    return texts;
}

// The passages of a page worked out on their own, the code page from the
// page's head.
Strings FreshPassages(const std::string& raw, const Strings& words, const TPassageRules& rules)
{
    const int codePage = DocumentCodePage(raw, UpperCaseAscii(std::string_view(raw).substr(0, 4096)));
    return Texts(PagePassages(raw, codePage, true, words, rules));
}

struct SharedScan : ::testing::Test {
    TTempTree tree;
    TTempTree pages;
    TFileScan scan;

    SharedScan()
    {
        scan.Directory = tree.path();
        scan.FileSpecs = "*.htm";
        scan.ShowTitle = scan.ShowSummary = true;
        scan.OutputFile = pages.file("page.htm");
        scan.Sort = TSort::stTitle;
        scan.ContextPassages = 3;
    }
    // Each hit's passages by its title.
    std::map<std::string, Strings> Hits()
    {
        scan.SetStartScan(true);
        std::map<std::string, Strings> hits;
        for (const TFoundLine& line : scan.FoundList())
            if (line.Result)
                hits[line.Result->Title()] = Texts(line.Result->Passages());
        return hits;
    }
};

const std::string LongHead = "<head><title>T</title><style>p { color: red }</style></head><body>"
    + std::string(300, ' ') + "<ul>" + [] {
          std::string items;
          for (int i = 0; i < 120; ++i)
              items += "<li><a href=\"x" + std::to_string(i) + ".htm\">Item number " + std::to_string(i) + "</a></li>\n";
          return items;
      }() + "</ul>";

} // namespace

TEST_F(SharedScan, PassagesOfEveryCodePageMatchTheOnesWorkedOutAfresh)
{
    const std::string body = "<p>The Lantern keeper lit the lamp, and the LANTERN shone on the caf\xC3\xA9.</p>";
    const Strings pagesInOrder = {
        // UTF-8, declared by no one
        "<title>A</title>" + LongHead + body,
        // Windows-1252 bytes after a UTF-8 page: no guess of the page before may stand
        "<title>B</title>" + LongHead + "<p>caf\xE9 lantern, LanterN</p>",
        // Cyrillic, declared in the head
        "<title>C</title><meta charset=\"windows-1251\">" + LongHead + "<p>\xEB\xE0\xEC\xEF\xE0 lantern</p>",
        // declared only far beyond the head: the passages go by the bytes
        "<title>D</title><p>na\xEFve lantern</p>" + std::string(5000, ' ') + "<meta charset=\"windows-1251\">",
    };
    const Strings names = { "a.htm", "b.htm", "c.htm", "d.htm" };
    const Strings titles = { "A", "B", "C", "D" };
    for (size_t i = 0; i < names.size(); ++i)
        tree.write(names[i], pagesInOrder[i]);
    scan.SearchStrings = { "lantern" };
    TPassageRules rules;
    rules.MaxPassages = 3;
    rules.Word = { TStringSearchType::sst_Normal, &scan.BeforeSet, &scan.AfterSet };

    auto hits = Hits();
    ASSERT_EQ(hits.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        const Strings& passages = hits[titles[i]];
        ASSERT_FALSE(passages.empty());
        EXPECT_EQ(passages, FreshPassages(pagesInOrder[i], scan.SearchStrings, rules));
    }
    // The code pages were really told apart.
    EXPECT_NE(hits["A"][0].find("caf\xC3\xA9"), std::string::npos) << hits["A"][0];
    EXPECT_NE(hits["B"][0].find("caf\xC3\xA9"), std::string::npos) << hits["B"][0];
    EXPECT_NE(hits["C"][0].find("\xD0\xBB\xD0\xB0\xD0\xBC\xD0\xBF\xD0\xB0"), std::string::npos) << hits["C"][0];
    EXPECT_NE(hits["D"][0].find("na\xC3\xAFve"), std::string::npos) << hits["D"][0];
}

TEST_F(SharedScan, CaseSensitiveAndFoldedSearchesSkimTheSameBytes)
{
    // Without the case the skim searches the upper-cased block the title
    // extraction made; with it, the bytes as they stand.
    const std::string raw = "<title>Lamp</title>" + LongHead + "<p>a Lantern here</p>" + LongHead
        + "<p>and a lantern there</p>" + LongHead + "<p>LANTERN</p>";
    tree.write("lamp.htm", raw);
    scan.SearchStrings = { "lantern" };
    TPassageRules rules;
    rules.Word = { TStringSearchType::sst_Normal, &scan.BeforeSet, &scan.AfterSet };
    for (const bool caseSense : { false, true }) {
        SCOPED_TRACE(caseSense);
        scan.CaseSense = caseSense;
        rules.CaseSense = caseSense;
        auto hits = Hits();
        ASSERT_EQ(hits.size(), 1u);
        EXPECT_EQ(hits["Lamp"], FreshPassages(raw, scan.SearchStrings, rules));
        EXPECT_EQ(hits["Lamp"].size(), caseSense ? 1u : 3u);
    }
}

TEST(PassageText, FoldingAndCollapsingKeepEveryCharacter)
{
    // Letters outside ASCII among ASCII ones, in either case, and runs of
    // white space of every kind around them.
    const std::string visible = VisibleText("<p>\t\xC3\x89t\xC3\xA9  \r\n CAF\xC3\x89 &amp; caf\xC3\xA9\f\xC3\x9C"
                                            "ber</p>",
        CodePage::Utf8, true);
    EXPECT_EQ(visible, "\xC3\x89t\xC3\xA9 CAF\xC3\x89 & caf\xC3\xA9 \xC3\x9C"
                       "ber");
    TTextMatcher matcher({ "caf\xC3\xA9", "\xC3\xBC" "ber" }, { false, true, {} });
    std::u32string folded;
    matcher.AppendFolded(CodePointsOf(visible), folded);
    const std::vector<TTextMatch> found = matcher.Find(folded, 0, folded.size(), 10);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].pos, 4u);
    EXPECT_EQ(found[1].pos, 11u);
    EXPECT_EQ(found[2].pos, 16u);
    // Without folding every letter only ASCII letters meet their other case.
    TTextMatcher asciiOnly({ "caf\xC3\xA9" }, { false, false, {} });
    std::u32string asciiFolded;
    asciiOnly.AppendFolded(CodePointsOf(visible), asciiFolded);
    EXPECT_EQ(asciiOnly.Find(asciiFolded, 0, asciiFolded.size(), 10).size(), 1u);
}

TEST(PassageText, AMatchTheWindowCutsShortIsShownPlainAndOthersInBold)
{
    TPassageRules rules;
    rules.Width = 12;
    const std::vector<TPassage> passages = FindPassages("the cat dog sat here, caf\xC3\xA9 cat", { "cat", "dog sat" }, rules);
    ASSERT_EQ(passages.size(), 2u);
    EXPECT_EQ(passages[0].Text, "the cat dog ...");
    ASSERT_EQ(passages[0].Matches.size(), 1u);
    EXPECT_EQ(passages[0].Matches[0], std::make_pair(size_t(4), size_t(7)));
    // Characters outside ASCII before a match shift it by their UTF-8 bytes.
    EXPECT_EQ(passages[1].Text, "... caf\xC3\xA9 cat");
    ASSERT_EQ(passages[1].Matches.size(), 1u);
    EXPECT_EQ(passages[1].Matches[0], std::make_pair(size_t(10), size_t(13)));
}

TEST(PassageText, ASCIIWordsMeetTheirCaseFormsOutsideASCIIAndNothingElse)
{
    // The Kelvin sign is a case form of k, the long s one of s; é is no form
    // of e.
    EXPECT_EQ(AsciiCaseVariant(U'\u212A'), U'K');
    EXPECT_EQ(AsciiCaseVariant(U'\u017F'), U'S');
    EXPECT_EQ(AsciiCaseVariant(U'\u00E9'), char32_t(0));
    EXPECT_EQ(AsciiCaseVariant(U'\u03A3'), char32_t(0));
    TPassageRules rules;
    const std::string text = "a \xE2\x84\xAA" "ey, a key, a k\xC3\xA9y and a \xC5\xBF" "et";
    const std::vector<TPassage> folded = FindPassages(text, { "key", "set" }, rules);
    ASSERT_EQ(folded.size(), 1u);
    EXPECT_EQ(folded[0].Matches.size(), 3u) << folded[0].Text;
    // The same text, a word outside ASCII among the strings: the full table
    // of case forms gives the same matches.
    const std::vector<TPassage> withTable = FindPassages(text, { "key", "set", "\xC3\xA9t\xC3\xA9" }, rules);
    ASSERT_EQ(withTable.size(), 1u);
    EXPECT_EQ(withTable[0].Matches, folded[0].Matches);
    rules.FoldAllLetters = false;
    EXPECT_EQ(FindPassages(text, { "key", "set" }, rules)[0].Matches.size(), 1u);
}
