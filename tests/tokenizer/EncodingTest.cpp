#include "ReaderFixture.h"

namespace {

TEST_F(ReaderTest, Utf8ByteOrderMarkSetsTheBaseCodePage)
{
    auto symbols = ReadAll("\xEF\xBB\xBF" "caf\xC3\xA9");
    EXPECT_EQ(ReadState.BaseCodePage, 65001);
    EXPECT_EQ(ReadState.BaseCharSet, 0);
    ASSERT_EQ(symbols.size(), 2u);
    EXPECT_EQ(symbols[0].text, u"caf\u00E9");
    EXPECT_EQ(symbols[0].positions, (std::vector<int32_t>{0, 1, 2, 3}));
}

TEST_F(ReaderTest, UndeclaredTextIsUtf8OnlyWhenItsBytesAre)
{
    EXPECT_EQ(TextOf("caf\xC3\xA9 \xE2\x80\x94"), u"caf\u00E9 \u2014");
    EXPECT_EQ(ReadState.DefaultCodePage, 65001);
    EXPECT_EQ(TextOf("caf\xE9 \x96"), u"caf\u00E9 \u2013");
    EXPECT_EQ(ReadState.DefaultCodePage, 1252);
    // A declared code page wins over the guess.
    ReadState.TopCodePage = [] { return 1252; };
    EXPECT_EQ(TextOf("\xC3\xA9"), u"\u00C3\u00A9");
}

TEST_F(ReaderTest, Iso2022JpIsConvertedToShiftJis)
{
    // "日本" in JIS X 0208 between the escapes, then ASCII again.
    std::string jis = "a\x1B$B\x46\x7C\x4B\x5C\x1B(Bz";
    EXPECT_EQ(Iso2022JpToShiftJis(jis), "a\x93\xFA\x96\x7Bz");
    auto symbols = ReadAll(jis);
    EXPECT_TRUE(ReadState.ConvertedJapanese);
    EXPECT_EQ(ReadState.BaseCharSet, 128);
    ASSERT_EQ(symbols.size(), 2u);
    EXPECT_EQ(symbols[0].text, u"a\u65E5\u672Cz");
    // Each double-byte character takes the position of its first byte.
    EXPECT_EQ(symbols[0].positions, (std::vector<int32_t>{0, 1, 3, 5}));
}

TEST_F(ReaderTest, EucJpIsConvertedInPlace)
{
    // The META that asks for the conversion is read; the line end after it is current.
    std::string euc = "<meta>\n\xC6\xFC\xCB\xDC!";
    EXPECT_EQ(EucJpToShiftJis(euc), "<meta>\n\x93\xFA\x96\x7B!");
    ReadState.TopCodePage = [] { return 932; };
    InstallDocument(euc);
    NextSymbol();
    ConvertDocumentFromEucJp();
    NextSymbol();
    EXPECT_EQ(ReadState.LCToken.S(), u" \u65E5\u672C!");
    EXPECT_TRUE(ReadState.ConvertedJapanese);
}

TEST_F(ReaderTest, ReadingOverTheCallersTextLeavesItUnchanged)
{
    // A NUL that ends the document and a conversion on the way: the reader
    // converts its own copy, never the caller's bytes.
    const std::string text = "<meta>\n\xC6\xFC\xCB\xDC!" + std::string(1, '\0') + "hidden";
    const std::string before = text;
    ReadState.TopCodePage = [] { return 932; };
    InstallDocumentView(text);
    NextSymbol();
    ConvertDocumentFromEucJp();
    NextSymbol();
    EXPECT_EQ(ReadState.LCToken.S(), u" \u65E5\u672C!");
    NextSymbol();
    EXPECT_EQ(ReadState.Sy, EofSym) << "the text ends at the NUL";
    ReleaseDocument();
    EXPECT_EQ(text, before);
}

TEST_F(ReaderTest, ShiftJisTextMapsCharactersToTheirFirstByte)
{
    ReadState.TopCodePage = [] { return 932; };
    auto symbols = ReadAll("\x93\xFA x\x96\x7B");
    ASSERT_EQ(symbols.size(), 2u);
    EXPECT_EQ(symbols[0].text, u"\u65E5 x\u672C");
    EXPECT_EQ(symbols[0].positions, (std::vector<int32_t>{0, 2, 3, 4}));
}

} // namespace
