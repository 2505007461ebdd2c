#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "search/ResultsPage.h"

namespace {

TFoundList MakeList(const std::vector<std::tuple<std::string, int64_t, TDateTime>>& hits)
{
    TFoundList list;
    for (const auto& [title, bytes, modified] : hits) {
        list.push_back({"/d/" + title, std::make_unique<TOneResult>(title, bytes, modified, "/d/" + title + ".htm",
                                                                     "about " + title)});
    }
    return list;
}

std::vector<std::string> Titles(const TFoundList& list, TSort sort, bool reverse)
{
    std::vector<std::string> titles;
    for (const TOneResult* hit : OrderedHits(list, sort, reverse))
        titles.push_back(hit->Title());
    return titles;
}

using Strings = std::vector<std::string>;

} // namespace

TEST(ResultsPage, OrdersByTitleDateOrSizeAndReverses)
{
    TFoundList list = MakeList({{"apple", 300, 3.0}, {"Banana", 100, 1.0}, {"cherry", 200, 4.0}, {"date", 400, 2.0}});
    list.push_back({"   ***** Search Aborted by User *****   ", nullptr}); // not a hit
    EXPECT_EQ(Titles(list, TSort::stNone, false), (Strings{"apple", "Banana", "cherry", "date"}));
    EXPECT_EQ(Titles(list, TSort::stNone, true), (Strings{"date", "cherry", "Banana", "apple"}));
    EXPECT_EQ(Titles(list, TSort::stTitle, false), (Strings{"Banana", "apple", "cherry", "date"}));
    EXPECT_EQ(Titles(list, TSort::stDate, false), (Strings{"Banana", "date", "apple", "cherry"}));
    EXPECT_EQ(Titles(list, TSort::stSize, false), (Strings{"Banana", "cherry", "apple", "date"}));
    EXPECT_EQ(Titles(list, TSort::stSize, true), (Strings{"date", "apple", "cherry", "Banana"}));
}

TEST(ResultsPage, SizeTexts)
{
    EXPECT_EQ(SizeText(0), "0 bytes");
    EXPECT_EQ(SizeText(1000), "1000 bytes");
    EXPECT_EQ(SizeText(1001), "1K");
    EXPECT_EQ(SizeText(2999), "2K");
    EXPECT_EQ(SizeText(3000000000LL), "3000000K");
}

TEST(ResultsPage, WritesThePageTextExactly)
{
    const TDateTime modified = EncodeDate(2024, 3, 4) + EncodeTime(13, 5, 9);
    TFoundList list;
    list.push_back({"line", std::make_unique<TOneResult>("Big <i>cats</i>", 2999, modified, "/d/a \"q\".htm",
                                                         "<b>summary</b>")});
    TResultsPageSettings s;
    s.BGColor = "#FFFFFF";
    s.Header = "<H1>KOVRA Search</H1>";
    s.Footer = "<hr>";
    s.SearchStrings = {"cat", "<dog>"};
    s.Sort = TSort::stDate;
    s.METASearch = true;
    s.SWFileDate = true;
    s.SWFileSize = true;
    const std::string url = "file:///d/a%20%22q%22.htm";
    const std::string shownUrl = "file:///d/a &quot;q&quot;.htm";
    const std::string expected = "<body bgcolor=#FFFFFF width=70%>\r\n"
                                 "<H1>KOVRA Search</H1>\r\n"
                                 "<b><font face=arial size=-1><b><br>The search found 1\r\n"
                                 " files contains the keyword(s) <I> \r\n"
                                 "cat\r\n"
                                 "&lt;dog&gt;\r\n"
                                 "\r\n"
                                 "</I><font color=0000ff>\r\n"
                                 "[sort by date]\r\n"
                                 "<font color=ff0000>[MetaSearch]</font><P></font>"
                                 "<BR><dl><dt><b>1</b>.<a href=\"" +
                                 url +
                                 "\"><b>Big &lt;i&gt;cats&lt;/i&gt;</b></a><dd>&lt;b&gt;summary&lt;/b&gt;<br>"
                                 "<b>URL</b>:<font color=gray>" +
                                 shownUrl +
                                 "<br>Last modified 03/04/24 13:05:09- page size:2K</font></dl><br>\r\n"
                                 "</td></tr></table>\r\n"
                                 "<hr></body>\r\n";
    EXPECT_EQ(ResultsPageText(list, s), expected);
}

