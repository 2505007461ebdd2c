// Finding text in the viewer: each find goes on from the match shown, in
// either direction, and a find may go round the document once.
#include <gtest/gtest.h>

#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

struct FindFixture : ::testing::Test {
    viewertest::Files files;
    THTMLViewer viewer;
    FindFixture()
    {
        viewer.resize(400, 300);
        viewer.ShowFile(files.Write("page.htm", "<p>one mark, two mark, three mark"));
    }
    // Where the selection starts in "one mark, two mark, three mark".
    int At() const { return viewer.SelStart(); }
};

} // namespace

TEST_F(FindFixture, UpFromAMatchFindsThePreviousOneAndDownTheNext)
{
    ASSERT_TRUE(viewer.FindInText("mark", false));
    ASSERT_TRUE(viewer.FindInText("mark", false));
    const int second = At();
    ASSERT_TRUE(viewer.FindInText("mark", false));
    const int third = At();
    EXPECT_GT(third, second);
    // Turning round steps to the match before the one shown, not onto it again.
    ASSERT_TRUE(viewer.FindInText("mark", false, true));
    EXPECT_EQ(At(), second);
    ASSERT_TRUE(viewer.FindInText("mark", false, true));
    const int first = At();
    EXPECT_LT(first, second);
    EXPECT_FALSE(viewer.FindInText("mark", false, true));
    ASSERT_TRUE(viewer.FindInText("mark", false));
    EXPECT_EQ(At(), second);
}

TEST_F(FindFixture, WrappingGoesRoundOnceAndSaysSo)
{
    EXPECT_EQ(viewer.FindWrapping("mark", false, false), TFindOutcome::Found);
    const int first = At();
    EXPECT_EQ(viewer.FindWrapping("mark", false, false), TFindOutcome::Found);
    EXPECT_EQ(viewer.FindWrapping("mark", false, false), TFindOutcome::Found);
    const int last = At();
    EXPECT_EQ(viewer.FindWrapping("mark", false, false), TFindOutcome::Wrapped);
    EXPECT_EQ(At(), first);
    EXPECT_EQ(viewer.SelText(), u"mark");
    // Going up from the first match comes round to the last.
    EXPECT_EQ(viewer.FindWrapping("mark", false, true), TFindOutcome::Wrapped);
    EXPECT_EQ(At(), last);
    // Nothing anywhere: the selection stays where it was.
    EXPECT_EQ(viewer.FindWrapping("absent", false, false), TFindOutcome::NotFound);
    EXPECT_EQ(At(), last);
    EXPECT_EQ(viewer.SelText(), u"mark");
}
