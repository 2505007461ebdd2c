#include "util/TEntity.h"
#include "html/parse/THtmlSymbol.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(SymbolTableTest, EveryTagWithEndFormHasItsOwnEndSymbol)
{
    std::set<THtmlSymbol> ends;
    for (const char* name : {"HTML", "P", "H", "TABLE", "SCRIPT", "LABEL", "COLGROUP"}) {
        THtmlSymbol start = LookupTag(name, TagForm::Start);
        THtmlSymbol end = LookupTag(name, TagForm::End);
        EXPECT_NE(start, UnknownTagSym) << name;
        EXPECT_NE(end, UnknownTagSym) << name;
        EXPECT_NE(start, end) << name;
        EXPECT_EQ(EndSymbolOf(start), end) << name;
        ends.insert(end);
    }
    EXPECT_EQ(ends.size(), 7u);
}

TEST(SymbolTableTest, StartOnlyTagsHaveNoEndSymbol)
{
    for (const char* name : {"LI", "DD", "DT", "BR", "HR", "IMG", "COL", "LINK", "WBR"}) {
        EXPECT_NE(LookupTag(name, TagForm::Start), UnknownTagSym) << name;
        EXPECT_EQ(LookupTag(name, TagForm::End), UnknownTagSym) << name;
    }
    EXPECT_EQ(LookupTag("BLINK", TagForm::Start), UnknownTagSym);
    EXPECT_EQ(LookupTag("p", TagForm::Start), UnknownTagSym) << "lookup is on upper-case names";
}

TEST(SymbolTableTest, NamesSharedByTagsAndAttributesShareTheirSymbol)
{
    for (const char* name : {"TITLE", "LINK", "SELECTED", "WRAP", "STYLE", "SPAN", "LABEL"})
        EXPECT_EQ(LookupTag(name, TagForm::Start), LookupAttribute(name)) << name;
    EXPECT_EQ(LookupAttribute("TEXT"), TextSym);
    EXPECT_EQ(LookupAttribute("VALUE"), ValueSy);
    EXPECT_EQ(LookupAttribute("HTTP-EQUIV"), HttpEqSy);
    EXPECT_EQ(LookupAttribute("BORDERCOLORLIGHT"), BorderColorLightSy);
    EXPECT_EQ(LookupAttribute("ONMOUSEOVER"), UnknownAttrSym);
}

TEST(SymbolTableTest, TagNamesAreLowerCaseForStartAndEndSymbols)
{
    EXPECT_EQ(TagNameOf(HSy), "h");
    EXPECT_EQ(TagNameOf(BlockQuoteSy), "blockquote");
    EXPECT_EQ(TagNameOf(TableEndSy), "table");
    EXPECT_EQ(TagNameOf(ColSy), "col");
    EXPECT_EQ(TagNameOf(HrefSy), "");
    EXPECT_EQ(TagNameOf(TextSym), "");
}

TEST(SymbolTableTest, SymbolsFitInOneByteAndDoNotCollide)
{
    std::set<int> symbols;
    for (const char* name : {"HTML", "TITLE", "BODY", "HEAD", "B", "I", "H", "EM", "STRONG", "U", "CITE", "VAR", "TT", "CODE",
                             "KBD", "SAMP", "OL", "UL", "DIR", "MENU", "DL", "A", "ADDRESS", "BLOCKQUOTE", "PRE", "CENTER",
                             "TABLE", "TD", "TH", "CAPTION", "FORM", "TEXTAREA", "SELECT", "OPTION", "FONT", "SUB", "SUP",
                             "BIG", "SMALL", "P", "MAP", "FRAMESET", "NOFRAMES", "SCRIPT", "DIV", "S", "STRIKE", "TR", "NOBR",
                             "STYLE", "SPAN", "COLGROUP", "LABEL", "LI", "BR", "HR", "DD", "DT", "IMG", "BASE", "BUTTON",
                             "INPUT", "SELECTED", "BASEFONT", "AREA", "FRAME", "PAGE", "BGSOUND", "WRAP", "META", "PANEL",
                             "WBR", "LINK", "COL"}) {
        symbols.insert(LookupTag(name, TagForm::Start));
        THtmlSymbol end = LookupTag(name, TagForm::End);
        if (end != UnknownTagSym)
            symbols.insert(end);
    }
    EXPECT_EQ(symbols.size(), 74u + 53u);
    EXPECT_EQ(symbols.count(UnknownTagSym), 0u);
    EXPECT_LE(static_cast<int>(EolSym), 255);
}

TEST(EntityTableTest, HoldsTheHtml4SetSortedAndUnique)
{
    auto entities = Entities();
    ASSERT_EQ(entities.size(), 252u);
    for (size_t i = 1; i < entities.size(); ++i)
        EXPECT_LT(entities[i - 1].Name, entities[i].Name);
}

TEST(EntityTableTest, LookupIsCaseSensitive)
{
    EXPECT_EQ(LookupEntity("Eacute"), char16_t(201));
    EXPECT_EQ(LookupEntity("eacute"), char16_t(233));
    EXPECT_EQ(LookupEntity("EACUTE"), std::nullopt);
    EXPECT_EQ(LookupEntity("AMP"), std::nullopt);
    EXPECT_EQ(LookupEntity("amp"), char16_t('&'));
    EXPECT_EQ(LookupEntity("nbsp"), char16_t(160));
    EXPECT_EQ(LookupEntity("euro"), char16_t(8364));
    EXPECT_EQ(LookupEntity("mdash"), char16_t(8212));
    EXPECT_EQ(LookupEntity("thetasym"), char16_t(977));
    EXPECT_EQ(LookupEntity("apos"), char16_t('\'')) << "not in HTML 4.01, but XHTML pages use it";
    EXPECT_EQ(LookupEntity("APOS"), std::nullopt);
    EXPECT_EQ(LookupEntity(""), std::nullopt);
}

} // namespace
