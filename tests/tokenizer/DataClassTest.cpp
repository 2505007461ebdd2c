#include "html/parse/TCharCollection.h"
#include "html/parse/TUrlTarget.h"
#include "html/parse/TokenObj.h"

#include <gtest/gtest.h>

namespace {

TEST(UrlTargetTest, EachStartTakesANewLinkNumber)
{
    TUrlTarget first, second;
    first.Start("a.htm", "main");
    second.Start("b.htm", "");
    EXPECT_EQ(second.ID, first.ID + 1);
    TUrlTarget copy;
    copy.Copy(first);
    EXPECT_EQ(copy.Url, "a.htm");
    EXPECT_EQ(copy.Target, "main");
    EXPECT_EQ(copy.ID, first.ID);
    copy.TabIndex = 3;
    copy.Clear();
    EXPECT_EQ(copy.Url, "");
    EXPECT_EQ(copy.ID, 0);
    EXPECT_EQ(copy.TabIndex, 0);
}

TEST(CharCollectionTest, ConcatKeepsPositions)
{
    TCharCollection a, b;
    a.Add('x', 1);
    b.Add('y', 5);
    b.Add('z', 6);
    a.Concat(b);
    EXPECT_EQ(a.AsString(), "xyz");
    EXPECT_EQ(a.Indices(), (std::vector<int32_t>{1, 5, 6}));
    a.Clear();
    EXPECT_EQ(a.Count(), 0u);
}

TEST(TokenObjTest, AddsBytesThroughTheCodePage)
{
    TCharCollection bytes;
    const std::string text = "a\x93\xFA";
    for (size_t i = 0; i < text.size(); ++i)
        bytes.Add(text[i], static_cast<int32_t>(100 + i));
    TokenObj token;
    token.AddUnicodeChar(u'>', 99);
    token.AddString(bytes, 932);
    EXPECT_EQ(token.S(), u">a\u65E5");
    EXPECT_EQ(token.I(), (std::vector<int32_t>{99, 100, 101}));
    token.Clear();
    token.AddString(bytes, 1252);
    EXPECT_EQ(token.S(), u"a\u201C\u00FA");
    EXPECT_EQ(token.I(), (std::vector<int32_t>{100, 101, 102}));
}

} // namespace
