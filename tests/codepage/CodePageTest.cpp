#include "util/CodePage.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

TEST(CodePageTest, Windows1252MapsItsSpecialRangeAndUnassignedBytes)
{
    EXPECT_EQ(CodePage::ToUtf16(1252, Bytes({0x96})), u"\u2013");
    EXPECT_EQ(CodePage::ToUtf16(1252, Bytes({0x80, 0xE9})), u"\u20AC\u00E9");
    // 0x81 has no character in 1252; the original platform passes it through.
    EXPECT_EQ(CodePage::ToUtf16(1252, Bytes({0x81})), u"\u0081");
}

TEST(CodePageTest, SystemDefaultAndUnknownPagesReadAsWindows1252)
{
    EXPECT_EQ(CodePage::Resolve(0), 1252);
    EXPECT_EQ(CodePage::Resolve(123456), 1252);
    EXPECT_EQ(CodePage::ToUtf16(0, Bytes({0x96})), u"\u2013");
    EXPECT_EQ(CodePage::ToUtf16(123456, Bytes({0x93, 0x94})), u"\u201C\u201D");
}

TEST(CodePageTest, OemAndMacintoshPages)
{
    EXPECT_EQ(CodePage::Resolve(1), 437);
    EXPECT_EQ(CodePage::ToUtf16(1, Bytes({0x82})), u"\u00E9");
    EXPECT_EQ(CodePage::ToUtf16(2, Bytes({0x8E})), u"\u00E9");
}

TEST(CodePageTest, OtherSingleBytePages)
{
    EXPECT_EQ(CodePage::ToUtf16(1251, Bytes({0xC0})), u"\u0410");
    EXPECT_EQ(CodePage::ToUtf16(1253, Bytes({0xC1})), u"\u0391");
    EXPECT_EQ(CodePage::ToUtf16(28592, Bytes({0xA1})), u"\u0104");
    EXPECT_EQ(CodePage::ToUtf16(874, Bytes({0xA1})), u"\u0E01");
    // Pages whose iconv converter composes characters still give one unit per byte.
    EXPECT_EQ(CodePage::ToUtf16(1258, Bytes({0x61, 0xEC})).size(), 2u);
}

TEST(CodePageTest, ShiftJisStepsOverLeadBytes)
{
    // "日本" followed by "a" and a half-width katakana.
    std::string text = Bytes({0x93, 0xFA, 0x96, 0x7B, 'a', 0xB1});
    std::vector<size_t> firstByte;
    EXPECT_EQ(CodePage::ToUtf16(932, text, &firstByte), u"\u65E5\u672Ca\uFF71");
    EXPECT_EQ(firstByte, (std::vector<size_t>{0, 2, 4, 5}));
    EXPECT_EQ(CodePage::CharLength(932, text, 0), 2u);
    EXPECT_EQ(CodePage::CharLength(932, text, 4), 1u);
    EXPECT_EQ(CodePage::CharLength(932, text, 5), 1u);
    EXPECT_EQ(CodePage::CharLength(932, text, 6), 0u);
    // A lead byte at the very end stands alone.
    EXPECT_EQ(CodePage::CharLength(932, Bytes({0x93}), 0), 1u);
    EXPECT_EQ(CodePage::ToUtf16(932, Bytes({0x93})), u"\uFFFD");
}

TEST(CodePageTest, OtherDoubleBytePages)
{
    EXPECT_EQ(CodePage::ToUtf16(936, Bytes({0xD6, 0xD0})), u"\u4E2D");
    EXPECT_EQ(CodePage::ToUtf16(950, Bytes({0xA4, 0xA4})), u"\u4E2D");
    EXPECT_EQ(CodePage::ToUtf16(949, Bytes({0xB0, 0xA1})), u"\uAC00");
    EXPECT_EQ(CodePage::ToUtf16(1361, Bytes({0x88, 0x61})), u"\uAC00");
    EXPECT_TRUE(CodePage::IsDoubleByte(1361));
    EXPECT_FALSE(CodePage::IsDoubleByte(1252));
}

TEST(CodePageTest, Utf8DecodingWithPositionsAndBadBytes)
{
    std::vector<size_t> firstByte;
    // "é", a bad byte, "€", U+1F600 (two units), "x".
    std::string text = Bytes({0xC3, 0xA9, 0xFF, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80, 'x'});
    EXPECT_EQ(CodePage::ToUtf16(65001, text, &firstByte), u"\u00E9\uFFFD\u20AC\U0001F600x");
    EXPECT_EQ(firstByte, (std::vector<size_t>{0, 2, 3, 6, 6, 10}));
    EXPECT_EQ(CodePage::CharLength(65001, text, 3), 3u);
    EXPECT_EQ(CodePage::CharLength(65001, text, 2), 1u);
    // Overlong forms and encoded surrogates are not UTF-8.
    EXPECT_FALSE(CodePage::IsValidUtf8(Bytes({0xC0, 0xAF})));
    EXPECT_FALSE(CodePage::IsValidUtf8(Bytes({0xED, 0xA0, 0x80})));
    EXPECT_TRUE(CodePage::LooksLikeUtf8(Bytes({'a', 0xC3, 0xA9})));
    EXPECT_FALSE(CodePage::LooksLikeUtf8("plain ascii"));
}

TEST(CodePageTest, RoundTripsThroughEveryPage)
{
    struct Sample {
        int page;
        std::u16string text;
    };
    const std::vector<Sample> samples = {
        {1252, u"caf\u00E9 \u2013 \u20AC"},   {1250, u"\u0141\u00F3d\u017A"},  {1251, u"\u041C\u043E\u0441\u043A\u0432\u0430"},
        {1253, u"\u0391\u03B8\u03AE\u03BD\u03B1"}, {1254, u"\u0130stanbul"}, {1255, u"\u05E9\u05DC\u05D5\u05DD"},
        {1256, u"\u0633\u0644\u0627\u0645"},   {1257, u"R\u012Bga"},            {874, u"\u0E44\u0E17\u0E22"},
        {932, u"\u65E5\u672C\u8A9E\uFF71"},    {936, u"\u4E2D\u6587"},          {949, u"\uD55C\uAD6D\uC5B4"},
        {950, u"\u4E2D\u6587"},               {1361, u"\uD55C\uAD6D"},          {28592, u"\u0104\u0141"},
        {65001, u"\u00E9\U0001F600\u4E2D"},    {1, u"\u00E9\u00E8"},            {2, u"\u00E9\u00FC"},
    };
    for (const auto& sample : samples) {
        std::string bytes = CodePage::FromUtf16(sample.page, sample.text);
        EXPECT_EQ(CodePage::ToUtf16(sample.page, bytes), sample.text) << "code page " << sample.page;
    }
}

TEST(CodePageTest, UnmappableCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(CodePage::FromUtf16(1252, u"a\u4E2Db"), "a?b");
    EXPECT_EQ(CodePage::FromUtf16(932, u"\u0E01"), "?");
    EXPECT_EQ(CodePage::FromUtf16(1252, u"\u2014"), Bytes({0x97}));
    // A lone surrogate is not written as broken UTF-8.
    EXPECT_EQ(CodePage::FromUtf16(65001, std::u16string(1, char16_t(0xD800))), Bytes({0xEF, 0xBF, 0xBD}));
}

} // namespace