TEST(ResultsPage, EmptyResultAndMatchLimit)
{
    TResultsPageSettings s;
    const std::string empty = ResultsPageText({}, s);
    EXPECT_NE(empty.find("The search found 0\r\n"), std::string::npos);
    EXPECT_EQ(empty.find("<BR><dl>"), std::string::npos);
    EXPECT_EQ(empty.find("[sort by"), std::string::npos);
    s.Reverse = true;
    EXPECT_EQ(ResultsPageText({}, s), empty);

    const TFoundList list = MakeList({{"a", 1, 1.0}, {"b", 2, 2.0}, {"c", 3, 3.0}});
    s.MatchLimit = 2;
    s.Reverse = false;
    const std::string limited = ResultsPageText(list, s);
    EXPECT_NE(limited.find("The search found 3\r\n"), std::string::npos);
    EXPECT_NE(limited.find("<b>2</b>."), std::string::npos);
    EXPECT_EQ(limited.find("<b>3</b>."), std::string::npos);
}

TEST(ResultsPage, UrlsAreAbsoluteAndSafeInsideQuotes)
{
    EXPECT_EQ(FileUrlFromPath("/x/y-1_2.~v.htm"), "file:///x/y-1_2.~v.htm");
    EXPECT_EQ(FileUrlFromPath("/x/100%\"\n.htm"), "file:///x/100%25%22%0A.htm");
    EXPECT_EQ(FileUrlFromPath("/x/\xff.htm"), "file:///x/%FF.htm");
    // Everything a location reads specially is encoded, so the name opens.
    EXPECT_EQ(FileUrlFromPath("/d/x#1.htm"), "file:///d/x%231.htm");
    EXPECT_EQ(FileUrlFromPath("/d/a?b&c=d e.htm"), "file:///d/a%3Fb%26c%3Dd%20e.htm");
    EXPECT_EQ(FileUrlFromPath("/d/C:|\\<'>+;@!.htm"), "file:///d/C%3A%7C%5C%3C%27%3E%2B%3B%40%21.htm");
    for (const std::string path : {"/d/x#1.htm", "/d/a?b&c=d e.htm", "/x/100%\"\n\xff.htm"})
        EXPECT_EQ(ReadableUrl(FileUrlFromPath(path)), "file://" + path);
    EXPECT_EQ(ReadableUrl("file:///a%2"), "file:///a%2") << "a cut escape stays as it is";
    const std::string relative = FileUrlFromPath("y.htm");
    EXPECT_EQ(relative.rfind("file:///", 0), 0u);
    EXPECT_EQ(relative.substr(relative.size() - 6), "/y.htm");
}

TEST(ResultsPage, StoppedSearchSaysSoBesideItsCount)
{
    TResultsPageSettings s;
    TFoundList list = MakeList({{"a", 1, 1.0}});
    const std::string whole = ResultsPageText(list, s);
    EXPECT_EQ(whole.find("color=ff0000"), std::string::npos);

    list.push_back({"   ***** Search Aborted by User *****   ", nullptr});
    const std::string stopped = ResultsPageText(list, s);
    const size_t note = stopped.find("<font color=ff0000>   ***** Search Aborted by User *****   </font><br>\r\n");
    const size_t count = stopped.find("The search found 1\r\n");
    ASSERT_NE(note, std::string::npos);
    ASSERT_NE(count, std::string::npos);
    EXPECT_LT(note, count);
    // Nothing else of the page changes: without the note it is the whole page again.
    std::string withoutNote = stopped;
    withoutNote.erase(note, count - note);
    EXPECT_EQ(withoutNote, whole);
}
