#include <gtest/gtest.h>

#include <random>
#include <string>

#include "util/TPackedText.h"

TEST(PackedText, GivesBackEveryByteOfWhatItKept)
{
    std::string page;
    for (int i = 0; i < 20000; ++i)
        page += "<tr><td>" + std::to_string(i) + "</td><td>Keeper's log \x93quoted\x94 caf\xe9</td></tr>\n";
    page += std::string("\0\0\xff trailing NUL bytes", 22);
    std::mt19937 random(7);
    std::string noise(70000, '\0');
    for (char& c : noise)
        c = char(random());

    for (const std::string& bytes : {std::string(), std::string("x"), std::string("<p>short"), page, noise}) {
        TPackedText packed(bytes);
        EXPECT_EQ(packed.size(), bytes.size());
        EXPECT_EQ(packed.empty(), bytes.empty());
        EXPECT_EQ(packed.Unpack(), bytes) << "a text of " << bytes.size() << " bytes";
    }
}

TEST(PackedText, KeepsAPageInAFractionOfItsSizeAndNoiseAtItsOwn)
{
    std::string page;
    for (int i = 0; i < 20000; ++i)
        page += "<tr><td>" + std::to_string(i) + "</td><td>Keeper's log, lamp lit at sunset</td></tr>\n";
    EXPECT_LT(TPackedText(page).PackedSize(), page.size() / 5);

    std::mt19937 random(11);
    std::string noise(4096, '\0');
    for (char& c : noise)
        c = char(random());
    EXPECT_LE(TPackedText(noise).PackedSize(), noise.size()) << "never larger than the bytes";
}

TEST(PackedText, PackingAgainReplacesAndClearingEmpties)
{
    TPackedText packed(std::string(100000, 'a'));
    packed.Pack("second text");
    EXPECT_EQ(packed.Unpack(), "second text");
    EXPECT_EQ(packed.size(), 11u);
    packed.Clear();
    EXPECT_TRUE(packed.empty());
    EXPECT_EQ(packed.Unpack(), "");
    EXPECT_EQ(packed.PackedSize(), 0u);
}
