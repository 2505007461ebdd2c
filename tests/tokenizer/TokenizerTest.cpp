#include "ReaderFixture.h"

#include <string>

namespace {

using Symbols = std::vector<THtmlSymbol>;

TEST_F(ReaderTest, HeadingsCarryTheirLevelAndOnlyOneToSix)
{
    auto symbols = ReadAll("<H1>a</h1><h6><H7><h0><HR><h>");
    ASSERT_EQ(symbols.size(), 9u);
    EXPECT_EQ(symbols[0].sy, HSy);
    EXPECT_EQ(symbols[0].headingLevel, 1);
    EXPECT_EQ(symbols[2].sy, HEndSy);
    EXPECT_EQ(symbols[2].headingLevel, 1);
    EXPECT_EQ(symbols[3].sy, HSy);
    EXPECT_EQ(symbols[3].headingLevel, 6);
    EXPECT_EQ(symbols[4].sy, UnknownTagSym);
    EXPECT_EQ(symbols[5].sy, UnknownTagSym);
    EXPECT_EQ(symbols[6].sy, HRSy);
    EXPECT_EQ(symbols[6].headingLevel, 0);
    EXPECT_EQ(symbols[7].sy, HSy);
    EXPECT_EQ(symbols[7].headingLevel, 0);
}

TEST_F(ReaderTest, EndTagsOfStartOnlyTagsAreUnknown)
{
    EXPECT_EQ(SymbolsOf("<li></li><dd></dd><dt></dt><br></br></p>"),
              (Symbols{LISy, UnknownTagSym, DDSy, UnknownTagSym, DTSy, UnknownTagSym, BRSy, UnknownTagSym, PEndSy, EofSym}));
}

TEST_F(ReaderTest, UnknownTagsAreReadWithTheirAttributes)
{
    InstallDocument("<blink class=x>t");
    NextSymbol();
    EXPECT_EQ(ReadState.Sy, UnknownTagSym);
    EXPECT_EQ(ReadState.Attributes->TheClass(), "x");
    NextSymbol();
    EXPECT_EQ(ReadState.LCToken.S(), u"t");
}

TEST_F(ReaderTest, ALoneLessThanIsText)
{
    auto symbols = ReadAll("a < b");
    ASSERT_EQ(symbols.size(), 4u);
    EXPECT_EQ(symbols[0].text, u"a ");
    EXPECT_EQ(symbols[1].sy, TextSym);
    EXPECT_EQ(symbols[1].text, u"<");
    EXPECT_EQ(symbols[1].positions, std::vector<int32_t>{2});
    EXPECT_EQ(symbols[2].text, u" b");
    EXPECT_EQ(symbols[3].sy, EofSym);

    auto only = ReadAll("<");
    ASSERT_EQ(only.size(), 2u);
    EXPECT_EQ(only[0].text, u"<");
    EXPECT_EQ(only[1].sy, EofSym);
}

TEST_F(ReaderTest, TagPositionAndClosingAngle)
{
    InstallDocument("ab<p\n align=center >cd");
    NextSymbol();
    NextSymbol();
    EXPECT_EQ(ReadState.Sy, PSy);
    EXPECT_EQ(ReadState.TagPos, 2);
    EXPECT_EQ(ReadState.Attributes->Find(AlignSy)->Text, "center");
    NextSymbol();
    EXPECT_EQ(ReadState.LCToken.S(), u"cd");
    EXPECT_EQ(ReadState.LCToken.I(), (std::vector<int32_t>{20, 21}));
}

TEST_F(ReaderTest, ScriptAndStyleStartTagsLeaveTheirClosingAngleCurrent)
{
    InstallDocument("<style type=text/css>p{}");
    NextSymbol();
    EXPECT_EQ(ReadState.Sy, StyleSy);
    EXPECT_EQ(ReadState.Ch, '>');
    // The style sheet parser reads the content byte by byte.
    EXPECT_EQ(PeekChar(), 'p');
    EXPECT_EQ(ReadChar(), 'p');
    EXPECT_EQ(ReadChar(), '{');
}

TEST_F(ReaderTest, PeekShowsWhatReadCharGivesNext)
{
    InstallDocument("a\r\n\tb\n\rc");
    std::string peeked, read;
    do {
        peeked.push_back(static_cast<char>(PeekChar()));
        read.push_back(static_cast<char>(ReadChar()));
    } while (ReadState.Ch != 0);
    EXPECT_EQ(peeked, read);
    EXPECT_EQ(read, std::string("\r b\rc\0", 6));
}

TEST_F(ReaderTest, CommentsAndDeclarationsVanish)
{
    EXPECT_EQ(TextOf("<!DOCTYPE html>a<!-- x -- >b<!-- y --\r\n!>c<!--->-->d<!---->e"), u"abcde");
    EXPECT_EQ(SymbolsOf("<!-- <p> -->"), (Symbols{EofSym}));
}

TEST_F(ReaderTest, UnclosedCommentsRaiseTheOpenCommentError)
{
    for (const char* document : {"a<!-- never closed", "a<!-- closed by one dash ->", "<!DOCTYPE", "<!---"}) {
        try {
            ReadAll(document);
            ADD_FAILURE() << document;
        } catch (const EParseError& error) {
            EXPECT_STREQ(error.what(), "Open Comment at End of HTML File") << document;
        }
    }
}

TEST_F(ReaderTest, ControlBytesAreNotADocument)
{
    try {
        ReadAll("ok\x01\x02");
        ADD_FAILURE();
    } catch (const EParseError& error) {
        EXPECT_STREQ(error.what(), "Not an HTML or Text document");
    }
    // Bytes 11 and 12 are text.
    EXPECT_EQ(TextOf("a\x0b\x0c"), u"a\x0b\x0c");
}

TEST_F(ReaderTest, DocumentEndsAtItsFirstNul)
{
    EXPECT_EQ(TextOf(std::string("before\0<p>after", 15)), u"before");
}

TEST_F(ReaderTest, WhitespaceRunsFoldToOneSpaceAtTheirFirstPosition)
{
    auto symbols = ReadAll("a \t\r\n  b\n\nc");
    ASSERT_EQ(symbols.size(), 2u);
    EXPECT_EQ(symbols[0].text, u"a b c");
    EXPECT_EQ(symbols[0].positions, (std::vector<int32_t>{0, 1, 7, 8, 10}));
    EXPECT_EQ(TextOf("  x"), u" x");
}

TEST_F(ReaderTest, LineEndsFoldToOneCarriageReturnEach)
{
    auto lineEnds = [](const std::string& text) {
        InstallDocument(text);
        std::string seen(1, static_cast<char>(ReadState.Ch));
        while (ReadChar() != 0)
            seen.push_back(static_cast<char>(ReadState.Ch));
        return seen;
    };
    EXPECT_EQ(lineEnds("a\r\nb"), "a\rb");
    EXPECT_EQ(lineEnds("a\n\rb"), "a\rb");
    EXPECT_EQ(lineEnds("a\rb\nc"), "a\rb\rc");
    EXPECT_EQ(lineEnds("a\r\n\r\nb"), "a\r\rb");
    EXPECT_EQ(lineEnds("a\r\n\nb"), "a\r\rb");
    EXPECT_EQ(lineEnds("a\n\n\rb"), "a\r\rb");
    EXPECT_EQ(lineEnds("a\tb"), "a b");
}

TEST_F(ReaderTest, TokenPositionsCountMainDocumentBytes)
{
    auto symbols = ReadAll("<b>xy</b> z");
    ASSERT_EQ(symbols.size(), 5u);
    EXPECT_EQ(symbols[1].positions, (std::vector<int32_t>{3, 4}));
    EXPECT_EQ(symbols[3].positions, (std::vector<int32_t>{9, 10}));
}

TEST_F(ReaderTest, LongRunsStayOneToken)
{
    std::string longText(1 << 20, 'x');
    auto symbols = ReadAll(longText + "<p>");
    ASSERT_EQ(symbols.size(), 3u);
    EXPECT_EQ(symbols[0].text.size(), longText.size());
    EXPECT_EQ(symbols[0].positions.back(), static_cast<int32_t>(longText.size() - 1));
}

TEST_F(ReaderTest, ProgressIsReportedEvery4096Bytes)
{
    std::vector<int64_t> consumed;
    ReadState.OnProgress = [&](int64_t done, int64_t total) {
        consumed.push_back(done);
        EXPECT_EQ(total, 10000);
    };
    ReadAll(std::string(10000, 'a'));
    EXPECT_EQ(consumed, (std::vector<int64_t>{4096, 8192}));

    consumed.clear();
    InstallDocument(std::string(10000, 'a'));
    ReadState.PreScan = true;
    while (ReadState.Sy != EofSym || ReadState.Ch != 0)
        NextSymbol();
    EXPECT_TRUE(consumed.empty());
}

TEST_F(ReaderTest, RestartReadsTheDocumentAgain)
{
    InstallDocument("<p>one");
    NextSymbol();
    NextSymbol();
    RestartReading();
    EXPECT_EQ(ReadState.SourcePos, 0);
    NextSymbol();
    EXPECT_EQ(ReadState.Sy, PSy);
}

} // namespace
