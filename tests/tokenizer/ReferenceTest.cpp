#include "ReaderFixture.h"

namespace {

TEST_F(ReaderTest, AmpersandReferencesInText)
{
    EXPECT_EQ(TextOf("a&amp;b"), u"a&b");
    EXPECT_EQ(TextOf("a&amp b"), u"a& b");
    EXPECT_EQ(TextOf("a&#38;b"), u"a&b");
    EXPECT_EQ(TextOf("a&AMP;b"), u"a&AMP;b");
    EXPECT_EQ(TextOf("&#x41;&#X41;&#65"), u"AAA");
    EXPECT_EQ(TextOf("&#;&#x;&;& &"), u"&#;&#x;&;& &");
    EXPECT_EQ(TextOf("&eacute;&Eacute;&nosuch;"), u"\u00E9\u00C9&nosuch;");
}

TEST_F(ReaderTest, ReferencePositionsAreThoseOfTheAmpersand)
{
    auto symbols = ReadAll("x&lt;y&#qz");
    ASSERT_EQ(symbols.size(), 2u);
    EXPECT_EQ(symbols[0].text, u"x<y&#qz");
    EXPECT_EQ(symbols[0].positions, (std::vector<int32_t>{0, 1, 5, 6, 7, 8, 9}));
}

TEST_F(ReaderTest, NumericReferencesBelow256GoThroughTheCodePage)
{
    EXPECT_EQ(TextOf("a&#150;b"), u"a\u2013b");
    EXPECT_EQ(TextOf("&#8212;"), u"\u2014");
    EXPECT_EQ(TextOf("&#9;|&#7;"), u" |?");
    // A code page byte continues the text around it.
    ReadState.TopCodePage = [] { return 1251; };
    EXPECT_EQ(TextOf("&#192;"), u"\u0410");
}

TEST_F(ReaderTest, NumericReferencesBeyondSixteenBitsBecomeReplacementCharacters)
{
    EXPECT_EQ(TextOf("&#128512;&#x1F600;&#99999999999999;"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(TextOf("&#xD800;"), u"\uFFFD");
    EXPECT_EQ(TextOf("&#x10041;"), u"\uFFFD") << "not the low 16 bits (A)";
}

TEST_F(ReaderTest, ReferencesInUtf8DocumentsNameCharactersNotBytes)
{
    // With a byte order mark the document is UTF-8; a lone byte 233 would be broken UTF-8.
    EXPECT_EQ(TextOf("\xEF\xBB\xBF" "caf&#233; &#150;"), u"caf\u00E9 \u2013");
}

TEST_F(ReaderTest, LongReferenceNamesStopAfterElevenCharacters)
{
    EXPECT_EQ(TextOf("&abcdefghijklmnop;"), u"&abcdefghijklmnop;");
}

TEST_F(ReaderTest, TenMegabytesOfAmpersandsStayLiteral)
{
    std::string ampersands(10 * 1024 * 1024, '&');
    auto symbols = ReadAll(ampersands);
    ASSERT_EQ(symbols.size(), 2u);
    EXPECT_EQ(symbols[0].text.size(), ampersands.size());
    EXPECT_EQ(symbols[0].text.find_first_not_of(u'&'), std::u16string::npos);
}

TEST_F(ReaderTest, DecodeReferenceGivesCodePageBytes)
{
    auto decode = [](const std::string& text) {
        InstallDocument(text);
        return DecodeReference();
    };
    EXPECT_EQ(decode("&amp;"), "&");
    EXPECT_EQ(decode("&eacute"), "\xE9");
    EXPECT_EQ(decode("&euro;"), "\x80");
    EXPECT_EQ(decode("&euro"), "&euro");
    EXPECT_EQ(decode("&#233;"), "\xE9");
    EXPECT_EQ(decode("&#x2014;"), "\x97");
    EXPECT_EQ(decode("&#9;"), " ");
    EXPECT_EQ(decode("&#1;"), "?");
    EXPECT_EQ(decode("&#x;"), "&#x");
    EXPECT_EQ(decode("&#128512;"), "?");
    ReadState.TopCodePage = [] { return 65001; };
    EXPECT_EQ(decode("&eacute;"), "\xC3\xA9");
    EXPECT_EQ(decode("&#233;"), "\xC3\xA9");
}

} // namespace
