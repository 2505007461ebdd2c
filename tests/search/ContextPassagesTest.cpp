#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "SearchTestSupport.h"
#include "search/ContextPassages.h"
#include "search/ResultsPage.h"
#include "search/TFileScan.h"
#include "util/CodePage.h"

namespace {

using Strings = std::vector<std::string>;

const std::string Story
    = "Lanterns were lit at dusk. The keeper climbed the stairs; his lantern swung in the "
      "wind. Far below, the sea broke on the rocks and the lantern of the boat went out.";

// The passages with every match in brackets.
Strings Marked(const std::vector<TPassage>& passages)
{
    Strings marked;
    for (const TPassage& p : passages) {
        std::string text;
        size_t done = 0;
        for (const auto& [begin, end] : p.Matches) {
            text += p.Text.substr(done, begin - done) + "[" + p.Text.substr(begin, end - begin) + "]";
            done = end;
        }
        marked.push_back(text + p.Text.substr(done));
    }
    return marked;
}

Strings Passages(const std::string& visible, const Strings& words, TPassageRules rules)
{
    return Marked(FindPassages(visible, words, rules));
}

TPassageRules Narrow()
{
    TPassageRules rules;
    rules.Width = 40;
    return rules;
}

} // namespace

TEST(ContextPassages, VisibleTextLeavesMarkupScriptsAndStylesOut)
{
    EXPECT_EQ(
        VisibleText("<html><head><title>Title</title><style>p{color:red}</style><script>var cat=1;</script>"
                    "</head><body><!-- cat --><p>The <b>c</b>at &amp; the\r\n  dog</p><p>next</p>",
            CodePage::Ansi, true),
        "The cat & the dog next");
    EXPECT_EQ(VisibleText("caf\xE9 <b> &lt;", CodePage::Ansi, false), "caf\xC3\xA9 <b> <");
    EXPECT_EQ(VisibleText("<p>cut <a href=\"x", CodePage::Ansi, true), "cut") << "a tag the block cuts short";
}

TEST(ContextPassages, AnyWordAndPhrasePassagesAreCutAtWords)
{
    EXPECT_EQ(Passages(Story, { "lantern", "sea" }, Narrow()),
        (Strings { "[Lantern]s were lit at dusk. The keeper ...",
            "... the stairs; his [lantern] swung in the ...",
            "... Far below, the [sea] broke on the rocks ..." }));
    TPassageRules one = Narrow();
    one.MaxPassages = 1;
    EXPECT_EQ(Passages(Story, { "sea" }, one), Strings { "... Far below, the [sea] broke on the rocks ..." });
    EXPECT_EQ(Passages(Story, { "keeper climbed" }, Narrow()),
        Strings { "... at dusk. The [keeper climbed] the stairs; ..." });
    // Matches that fall inside a passage are marked there, not given their own.
    EXPECT_EQ(Passages("a cat and a dog", { "dog", "cat" }, Narrow()), Strings { "a [cat] and a [dog]" });
    EXPECT_TRUE(Passages(Story, { "whale" }, Narrow()).empty());
}

TEST(ContextPassages, WholeWordAndCaseFollowTheSearch)
{
    const TCharSet boundaries = MakeCharSet("\n\r !,./:?");
    TPassageRules word = Narrow();
    word.Word = { TStringSearchType::sst_Word, &boundaries, &boundaries };
    EXPECT_EQ(Passages("concatenate a cat.", { "cat" }, word), Strings { "concatenate a [cat]." });
    TPassageRules exact = Narrow();
    exact.CaseSense = true;
    EXPECT_EQ(Passages("Cat or cat", { "cat" }, exact), Strings { "Cat or [cat]" });
    EXPECT_EQ(Passages("Cat or cat", { "cat" }, Narrow()), Strings { "[Cat] or [cat]" });
}

TEST(ContextPassages, EveryStoredFormOfALetterIsFound)
{
    const std::string raw = "<p>Caf&eacute; au lait, caf\xC3\xA9 noir, CAF&#201; cr\xC3\xA8me</p>";
    const std::string visible = VisibleText(raw, CodePage::Utf8, true);
    EXPECT_EQ(Passages(visible, { "CAF\xC3\x89" }, Narrow()),
        Strings { "[Caf\xC3\xA9] au lait, [caf\xC3\xA9] noir, [CAF\xC3\x89] cr\xC3\xA8me" });
    TPassageRules typed = Narrow();
    typed.FoldAllLetters = false; // accented letters compare as they are
    EXPECT_EQ(Passages(visible, { "CAF\xC3\x89" }, typed),
        Strings { "Caf\xC3\xA9 au lait, caf\xC3\xA9 noir, [CAF\xC3\x89] cr\xC3\xA8me" });
}

namespace {

struct PassageScan : ::testing::Test {
    TTempTree tree;
    TTempTree pages; // apart, so one search's page is no hit of the next
    TFileScan scan;

    PassageScan()
    {
        scan.Directory = tree.path();
        scan.FileSpecs = "*.htm";
        scan.ShowTitle = scan.ShowSummary = true;
        scan.OutputFile = pages.file("page.htm");
        scan.Sort = TSort::stTitle;
    }
    std::string Page(int passages)
    {
        scan.ContextPassages = passages;
        scan.SetStartScan(true);
        return ReadWholeFile(pages.file("page.htm"));
    }
};

} // namespace

