#include <gtest/gtest.h>
#include <string>

#include "search/DocumentInfo.h"
#include "search/Matcher.h"

namespace {

TDocumentInfo Extract(const std::string& text, TSummaryOption summary = TSummaryOption::Extract)
{
    const std::string upper = UpperCaseAscii(text);
    return ExtractDocumentInfo(text, upper, "/docs/page.htm", TTitleOption::Extract, summary);
}

} // namespace

TEST(DocumentInfo, TakesTheTitleUpToItsFirstTag)
{
    EXPECT_EQ(Extract("<html><Title>Cats &amp; dogs</TITLE>").Title, "Cats & dogs") << "shown as text";
    EXPECT_EQ(Extract("<title>Big <b>cats</b></title>").Title, "Big ");
    EXPECT_EQ(Extract("<title><b>x</b></title>").Title, "/docs/page.htm");
    EXPECT_EQ(Extract("</title> <title>late").Title, "/docs/page.htm");
    EXPECT_EQ(Extract("no title at all").Title, "/docs/page.htm");
}

TEST(DocumentInfo, DescriptionValueKeepsItsQuotes)
{
    const TDocumentInfo info = Extract("<title>T</title><META NAME=\"Description\" CONTENT=\"All about cats\">body");
    EXPECT_TRUE(info.MetaFound);
    EXPECT_EQ(info.Summary, "\"All about cats\"");
    EXPECT_EQ(info.MetaText, "\"All about cats\"");
}

TEST(DocumentInfo, KeywordsFollowTheDescriptionInTheMetaText)
{
    const TDocumentInfo both = Extract("<meta name=\"keywords\" content=\"k1,k2\">"
                                       "<meta name=\"description\" content=\"d\">");
    EXPECT_EQ(both.Summary, "\"d\"");
    EXPECT_EQ(both.MetaText, "\"d\"\"k1,k2\"");
    const TDocumentInfo keywordsOnly = Extract("<meta name=\"KEYWORDS\" content=cats>");
    EXPECT_TRUE(keywordsOnly.MetaFound);
    EXPECT_EQ(keywordsOnly.Summary, "cats");
}

TEST(DocumentInfo, BareNameCountsOnlyWithAQuotedNameLater)
{
    const TDocumentInfo alone = Extract("<title>T</title><meta name=description content=alone><p>body text</p>");
    EXPECT_FALSE(alone.MetaFound);
    EXPECT_EQ(alone.Summary, "body text");
    const TDocumentInfo later = Extract("<meta name=description content=first><link name=\"description\">");
    EXPECT_TRUE(later.MetaFound);
    EXPECT_EQ(later.Summary, "first");
}

TEST(DocumentInfo, MissingContentEndsTheExtraction)
{
    const TDocumentInfo noContent = Extract("<title>T</title><meta name=\"description\"><p>body</p>");
    EXPECT_EQ(noContent.Title, "T");
    EXPECT_FALSE(noContent.MetaFound);
    EXPECT_EQ(noContent.Summary, "");
    const TDocumentInfo keywordsWithout =
        Extract("<meta name=\"description\" content=\"d\"><meta name=\"keywords\">");
    EXPECT_EQ(keywordsWithout.Summary, "\"d\"");
    // A CONTENT beyond the tag's end belongs to another tag: nothing is taken.
    const TDocumentInfo beyond = Extract("<meta name=\"description\"><meta name=x content=\"y\"><p>body</p>");
    EXPECT_FALSE(beyond.MetaFound);
    EXPECT_EQ(beyond.Summary, "body");
}

TEST(DocumentInfo, BodyExtractFollowsTheTitle)
{
    const TDocumentInfo info = Extract("<title>T</title>\r\n<h1>Big   cats</h1>\n<p>live\nhere</p>");
    EXPECT_FALSE(info.MetaFound);
    EXPECT_EQ(info.Summary, " Big cats live here");
    std::string longPage = "<title>T</title>";
    for (int i = 0; i < 40; ++i)
        longPage += "<p>0123456789</p>";
    const TDocumentInfo longInfo = Extract(longPage);
    EXPECT_EQ(longInfo.Summary.size(), 210u); // stops once past 200 characters
    const std::string noTags(400, 'x');
    EXPECT_EQ(Extract(noTags).Summary, std::string(250, 'x'));
}

TEST(DocumentInfo, NoSummaryWhenNotAsked)
{
    const TDocumentInfo info = Extract("<meta name=\"description\" content=\"d\">", TSummaryOption::Skip);
    EXPECT_EQ(info.Summary, "");
    EXPECT_EQ(info.MetaText, "");
    EXPECT_FALSE(info.MetaFound);
}

TEST(DocumentInfo, CollapsesLineBreaksAndSpaces)
{
    EXPECT_EQ(CollapseSpaces("  a\r\n\r\nb  c \t d "), " a b c \t d ");
    EXPECT_EQ(CollapseSpaces(""), "");
}

TEST(DocumentInfo, ReadsPagesAndTextFilesOnly)
{
    EXPECT_TRUE(HasDocumentExtension("/a/b.HTML"));
    EXPECT_TRUE(HasDocumentExtension("b.htm"));
    EXPECT_TRUE(HasDocumentExtension("/x/readme.Txt"));
    EXPECT_FALSE(HasDocumentExtension("/x/page.shtml"));
    EXPECT_FALSE(HasDocumentExtension("/x.htm/readme"));
    EXPECT_FALSE(HasDocumentExtension("/x/htm"));
}
