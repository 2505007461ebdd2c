// Passages cut while a page is read a piece at a time, with the stretches
// before and between matches stepped over, must be those of the page's whole
// visible text.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "search/ContextPassages.h"
#include "search/TPassageCutter.h"
#include "search/TPassageSkimmer.h"
#include "search/TVisibleTextReader.h"
#include "util/CharacterReferences.h"
#include "util/CodePage.h"

namespace {

using Strings = std::vector<std::string>;

std::string Utf8Of(const std::u32string& text)
{
    std::string utf8;
    for (char32_t c : text)
        AppendUtf8(c, utf8);
    return utf8;
}

std::string Shown(const std::vector<TPassage>& passages)
{
    std::string shown;
    for (const TPassage& p : passages) {
        size_t done = 0;
        for (const auto& [begin, end] : p.Matches) {
            shown += p.Text.substr(done, begin - done) + "[" + p.Text.substr(begin, end - begin) + "]";
            done = end;
        }
        shown += p.Text.substr(done) + "\n";
    }
    return shown;
}

TPassageRules Narrow()
{
    TPassageRules rules;
    rules.Width = 40;
    return rules;
}

std::string Repeated(const std::string& piece, size_t times)
{
    std::string out;
    for (size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

// Navigation before the text, as documentation pages have: many short links.
const std::string Navigation = "<head><title>The lantern</title><script>var lantern = '<p>lantern</p>';</script>"
                               "<style>.lantern { color: red }</style></head><body><ul>"
    + Repeated("<li><a href=\"lantern.html\" class=\"lantern\">Harbour</a> and <span>quay</span></li>\n", 40)
    + "</ul><!-- lantern -->";

} // namespace

TEST(PassageReading, TextReadInSmallPiecesIsTheTextReadAtOnce)
{
    const std::string raw = "<p>caf\xC3\xA9  &amp;&#233;t\xC3\xA9\n\n<b>b</b>old</p><script>x < y</script>"
                            "<!-- hidden --> tail&nbsp;end &copy;  \xE2\x80\x94 done   ";
    const std::string whole = VisibleText(raw, CodePage::Utf8, true);
    EXPECT_EQ(whole, "caf\xC3\xA9 &\xC3\xA9t\xC3\xA9 bold tail\xC2\xA0" "end \xC2\xA9 \xE2\x80\x94 done");
    for (size_t step : { 1, 2, 3, 7 }) {
        TVisibleTextReader reader(raw, CodePage::Utf8, true);
        std::u32string text;
        while (!reader.AtEnd())
            reader.ReadInto(text, step);
        EXPECT_EQ(Utf8Of(text), whole) << "step " << step;
    }
}

TEST(PassageReading, ASkipStartsANewWord)
{
    const std::string raw = "<i>alpha</i> <p>beta</p><p>gamma delta</p>";
    TVisibleTextReader reader(raw, CodePage::Ansi, true);
    std::u32string text;
    reader.ReadInto(text, 13); // up to "<p>beta"
    ASSERT_TRUE(reader.GaveAllRead());
    reader.SkipTo(raw.find("delta"));
    while (!reader.AtEnd())
        reader.ReadInto(text, 64);
    EXPECT_EQ(Utf8Of(text), "alpha delta");
}

TEST(PassageReading, PassagesCutWhileTheTextGrowsAreThoseOfTheWholeText)
{
    const std::string text = Repeated("The keeper climbed the stairs; his lantern swung. ", 3) + "A cat sat. "
        + Repeated("Far below, the sea broke on the rocks. ", 6) + "The lanterns of the boat went out, concatenated.";
    TPassageRules word = Narrow();
    TCharSet bounds;
    bounds.set(' ');
    bounds.set('.');
    bounds.set(',');
    word.Word = { TStringSearchType::sst_Word, &bounds, &bounds };
    TPassageRules exact = Narrow();
    exact.CaseSense = true;
    for (const TPassageRules& rules : { Narrow(), word, exact }) {
        for (const Strings& strings : { Strings { "lantern" }, Strings { "cat", "sea" }, Strings { "The" } }) {
            const std::string whole = Shown(FindPassages(text, strings, rules));
            TPassageCutter cutter(strings, rules);
            bool settledEarly = false;
            for (char c : text) {
                cutter.Text() += char32_t(c);
                if (cutter.Settled(false)) {
                    settledEarly = true;
                    break;
                }
            }
            if (!settledEarly)
                cutter.Settled(true);
            EXPECT_EQ(Shown(cutter.Passages()), whole) << strings[0];
        }
    }
    TPassageCutter cutter({ "keeper" }, Narrow());
    cutter.Text() = std::u32string(text.begin(), text.end());
    EXPECT_TRUE(cutter.Settled(false)) << "three passages found long before the end of the text";
}

TEST(PassageReading, TheSkimmerStartsInTheTextBeforeTheFirstSpelledMatch)
{
    const std::string text = Repeated("Boats rocked in the harbour all night long. ", 20);
    const std::string raw = Navigation + "<p>" + text + "The <b>lantern</b> glowed.</p>";
    TPassageSkimmer skimmer(raw, true, { "LANTERN" }, false, 200);
    ASSERT_TRUE(skimmer.Enabled());
    const size_t start = skimmer.ReadingStart(0);
    ASSERT_NE(start, NoSpelledMatch);
    EXPECT_GT(start, raw.find("<p>Boats")) << "the head, scripts, attributes and comments are stepped over";
    EXPECT_LE(start, raw.find("The <b>lantern") - 200);
    EXPECT_NE(raw[start], '<');
    EXPECT_EQ(raw[start - 1], '>') << "a place in the text, never inside a tag";

    EXPECT_TRUE(skimmer.LeftOutText()) << "the navigation's words";
    const std::string head = "<head><title>lantern</title><style>p { }</style></head>\n<body>\n";
    const std::string headAndText = head + "<p>" + text + "lantern</p>";
    TPassageSkimmer headOnly(headAndText, true, { "lantern" }, false, 200);
    EXPECT_GT(headOnly.ReadingStart(0), head.size());
    EXPECT_FALSE(headOnly.LeftOutText()) << "markup and white space only: no text is left out";

    TPassageSkimmer exact(raw, true, { "LANTERN" }, true, 200);
    EXPECT_EQ(exact.ReadingStart(0), NoSpelledMatch) << "with the case counting, no match is spelled out";
    EXPECT_EQ(TPassageSkimmer(Navigation, true, { "lantern" }, false, 200).ReadingStart(0), NoSpelledMatch)
        << "only in markup";
}

TEST(PassageReading, TheSkimmerFindsAWordRunningAcrossTagsInsideIt)
{
    const std::string raw = Navigation + "<p>" + Repeated("Quiet water. ", 30) + "lan<b>te</b><i>rn</i> light</p>";
    TPassageSkimmer skimmer(raw, true, { "lantern" }, false, 100);
    const size_t start = skimmer.ReadingStart(0);
    ASSERT_NE(start, NoSpelledMatch);
    EXPECT_LT(start, raw.find("lan<b>"));
    // Tags that separate words make no word of the pieces.
    EXPECT_EQ(TPassageSkimmer(Navigation + "<p>lan</p><p>tern</p>", true, { "lantern" }, false, 100).ReadingStart(0),
        NoSpelledMatch);
}

TEST(PassageReading, StringsThatNeedNotBeSpelledOutAreNotSkimmedFor)
{
    const std::string raw = Navigation + "<p>caf&eacute; and keeper   climbed</p>";
    for (const Strings& strings : { Strings { "caf\xC3\xA9" }, Strings { "keeper climbed" }, Strings { "" } }) {
        TPassageSkimmer skimmer(raw, true, strings, false, 100);
        EXPECT_FALSE(skimmer.Enabled());
        EXPECT_EQ(skimmer.ReadingStart(0), 0u);
    }
    const std::string plain = Repeated("calm sea ", 50) + "lantern";
    const size_t start = TPassageSkimmer(plain, false, { "lantern" }, false, 100).ReadingStart(0);
    EXPECT_GT(start, 0u);
    EXPECT_EQ(plain[start - 1], ' ') << "a text file is read on from white space";
}

TEST(PassageReading, SkimmedPagesGiveThePassagesOfTheirWholeText)
{
    const std::string gap = "<p>" + Repeated("Nothing but <em>calm</em> water and <a href=\"x\">sky</a>. ", 25) + "</p>";
    const std::vector<std::string> pages = {
        Navigation + "<p>The lantern glowed.</p>" + gap + "<p>A second lantern.</p>" + gap + "<p>Lanterns</p>" + gap,
        // Matches close together, then one far on, then one just after a gap's end.
        Navigation + "<p>lantern lantern, a lantern</p>" + gap + "<p>x lantern</p>",
        // A word the tags of a stretch make, and a match the whole-word rule turns down.
        Navigation + gap + "<p>lan<b>tern</b></p>" + gap + "<p>lanterns and a lantern</p>" + gap,
        // Text made of references leaves too little before the match: all is read.
        Navigation + "<p>" + Repeated("&amp;" + std::string(30, ' '), 6) + "the lantern</p>" + gap + "<p>lantern</p>",
        // No match at all in the text.
        Navigation + gap,
    };
    TCharSet bounds;
    for (char c : std::string(" .,&<>"))
        bounds.set(static_cast<unsigned char>(c));
    TPassageRules word = Narrow();
    word.Word = { TStringSearchType::sst_Word, &bounds, &bounds };
    TPassageRules wide;
    wide.MaxPassages = 5;
    size_t index = 0;
    for (const std::string& raw : pages) {
        for (const TPassageRules& rules : { Narrow(), word, wide }) {
            const std::string whole = Shown(FindPassages(VisibleText(raw, CodePage::Ansi, true), { "lantern" }, rules));
            EXPECT_EQ(Shown(PagePassages(raw, CodePage::Ansi, true, { "lantern" }, rules)), whole) << "page " << index;
        }
        ++index;
    }
    EXPECT_NE(Shown(PagePassages(pages[0], CodePage::Ansi, true, { "lantern" }, Narrow())).find("A second [lantern]."),
        std::string::npos);
}
