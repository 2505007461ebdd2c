// The keyboard in a document: Tab and Shift+Tab walk the links and form
// controls, Enter follows the focused link, Space pages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "gfx/TControls.h"
#include "html/layout/TFontObj.h"
#include "html/layout/TFormControlObj.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

struct KeyboardFixture : ::testing::Test {
    viewertest::Files files;
    THTMLViewer viewer;
    KeyboardFixture()
    {
        viewer.resize(500, 300);
        viewer.show();
        QApplication::setActiveWindow(&viewer);
        viewer.setFocus();
    }
    // Keys go where the focus is, as they do for a user.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &viewer;
        QTest::keyClick(target, key, modifiers);
    }
    bool EditFocused()
    {
        auto* edit = dynamic_cast<TFormControlObj*>(viewer.SectionList().FindID("who"));
        return edit && edit->TheControl()->hasFocus();
    }
};

} // namespace

TEST_F(KeyboardFixture, TabWalksLinksAndControlsInReadingOrderAndRoundAgain)
{
    viewer.ShowFile(files.Write("page.htm",
        "<p><a href=one.htm>One</a> and <a href=two.htm>Two</a>"
        "<form><input id=who name=who></form><p><a href=three.htm>Three</a>"));
    Press(Qt::Key_Tab);
    EXPECT_EQ(viewer.FocusedLink(), "one.htm");
    Press(Qt::Key_Tab);
    EXPECT_EQ(viewer.FocusedLink(), "two.htm");
    int marked = 0;
    for (TFontObj* run : viewer.SectionList().LinkList)
        marked += run->Focused ? 1 : 0;
    EXPECT_EQ(marked, 1) << "only the second link is drawn focused";
    Press(Qt::Key_Tab);
    EXPECT_TRUE(EditFocused());
    EXPECT_EQ(viewer.FocusedLink(), "");
    Press(Qt::Key_Tab);
    EXPECT_EQ(viewer.FocusedLink(), "three.htm");
    Press(Qt::Key_Tab);
    EXPECT_EQ(viewer.FocusedLink(), "one.htm") << "round to the first";
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(viewer.FocusedLink(), "three.htm");
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(EditFocused());
}

TEST_F(KeyboardFixture, EnterFollowsTheFocusedLinkOnly)
{
    files.Write("two.htm", "<title>Two</title>arrived");
    viewer.ShowFile(files.Write("page.htm", "<p><a href=one.htm>One</a> <a href=two.htm>Two</a>"));
    std::string clicked;
    viewer.OnHotSpotClick = [&](THTMLViewer*, const std::string& url, bool&) { clicked = url; };
    Press(Qt::Key_Return);
    EXPECT_EQ(clicked, "") << "nothing focused, nothing followed";
    Press(Qt::Key_Tab);
    Press(Qt::Key_Tab);
    Press(Qt::Key_Return);
    EXPECT_EQ(clicked, "two.htm");
    EXPECT_EQ(viewer.DocumentTitle(), "Two");
    EXPECT_EQ(viewer.FocusedLink(), "") << "the new page starts without a focused link";
}

TEST_F(KeyboardFixture, TabOnAPageWithoutLinksLeavesTheFocusAlone)
{
    viewer.ShowFile(files.Write("plain.htm", "<p>Nothing to follow here."));
    EXPECT_FALSE(viewer.MoveFocus(TFocusStep::Next));
    EXPECT_EQ(viewer.FocusedLink(), "");
}

TEST_F(KeyboardFixture, SpacePagesDownAndShiftSpaceUp)
{
    viewer.ShowFile(files.Write("long.htm", viewertest::Paragraphs(300)));
    ASSERT_EQ(viewer.VScrollBarPosition(), 0);
    Press(Qt::Key_Space);
    const int page = viewer.VScrollBarPosition();
    EXPECT_GT(page, viewer.SurfaceHeight() / 2);
    Press(Qt::Key_Space);
    EXPECT_EQ(viewer.VScrollBarPosition(), 2 * page);
    Press(Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(viewer.VScrollBarPosition(), page);
}
