#include "ReaderFixture.h"

namespace {

TEST_F(ReaderTest, IncludeTextIsReadInPlaceWithoutMovingPositions)
{
    std::string seenCommand;
    std::vector<std::string> seenParams;
    ReadState.OnInclude = [&](const std::string& command, const std::vector<std::string>& params, std::string& text) {
        seenCommand = command;
        seenParams = params;
        text = "<b>in</b>";
    };
    auto symbols = ReadAll("ab<!--#Include file=\"x&amp;y.htm\" Virtual = top-->cd");
    EXPECT_EQ(seenCommand, "Include");
    EXPECT_EQ(seenParams, (std::vector<std::string>{"file=x&y.htm", "Virtual=top"}));
    ASSERT_EQ(symbols.size(), 6u);
    EXPECT_EQ(symbols[0].text, u"ab");
    EXPECT_EQ(symbols[1].sy, BSy);
    EXPECT_EQ(symbols[2].text, u"in");
    EXPECT_EQ(symbols[3].sy, BEndSy);
    EXPECT_EQ(symbols[4].text, u"cd");
    // The comment runs from 2 to 49; "cd" follows it as if nothing was inserted.
    EXPECT_EQ(symbols[4].positions, (std::vector<int32_t>{50, 51}));
}

TEST_F(ReaderTest, CommentsWithoutAHandlerAreOrdinaryComments)
{
    EXPECT_EQ(TextOf("a<!--#include file=x-->b"), u"ab");
}

TEST_F(ReaderTest, IncludesThatIncludeThemselvesEnd)
{
    int calls = 0;
    ReadState.OnInclude = [&](const std::string&, const std::vector<std::string>&, std::string& text) {
        ++calls;
        text = "x<!--#again-->y";
    };
    std::u16string text = TextOf("<!--#again-->");
    EXPECT_EQ(calls, static_cast<int>(MaxIncludeDepth) + 1);
    EXPECT_EQ(text, std::u16string(MaxIncludeDepth, u'x') + std::u16string(MaxIncludeDepth, u'y'));
}

TEST_F(ReaderTest, IncludedTextMayHoldFurtherIncludesAfterEachOther)
{
    ReadState.OnInclude = [&](const std::string& command, const std::vector<std::string>&, std::string& text) {
        if (command == "outer")
            text = "1<!--#inner-->3";
        else
            text = "2";
    };
    EXPECT_EQ(TextOf("<!--#outer-->4<!--#inner-->"), u"12342");
}

TEST_F(ReaderTest, TheIncludeHandlerDoesNotDisturbTheCurrentToken)
{
    ReadState.OnInclude = [&](const std::string&, const std::vector<std::string>&, std::string& text) {
        ReadState.LCToken.AddUnicodeChar(u'!', 0);
        text = "b";
    };
    EXPECT_EQ(TextOf("a<!--#x-->c"), u"abc");
}

TEST_F(ReaderTest, ScriptContentGoesToTheScriptHandler)
{
    std::string name, language, script;
    ReadState.OnScript = [&](const std::string& n, const std::string& l, const std::string& s) {
        name = n;
        language = l;
        script = s;
    };
    InstallDocument("<script name=s1 language=JavaScript><!--\nif (a<b) x='</b>';\n// --></SCRIPT >after");
    NextSymbol();
    ASSERT_EQ(ReadState.Sy, ScriptSy);
    ReadScript();
    EXPECT_EQ(ReadState.Sy, ScriptEndSy);
    EXPECT_FALSE(ReadState.InScript);
    EXPECT_EQ(name, "s1");
    EXPECT_EQ(language, "JavaScript");
    // A line end within six characters of a "<" that starts no end tag is read as a space.
    EXPECT_EQ(script, "<!-- if (a<b) x='</b>';\r\n// -->");
    NextSymbol();
    EXPECT_EQ(ReadState.LCToken.S(), u"after");
}

TEST_F(ReaderTest, ScriptContentWithoutHandlerIsDropped)
{
    InstallDocument("<script>a<b>c</script><p>");
    NextSymbol();
    ReadScript();
    NextSymbol();
    EXPECT_EQ(ReadState.Sy, PSy);
}

// A "<" that starts no tag must not hide an end tag a few characters later,
// or the rest of the page disappears into the script.
TEST_F(ReaderTest, ScriptEndTagRightAfterALessThanSignIsFound)
{
    std::string script;
    ReadState.OnScript = [&](const std::string&, const std::string&, const std::string& text) { script = text; };
    for (std::string body : {"if (x<y) {}", "if (x < 1) {}", "a<b</c", "i<9;", "<<<"}) {
        SCOPED_TRACE(body);
        InstallDocument("<script>" + body + "</script><p>after");
        NextSymbol();
        ASSERT_EQ(ReadState.Sy, ScriptSy);
        ReadScript();
        EXPECT_EQ(ReadState.Sy, ScriptEndSy);
        EXPECT_FALSE(ReadState.InScript);
        EXPECT_EQ(script, body);
        NextSymbol();
        EXPECT_EQ(ReadState.Sy, PSy);
        NextSymbol();
        EXPECT_EQ(ReadState.LCToken.S(), u"after");
    }
}

TEST_F(ReaderTest, UnterminatedScriptEndsAtEndOfInput)
{
    InstallDocument("<script>x = '<!--';");
    NextSymbol();
    ReadScript();
    EXPECT_FALSE(ReadState.InScript);
    NextSymbol();
    EXPECT_EQ(ReadState.Sy, EofSym);
}

TEST_F(ReaderTest, TextAreaContentComesInLines)
{
    InstallDocument("<textarea>one &lt;two&gt;\r\n<b>three</TEXTAREA>rest");
    NextSymbol();
    ASSERT_EQ(ReadState.Sy, TextAreaSy);
    std::vector<std::string> lines;
    ReadTextAreaContent([&](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(lines, (std::vector<std::string>{"one <two>\r\n", "<b>three"}));
    NextSymbol();
    EXPECT_EQ(ReadState.LCToken.S(), u"rest");
}

TEST_F(ReaderTest, TextAreaPieces)
{
    InstallDocument("ab\r<i>&amp;");
    std::string piece;
    EXPECT_EQ(ReadTextAreaPiece(piece), TextSym);
    EXPECT_EQ(piece, "ab");
    EXPECT_EQ(ReadTextAreaPiece(piece), EolSym);
    EXPECT_EQ(ReadTextAreaPiece(piece), UnknownTagSym);
    EXPECT_EQ(piece, "<i");
    EXPECT_EQ(ReadTextAreaPiece(piece), TextSym);
    EXPECT_EQ(piece, ">");
    EXPECT_EQ(ReadTextAreaPiece(piece), TextSym);
    EXPECT_EQ(piece, "&");
    EXPECT_EQ(ReadTextAreaPiece(piece), EofSym);
}

} // namespace
