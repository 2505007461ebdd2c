// The one reference decoder the results page and the text export share.
#include <gtest/gtest.h>

#include "util/CharacterReferences.h"

TEST(CharacterReferences, WindowsPunctuationNumbersNameTheirCharacters)
{
    // "&#150;" is what Windows pages write for an en dash; the C1 control
    // character of the same number is never what they mean.
    EXPECT_EQ(DecodeReferences("a &#150; b &#151; &#145;q&#146; &#147;w&#148; &#133; &#x80;", TReferenceScope::All),
              "a \u2013 b \u2014 \u2018q\u2019 \u201Cw\u201D \u2026 \u20AC");
    EXPECT_EQ(DecodeReferences("&#150;", TReferenceScope::OutsideAscii), "\u2013");
    // Numbers that Windows-1252 leaves unassigned keep a character of their own.
    EXPECT_EQ(DecodeReferences("&#129;", TReferenceScope::All), "\u0081");
}

TEST(CharacterReferences, ScopeAndNoBreakSpaceChooseWhatIsReplaced)
{
    const char* text = "&lt;b&gt; &amp;amp; caf&eacute;&nbsp;&#233;&#x41; &bogus; &#0; &#xD800; & done";
    EXPECT_EQ(DecodeReferences(text, TReferenceScope::All),
              "<b> &amp; caf\u00E9\u00A0\u00E9A &bogus; &#0; &#xD800; & done");
    EXPECT_EQ(DecodeReferences(text, TReferenceScope::OutsideAscii),
              "&lt;b&gt; &amp;amp; caf\u00E9\u00A0\u00E9&#x41; &bogus; &#0; &#xD800; & done");
    EXPECT_EQ(DecodeReferences("a&nbsp;b&#160;c\u00A0", TReferenceScope::All, TNoBreakSpace::AsSpace),
              "a b c\u00A0")
        << "only references become plain spaces";
    EXPECT_EQ(DecodeReferences("&#128512;", TReferenceScope::All), "\U0001F600");
}
