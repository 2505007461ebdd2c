#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>

#include "search/Matcher.h"

namespace {

const TCharSet WholeWordSet = MakeCharSet("\n\r !,./:?");

bool Contains(const std::string& data, const std::string& pattern,
              TStringSearchType type = TStringSearchType::sst_Word)
{
    return ContainsString(data.data(), data.size(), pattern, {type, &WholeWordSet, &WholeWordSet});
}

} // namespace

TEST(Matcher, UpperCasesAsciiLettersOnly)
{
    std::string all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[size_t(i)] = char(i);
    const std::string upper = UpperCaseAscii(all + all.substr(0, 37)); // odd length: vector and tail paths
    for (size_t i = 0; i < upper.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(all[i % 256]);
        const unsigned char expected = c >= 'a' && c <= 'z' ? c - 32 : c;
        ASSERT_EQ(static_cast<unsigned char>(upper[i]), expected) << "byte " << int(c);
    }
}

TEST(Matcher, FindBytesAgreesWithAPlainSearch)
{
    std::mt19937 random(12345);
    for (int round = 0; round < 20000; ++round) {
        const size_t length = random() % 80;
        std::string haystack(length, 'a');
        for (char& c : haystack)
            c = "abc\0"[random() % 4];
        const size_t m = 1 + random() % 6;
        std::string needle(m, 'a');
        for (char& c : needle)
            c = "abc\0"[random() % 4];
        const char* found = FindBytes(haystack.data(), haystack.size(), needle);
        const size_t expected = haystack.find(needle);
        if (expected == std::string::npos)
            ASSERT_EQ(found, nullptr) << haystack << " / " << needle;
        else
            ASSERT_EQ(found, haystack.data() + expected) << haystack << " / " << needle;
    }
    EXPECT_EQ(FindBytes("abc", 3, ""), nullptr);
}

TEST(Matcher, WholeWordNeedsBoundariesFromTheSet)
{
    EXPECT_TRUE(Contains("a cat.", "cat"));
    EXPECT_TRUE(Contains("cat and dog", "cat"));
    EXPECT_TRUE(Contains("the cat", "cat"));
    EXPECT_TRUE(Contains("?cat:", "cat"));
    EXPECT_FALSE(Contains("concatenate", "cat"));
    EXPECT_FALSE(Contains("a cat;", "cat"));
    EXPECT_FALSE(Contains("<b>cat </b>", "cat"));
    EXPECT_FALSE(Contains("a\tcat ", "cat"));
    // A failed occurrence does not hide a later whole one.
    EXPECT_TRUE(Contains("concatenate the cat!", "cat"));
}

TEST(Matcher, PrefixAndSuffixCheckOneSide)
{
    EXPECT_TRUE(Contains("a catalog", "cat", TStringSearchType::sst_Prefix));
    EXPECT_FALSE(Contains("a bobcat", "cat", TStringSearchType::sst_Prefix));
    EXPECT_TRUE(Contains("a bobcat", "cat", TStringSearchType::sst_Suffix));
    EXPECT_FALSE(Contains("a catalog", "cat", TStringSearchType::sst_Suffix));
    EXPECT_TRUE(Contains("concatenate", "cat", TStringSearchType::sst_Normal));
}

TEST(Matcher, NeverMatchesAcrossANulOrAnEmptyString)
{
    const std::string data("do\0g dog", 8);
    EXPECT_TRUE(Contains(data, "dog", TStringSearchType::sst_Normal));
    EXPECT_FALSE(Contains(data.substr(0, 5), "dog", TStringSearchType::sst_Normal));
    EXPECT_FALSE(Contains("anything", "", TStringSearchType::sst_Normal));
    // A NUL before a word is not one of the boundary characters.
    EXPECT_FALSE(Contains(std::string("x\0cat", 5), "cat"));
}
