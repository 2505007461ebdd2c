#include "ReaderFixture.h"

#include <utility>
#include <vector>

namespace {

TEST_F(ReaderTest, BareBorderMeansOne)
{
    TAttribute border = FirstAttribute("<table border>");
    EXPECT_EQ(border.Which, BorderSy);
    EXPECT_EQ(border.Value, 1);
    EXPECT_EQ(border.Text, "");
    EXPECT_EQ(FirstAttribute("<table border=0>").Value, 0);
    EXPECT_EQ(FirstAttribute("<hr noshade>").Value, 0);
}

TEST_F(ReaderTest, PercentagesKeepTheirSignInTheText)
{
    for (const char* tag : {"<td width=50%>", "<td width=\"50%\">", "<td width = 50 %>", "<td width=' 50% '>"}) {
        TAttribute width = FirstAttribute(tag);
        EXPECT_EQ(width.Value, 50) << tag;
        EXPECT_NE(width.Text.find("50"), std::string::npos) << tag;
        EXPECT_NE(width.Text.find('%'), std::string::npos) << tag;
    }
    EXPECT_EQ(FirstAttribute("<td width=50%>").Text, "50%");
}

TEST_F(ReaderTest, SignedSizesAndUnits)
{
    TAttribute size = FirstAttribute("<font size=+2>");
    EXPECT_EQ(size.Text, "+2");
    EXPECT_EQ(size.Value, 2);
    EXPECT_EQ(FirstAttribute("<font size=-1>").Value, -1);
    TAttribute width = FirstAttribute("<img width=10px>");
    EXPECT_EQ(width.Text, "10px");
    EXPECT_EQ(width.Value, 0);
    EXPECT_EQ(FirstAttribute("<img width=\"10px\">").Value, 0);
    EXPECT_EQ(FirstAttribute("<img width=\"1e9999\">").Value, 0) << "out of range";
}

TEST_F(ReaderTest, RealValuesRoundHalfToEven)
{
    EXPECT_EQ(FirstAttribute("<img width=2.5>").Value, 2);
    EXPECT_EQ(FirstAttribute("<img width=3.5>").Value, 4);
    EXPECT_EQ(FirstAttribute("<img width=\"-2.5\">").Value, -2);
    EXPECT_EQ(FirstAttribute("<img width=\".6\">").Value, 1);
    EXPECT_EQ(FirstAttribute("<img width=2.4>").Value, 2);
}

TEST_F(ReaderTest, UnquotedValuesStopAtTheClosingAngle)
{
    InstallDocument("<a href=x.htm>link");
    NextSymbol();
    EXPECT_EQ(ReadState.Attributes->Find(HrefSy)->Text, "x.htm");
    NextSymbol();
    EXPECT_EQ(ReadState.LCToken.S(), u"link");
}

TEST_F(ReaderTest, QuotedValuesDropLineEndsAndKeepAngles)
{
    TAttribute alt = FirstAttribute("<img alt='a\r\nb > c'>");
    EXPECT_EQ(alt.Which, AltSy);
    EXPECT_EQ(alt.Text, "ab > c");
    EXPECT_EQ(FirstAttribute("<img alt=\"unclosed").Text, "unclosed");
}

TEST_F(ReaderTest, ReferencesInAttributeValues)
{
    EXPECT_EQ(FirstAttribute("<a href=\"a?x=1&euro=2\">").Text, "a?x=1&euro=2");
    EXPECT_EQ(FirstAttribute("<a title=caf&eacute>").Text, "caf\xE9");
    EXPECT_EQ(FirstAttribute("<a title=\"&lt;&amp;&gt;\">").Text, "<&>");
}

TEST_F(ReaderTest, AttributeNamesAreUpperCasedAndUnknownOnesKept)
{
    InstallDocument("<meta http-equiv=Refresh data-x=1 Content=\"5\">");
    NextSymbol();
    ASSERT_EQ(ReadState.Attributes->Count(), 3u);
    EXPECT_EQ((*ReadState.Attributes)[0].Which, HttpEqSy);
    EXPECT_EQ((*ReadState.Attributes)[1].Which, UnknownAttrSym);
    EXPECT_EQ((*ReadState.Attributes)[1].Name, "DATA-X");
    EXPECT_EQ((*ReadState.Attributes)[2].Which, ContentSy);
    EXPECT_EQ(ReadState.Attributes->CreateStringList(),
              (std::vector<std::string>{"HTTP-EQUIV=Refresh", "DATA-X=1", "CONTENT=5"}));
}

TEST_F(ReaderTest, AttributeListDerivedValues)
{
    InstallDocument("<p class=Intro ID=Top title='Mixed Case' style='color: red'>");
    NextSymbol();
    TAttributeList& list = *ReadState.Attributes;
    EXPECT_EQ(list.TheClass(), "intro");
    EXPECT_EQ(list.TheID(), "top");
    EXPECT_EQ(list.TheTitle(), "Mixed Case");
    ASSERT_NE(list.StyleText(), nullptr);
    EXPECT_EQ(*list.StyleText(), "color: red");
    list.Clear();
    EXPECT_EQ(list.TheID(), "");
    EXPECT_EQ(list.Find(ClassSy), nullptr);
}

// Stands in for the style module: records what it was asked to parse.
std::string parsedDeclarations;
int fakeProperties;
int freedCount;

TOwnedProperties FakeInlineParser(const std::string& declarations)
{
    parsedDeclarations = declarations;
    return TOwnedProperties(reinterpret_cast<TProperties*>(&fakeProperties), [](TProperties*) { ++freedCount; });
}

TEST_F(ReaderTest, StyleAttributeIsParsedByTheInstalledParser)
{
    InstallDocument("<p style=\"margin: 0\"><p>");
    NextSymbol();
    EXPECT_EQ(ReadState.Attributes->TheStyle(), nullptr) << "no parser installed yet";
    TAttributeList::SetInlineStyleParser(FakeInlineParser);
    freedCount = 0;
    EXPECT_EQ(ReadState.Attributes->TheStyle(), reinterpret_cast<TProperties*>(&fakeProperties));
    EXPECT_EQ(parsedDeclarations, "margin: 0");
    ReadState.Attributes->TheStyle();
    EXPECT_EQ(freedCount, 1) << "the previous set is freed when replaced";
    NextSymbol();
    EXPECT_EQ(ReadState.Attributes->TheStyle(), nullptr);
    TAttributeList::SetInlineStyleParser(nullptr);
}

TEST_F(ReaderTest, IDsAreRegisteredWithTheirPositionOutsideThePreScan)
{
    std::vector<std::pair<std::string, int32_t>> ids;
    ReadState.OnIDAttribute = [&](const std::string& name, int32_t pos) { ids.emplace_back(name, pos); };
    ReadState.PreScan = true;
    ReadAll("ab<p id=First>");
    EXPECT_TRUE(ids.empty());
    ReadState.PreScan = false;
    ReadAll("ab<p id=First><a id=\"\">");
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(ids[0].first, "First");
    EXPECT_EQ(ids[0].second, 13);
    ReadState.OnIDAttribute = nullptr;
}

} // namespace
