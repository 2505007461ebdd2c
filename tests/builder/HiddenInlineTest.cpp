// Inline elements that the styles hide (display: none) leave their text and
// pictures out; the text around them and hidden elements' ends stay right.
#include "BuilderTestSupport.h"

using namespace buildtest;

TEST(HiddenInline, TextAndPicturesOfHiddenInlineElementsAreLeftOut)
{
    Built b("<style>.x { display: none } h1 .anchor { display: none }</style>"
            "<h1>Title<a class=anchor href=\"#t\">LINK</a></h1>"
            "<p>one <span class=x>HIDDEN <b>BOLD</b> <img src=a.png alt=PIC></span>two "
            "<b style=\"display: none\">GONE</b>three <span>shown</span></p>");
    const std::string text = b.Text();
    EXPECT_NE(text.find("Title"), std::string::npos);
    EXPECT_EQ(text.find("LINK"), std::string::npos);
    EXPECT_EQ(text.find("HIDDEN"), std::string::npos);
    EXPECT_EQ(text.find("BOLD"), std::string::npos);
    EXPECT_EQ(text.find("GONE"), std::string::npos);
    EXPECT_NE(text.find("one two three shown"), std::string::npos) << text;
}

TEST(HiddenInline, AMisnestedEndStillEndsTheHiding)
{
    Built b("<style>.x { display: none }</style><p>a<span class=x>b<i>c</span>d</i>e</p><p>next</p>");
    const std::string text = b.Text();
    EXPECT_EQ(text.find('b'), std::string::npos);
    EXPECT_NE(text.find("ade"), std::string::npos) << text;
    EXPECT_NE(text.find("next"), std::string::npos);
}
