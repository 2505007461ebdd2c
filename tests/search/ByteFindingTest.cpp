#include <gtest/gtest.h>
#include <string>
#include <string_view>

#include "search/ByteFinding.h"

// The quick look at the next 16 bytes and the library search after it must
// agree with a plain search wherever the byte stands, however near the end.
TEST(ByteFinding, AgreesWithAPlainSearchAtEveryDistanceAndEnd)
{
    for (size_t length = 0; length <= 40; ++length) {
        for (size_t at = 0; at <= length; ++at) {
            std::string bytes(length, 'a');
            if (at < length)
                bytes[at] = '<';
            // A byte just past the end must never be found.
            const std::string padded = bytes + "<<<<<<<<<<<<<<<<";
            const std::string_view view(padded.data(), length);
            for (size_t from = 0; from <= length; ++from) {
                SCOPED_TRACE(testing::Message() << "length " << length << " at " << at << " from " << from);
                EXPECT_EQ(FindByteFrom(view, from, '<'), view.find('<', from));
            }
        }
    }
}

TEST(ByteFinding, FindsTheFirstOfSeveralAndBytesAboveAscii)
{
    const std::string bytes = std::string(20, ' ') + "\xE9>x>" + std::string(30, ' ') + "\xE9";
    EXPECT_EQ(FindByteFrom(bytes, 0, '>'), 21u);
    EXPECT_EQ(FindByteFrom(bytes, 22, '>'), 23u);
    EXPECT_EQ(FindByteFrom(bytes, 0, '\xE9'), 20u);
    EXPECT_EQ(FindByteFrom(bytes, 21, '\xE9'), bytes.size() - 1);
    EXPECT_EQ(FindByteFrom(bytes, 24, '>'), std::string_view::npos);
}
