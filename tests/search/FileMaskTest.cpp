#include <gtest/gtest.h>

#include "util/FileMask.h"

TEST(FileMask, IgnoresCaseAndKnowsWildcards)
{
    EXPECT_TRUE(MatchesMask("INDEX.HTM", "*.htm"));
    EXPECT_TRUE(MatchesMask("index.htm", "*.HTM"));
    EXPECT_TRUE(MatchesMask("data12.txt", "data??.txt"));
    EXPECT_FALSE(MatchesMask("data1.txt", "data??.txt"));
    EXPECT_TRUE(MatchesMask("a.b.c", "*.c"));
    EXPECT_FALSE(MatchesMask("a.htm.bak", "*.htm"));
    EXPECT_FALSE(MatchesMask("a.htm", ""));
}

TEST(FileMask, ThreeLetterExtensionsAlsoFindLongerOnes)
{
    EXPECT_TRUE(MatchesMask("a.html", "*.htm"));
    EXPECT_TRUE(MatchesMask("A.HTMLX", "*.htm"));
    EXPECT_TRUE(MatchesMask("page.html", "p*.htm"));
    EXPECT_FALSE(MatchesMask("index.html", "p*.htm"));
    EXPECT_FALSE(MatchesMask("a.xhtml", "*.htm"));
    EXPECT_FALSE(MatchesMask("a.ht", "*.htm"));
    // Only a plain three-character extension widens.
    EXPECT_FALSE(MatchesMask("a.html", "*.h?m"));
    EXPECT_FALSE(MatchesMask("a.htmlx", "*.html"));
}

TEST(FileMask, StarDotStarMatchesEveryName)
{
    EXPECT_TRUE(MatchesMask("README", "*.*"));
    EXPECT_TRUE(MatchesMask("a.b", "*.*"));
    EXPECT_TRUE(MatchesMask("README", "*"));
    EXPECT_TRUE(MatchesMask("\xff\xfe.htm", "*.htm"));
}
