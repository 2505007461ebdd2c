// Cutting the typed text to 255 characters, and the results-path rule.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include "tests/util/TestSupport.h"

#include "search/SearchRequest.h"

TEST(CutToCharacters, CountsCharactersNotBytes)
{
    const std::string e = "\xC3\xA9"; // e acute, two bytes
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += e;
    const std::string cut = CutToCharacters(text, 255);
    EXPECT_EQ(cut.size(), 510u) << "no sequence is split";
    EXPECT_EQ(CutToCharacters("abc", 255), "abc");
    // Bytes that start no valid sequence count one each.
    EXPECT_EQ(CutToCharacters("\xFF\xFE\x80zz", 3), "\xFF\xFE\x80");
    EXPECT_EQ(CutToCharacters("a\xC3", 5), "a\xC3") << "a truncated sequence at the end is kept byte by byte";
    EXPECT_EQ(CutToCharacters("\xF0\x9F\x98\x80x", 1), "\xF0\x9F\x98\x80");
}

TEST(CutToCharacters, LongKeywordsSearchForTheirBeginning)
{
    TSearchChoices choices;
    choices.SearchType = TPageSearchType::Phrase;
    choices.ConvertSymbols = false;
    choices.SearchText = std::string(254, 'a') + "\xC3\xA9" + std::string(9000, 'b');
    const auto strings = PrepareSearchStrings(choices);
    ASSERT_EQ(strings.size(), 1u);
    EXPECT_EQ(strings[0], std::string(254, 'a') + "\xC3\xA9");
}

TEST(ResultFilePath, LocalRFRule)
{
    const char* tmp = std::getenv("TMPDIR");
    const std::string savedTmp = tmp ? tmp : "";
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedRuntime = runtime ? runtime : "";
    TempFolder scratch;
    ::setenv("QUILLON_PROGRAM_DIR", "/opt/quillon", 1);
    ::setenv("TMPDIR", scratch.path().c_str(), 1);
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(ResultFilePath("C:\\KOVRA\\HITS.HTM", 2), "/opt/quillon/HITS.HTM");
    // Never a fixed name in the shared temporary folder: the user's private one.
    EXPECT_EQ(ResultFilePath("/data/HITS.HTM", 3),
              scratch.path() + "quillon-" + std::to_string(::getuid()) + "/HITS.HTM");
    EXPECT_EQ(ResultFilePath("/data/HITS.HTM", 1), "/data/HITS.HTM");
    EXPECT_EQ(ResultFilePath("/data/HITS.HTM", 7), "/data/HITS.HTM");
    if (tmp)
        ::setenv("TMPDIR", savedTmp.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    ::unsetenv("QUILLON_PROGRAM_DIR");
    if (runtime)
        ::setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
}