TEST_F(PassageScan, PageShowsPassagesInBoldAndIsUnchangedWithoutThem)
{
    tree.write("a.htm", "<title>A</title><p>" + Story + "</p>");
    tree.write("b.htm", "<title>B</title><script>lantern()</script><p>only <i title=lantern>here</i></p>");
    scan.SearchStrings = { "lantern", "rocks" };
    scan.SearchType = TSearchType::st_And;
    const std::string with = Page(2);
    const std::string passages
        = "<font size=-1><b>Lantern</b>s were lit at dusk. The keeper climbed the stairs; his "
          "<b>lantern</b> swung in the wind. Far below, the sea broke on the <b>rocks</b> and "
          "the <b>lantern</b> of the boat went ...</font><br>";
    ASSERT_NE(with.find(passages), std::string::npos) << with;
    const std::string without = Page(0);
    EXPECT_EQ(std::string(with).erase(with.find(passages), passages.size()), without);

    // Markup, scripts and attributes give no passage: the summary stands alone.
    scan.SearchType = TSearchType::st_Or;
    const std::string markupOnly = Page(3);
    EXPECT_NE(markupOnly.find("<b>B</b></a><dd>lantern()only here<br><b>URL</b>"), std::string::npos)
        << markupOnly;
}

TEST_F(PassageScan, MetaOnlySearchCutsFromTheMetaText)
{
    tree.write("m.htm",
        "<meta name=\"description\" content=\"Old lanterns &amp; lamps\"><p>lantern in the body</p>");
    scan.SearchStrings = { "lantern" };
    scan.METASearch = true;
    const std::string page = Page(3);
    EXPECT_NE(
        page.find("<font size=-1>&quot;Old <b>lantern</b>s &amp; lamps&quot;</font><br>"), std::string::npos)
        << page;
}

TEST(ContextPassages, ALongPageGivesThePassagesOfItsWholeText)
{
    // The first passages lie early, the last one far on: all three are found,
    // the same as from the visible text as a whole.
    const std::string filler = "<p>" + std::string(9000, 'x') + "</p>";
    const std::string raw = "<p>cat one, then cat two</p>" + filler + "<p>the cat, three</p>" + filler;
    TPassageRules rules = Narrow();
    rules.Width = 12;
    const Strings expected { "[cat] one, ...", "... [cat] two ...", "... the [cat], ..." };
    EXPECT_EQ(Marked(PagePassages(raw, CodePage::Ansi, true, { "cat" }, rules)), expected);
    EXPECT_EQ(Passages(VisibleText(raw, CodePage::Ansi, true), { "cat" }, rules), expected);
    rules.MaxPassages = 2;
    EXPECT_EQ(Marked(PagePassages(raw, CodePage::Ansi, true, { "cat" }, rules)),
        (Strings { "[cat] one, ...", "... [cat] two ..." }));
}

TEST_F(PassageScan, WordsOnlyBeyondTheFirstBlockAreCutFromTheBytesAroundThem)
{
    std::string filler;
    while (filler.size() < 40000)
        filler += "<p class=\"row\">filler words here</p>\n";
    tree.write("far.htm", "<title>Far</title>" + filler + "<p>the harbour lantern glowed</p>" + filler);
    // A tag cut by the window's start and a match in markup only give nothing.
    tree.write("tag.htm", "<title>Tag</title>" + filler + "<img alt=\"lantern\">" + filler);
    scan.SearchStrings = { "lantern" };
    const std::string page = Page(3);
    EXPECT_NE(page.find("<font size=-1>... "), std::string::npos) << page.substr(0, 3000);
    EXPECT_NE(page.find(" filler words here the harbour <b>lantern</b> glowed filler words here"), std::string::npos)
        << page.substr(0, 3000);
    EXPECT_EQ(page.find("<font size=-1>... row"), std::string::npos) << "no attribute read as text";
    const size_t tagHit = page.find("<b>Tag</b>");
    ASSERT_NE(tagHit, std::string::npos);
    EXPECT_EQ(page.find("<font size=-1>", tagHit), std::string::npos) << "the summary stands alone";
}

TEST_F(PassageScan, WindowsPunctuationReadsAsItsCharactersOnThePage)
{
    tree.write("w.htm", "<title>Lamps &#150; lanterns</title><p>A lantern &#151; &#145;lit&#146; &#133;</p>");
    scan.SearchStrings = { "lantern" };
    const std::string page = Page(3);
    EXPECT_NE(page.find("<b>Lamps &#8211; lanterns</b>"), std::string::npos) << page;
    EXPECT_NE(page.find("A <b>lantern</b> &#8212; &#8216;lit&#8217; &#8230;</font>"), std::string::npos) << page;
    // The search finds the numbered dash as the dash it reads as.
    scan.SearchStrings = { "\xE2\x80\x93" };
    scan.SearchForms = TStoredForms::All;
    EXPECT_NE(Page(0).find("<b>Lamps &#8211; lanterns</b>"), std::string::npos);
}
