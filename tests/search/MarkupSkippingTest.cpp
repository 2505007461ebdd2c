// The pieces the passage skim steps over markup with.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "search/MarkupSkipping.h"
#include "search/TOpenWord.h"
#include "search/TRunStarts.h"

TEST(MarkupSkipping, TheQuickEndIsTheEndOfTheMarkup)
{
    const std::vector<std::string> samples = { "<p>x", "</P>x", "<span class=a>x", "<STRONG>x", "<table>x", "<td>x",
        "<!-- a > b -->x", "<!DOCTYPE html>x", "<script>a > b</script>x", "<SCRIPT>a</SCRIPT>x", "<style>p{}</style>x",
        "<Title>t</title>x", "<script/>x", "<script src=a>", "<title", "<!-- cut", "<sTyLe>a<b>c</StYlE>x", "<", "<>x",
        "<s>x", "<t>x", "<sc", "<ti>x" };
    for (const std::string& markup : samples) {
        const std::string raw = "ab" + markup;
        EXPECT_EQ(MarkupEnd(raw, 2), SkipMarkup(raw, 2).end) << markup;
    }
    const std::string hidden = "<script>var s = '<p>lantern</p>';</script>after";
    EXPECT_EQ(hidden.substr(MarkupEnd(hidden, 0)), "</script>after");
    EXPECT_FALSE(SeparatesWords("<b>", 0));
    EXPECT_FALSE(SeparatesWords("</SPAN>", 0));
    EXPECT_TRUE(SeparatesWords("<p>", 0));
    EXPECT_TRUE(SeparatesWords("<!-- x -->", 0));
}

TEST(MarkupSkipping, AnOpenWordKeepsOnlyWhatCouldBeginAString)
{
    const std::vector<std::string> strings = { "LANTERN", "SEA" };
    TOpenWord word(strings, false);
    word.Extend("the old lan");
    EXPECT_EQ(word.Size(), 3u) << "\"lan\" begins LANTERN";
    EXPECT_FALSE(word.RunsInto("d"));
    EXPECT_TRUE(word.RunsInto("tERN glowed"));
    word.Extend("te"); // "lan<b>te</b>rn"
    EXPECT_TRUE(word.RunsInto("rn"));
    word.Extend("x");
    EXPECT_FALSE(word.IsOpen()) << "no string begins with x";
    word.Extend("the s");
    EXPECT_TRUE(word.RunsInto("ea")) << "a space ends the word but a string may begin after it";
    word.Extend("word ");
    EXPECT_FALSE(word.IsOpen());

    TOpenWord exact(strings, true);
    exact.Extend("lan");
    EXPECT_FALSE(exact.IsOpen()) << "with the case counting, lower-case letters begin no string";
    exact.Extend("LAN");
    EXPECT_TRUE(exact.RunsInto("TERN"));
    EXPECT_FALSE(exact.RunsInto("tern"));
}

TEST(MarkupSkipping, RunStartsGoBackFarEnough)
{
    TRunStarts starts(100, 10);
    EXPECT_EQ(starts.Before(50, 20), 100u) << "none kept: where the runs began";
    for (size_t i = 0; i < 200; ++i)
        starts.Note(1000 + 10 * i, 5 * i); // a run of five text bytes every ten bytes
    // The latest start at least 40 bytes of text before text byte 995.
    const size_t start = starts.Before(995, 40);
    EXPECT_LE((start - 1000) / 10 * 5 + 40, 995u);
    EXPECT_GE((start - 1000) / 10 * 5 + 40 + 2 * 10, 995u) << "not much further back than needed";
    EXPECT_EQ(starts.Before(995, 100000), 100u) << "further back than kept";
}
