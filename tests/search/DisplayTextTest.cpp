#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "search/DisplayText.h"
#include "search/DocumentInfo.h"
#include "search/Matcher.h"
#include "search/ResultsPage.h"
#include "util/CodePage.h"

namespace {

int PageOf(const std::string& raw)
{
    return DocumentCodePage(raw, UpperCaseAscii(raw));
}

TDocumentInfo InfoOf(const std::string& raw)
{
    const std::string upper = UpperCaseAscii(raw);
    return ExtractDocumentInfo(raw, upper, "/docs/page.htm", TTitleOption::Extract, TSummaryOption::Extract);
}

} // namespace

TEST(DisplayText, CodePageFromTheDeclarationOrTheBytes)
{
    EXPECT_EQ(PageOf("<title>caf\xC3\xA9</title>"), CodePage::Utf8);
    EXPECT_EQ(PageOf("<title>caf\xE9</title>"), CodePage::Ansi);
    EXPECT_EQ(PageOf("<title>cafe</title>"), CodePage::Ansi);
    EXPECT_EQ(PageOf("<meta charset=\"utf-8\"><title>caf\xE9</title>"), CodePage::Utf8) << "declared wins";
    EXPECT_EQ(PageOf("<meta http-equiv=content-type content='text/html; charset=windows-1251'>"), 1251);
    EXPECT_EQ(PageOf("<meta content=\"text/html; charset=ISO-8859-1\">\xC3\xA9"), CodePage::Ansi);
    EXPECT_EQ(PageOf("<meta content=\"text/html; charset=iso-8859-2\">"), 28592);
    EXPECT_EQ(PageOf("<meta charset=unknown>caf\xC3\xA9"), CodePage::Utf8);
    // A first block that ends inside a character is still UTF-8.
    EXPECT_EQ(PageOf("caf\xC3\xA9 caf\xC3"), CodePage::Utf8);
}

TEST(DisplayText, DecodesBytesAndReferencesButKeepsMarkup)
{
    EXPECT_EQ(DisplayText("caf\xE9", CodePage::Ansi), "caf\xC3\xA9");
    EXPECT_EQ(DisplayText("\x80 5", CodePage::Ansi), "\xE2\x82\xAC 5");
    EXPECT_EQ(DisplayText("\xE0", 1251), "\xD0\xB0"); // Cyrillic a
    EXPECT_EQ(DisplayText("CAF&Eacute; &#233; &#xE9; &euro;", CodePage::Ansi),
              "CAF\xC3\x89 \xC3\xA9 \xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(DisplayText("&lt;b&gt; &amp;eacute; &#60; <i>x</i> &bogus; &", CodePage::Ansi),
              "&lt;b&gt; &amp;eacute; &#60; <i>x</i> &bogus; &")
        << "references to ASCII and unknown names keep the text's meaning as HTML";
    EXPECT_EQ(DisplayText("caf\xC3\xA9 caf\xC3", CodePage::Utf8), "caf\xC3\xA9 caf") << "cut character left out";
}

TEST(DisplayText, PlainTextDecodesEveryReferenceOnce)
{
    EXPECT_EQ(PlainText("&lt;b&gt; &amp;lt; &#60;&#x3E; &quot;x&quot; &bogus; & &#0; caf&eacute;", CodePage::Ansi),
              "<b> &lt; <> \"x\" &bogus; & &#0; caf\xC3\xA9");
    EXPECT_EQ(TextAsAsciiHtml("<a href=\"x?y\">&amp; caf\xC3\xA9</a>"),
              "&lt;a href=&quot;x?y&quot;&gt;&amp;amp; caf&#233;&lt;/a&gt;");
}

TEST(DisplayText, ResultsPageShowsHostileNamesAndTitlesAsText)
{
    // A title written with references shows the characters they stand for,
    // escaped once; markup in a meta value or a file name stays text.
    const TDocumentInfo referenced = InfoOf("<title>Tom &amp; Jerry &lt;3</title>"
                                            "<meta name=\"description\" content=\"<a href='/usr/bin/python3?-c'>\">");
    EXPECT_EQ(referenced.Title, "Tom & Jerry <3");
    TFoundList list;
    list.push_back({"a", std::make_unique<TOneResult>(referenced.Title, 10, 0, "/docs/a.htm", referenced.Summary)});
    const std::string hostileName = "/docs/<a href='python3?-c'>guide.htm";
    list.push_back({"b", std::make_unique<TOneResult>(hostileName, 10, 0, hostileName, "<script>x()</script>")});
    const std::string page = ResultsPageText(list, TResultsPageSettings{});
    EXPECT_NE(page.find("<b>Tom &amp; Jerry &lt;3</b>"), std::string::npos) << page;
    EXPECT_NE(page.find("<dd>&quot;&lt;a href='/usr/bin/python3?-c'<br>"), std::string::npos) << page;
    EXPECT_NE(page.find("<b>/docs/&lt;a href='python3?-c'&gt;guide.htm</b>"), std::string::npos) << page;
    EXPECT_NE(page.find("&lt;script&gt;x()&lt;/script&gt;"), std::string::npos) << page;
    EXPECT_NE(page.find("<font color=gray>file:///docs/&lt;a href='python3?-c'&gt;guide.htm<br>"), std::string::npos)
        << page;
    // The only links on the page are the two hits' own.
    size_t links = 0;
    for (size_t at = page.find("<a "); at != std::string::npos; at = page.find("<a ", at + 1))
        ++links;
    EXPECT_EQ(links, 2u);
    EXPECT_EQ(page.find("<script"), std::string::npos);
}

TEST(DisplayText, ResultsPageShowsEveryTitleAlikeInAscii)
{
    EXPECT_EQ(AsciiHtml("caf\xC3\xA9 <b>&amp;</b> \xF0\x9F\x98\x80"), "caf&#233; <b>&amp;</b> &#128512;");
    EXPECT_EQ(AsciiHtml("caf\xE9"), "caf&#233;") << "a byte that is not UTF-8 is Windows-1252";

    // The same title stored three ways ends up as the same text on the page.
    const TDocumentInfo cp1252 = InfoOf("<title>Caf\xE9</title><p>au lait \x93quoted\x94</p>");
    const TDocumentInfo utf8 = InfoOf("<title>Caf\xC3\xA9</title><p>au lait</p>");
    const TDocumentInfo entity = InfoOf("<title>Caf&eacute;</title><p>au lait</p>");
    EXPECT_EQ(cp1252.Title, "Caf\xC3\xA9");
    EXPECT_EQ(utf8.Title, "Caf\xC3\xA9");
    EXPECT_EQ(entity.Title, "Caf\xC3\xA9");
    EXPECT_EQ(cp1252.Summary, "au lait \xE2\x80\x9Cquoted\xE2\x80\x9D");
    // The meta text is searched, so it keeps the file's bytes.
    const TDocumentInfo meta = InfoOf("<meta name=\"description\" content=\"caf\xE9\">");
    EXPECT_EQ(meta.MetaText, "\"caf\xE9\"");
    EXPECT_EQ(meta.Summary, "\"caf\xC3\xA9\"");
    // Without a title the path stands, as the file system spells it.
    EXPECT_EQ(InfoOf("<p>caf\xE9</p>").Title, "/docs/page.htm");

    TFoundList list;
    list.push_back({"a", std::make_unique<TOneResult>(cp1252.Title, 10, 0, "/docs/a.htm", cp1252.Summary)});
    TResultsPageSettings settings;
    settings.SearchStrings = {"caf\xC3\xA9"};
    const std::string page = ResultsPageText(list, settings);
    EXPECT_NE(page.find("<b>Caf&#233;</b></a><dd>au lait &#8220;quoted&#8221;<br>"), std::string::npos) << page;
    EXPECT_NE(page.find("<I> \r\ncaf&#233;\r\n"), std::string::npos) << page;
    for (unsigned char c : page)
        ASSERT_LT(c, 0x80) << "the page reads the same in any code page";
}
