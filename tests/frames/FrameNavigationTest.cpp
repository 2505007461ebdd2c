#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QTest>
#include <cstdio>

#include "html/viewer/TFrameSet.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/THTMLViewer.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/TPaintPanel.h"
#include "html/viewer/TfvFrame.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

struct NavigationFixture : ::testing::Test {
    viewertest::Files files;
    TFrameViewer fv;
    NavigationFixture()
    {
        fv.resize(600, 400);
        fv.SetHistoryMaxCount(10);
        fv.show();
    }
};

} // namespace

TEST_F(NavigationFixture, ParentTargetLoadsTheFrameHoldingTheSet)
{
    files.Write("inner.htm", "<frameset rows=\"*,*\"><frame name=up src=up.htm><frame src=down.htm></frameset>");
    files.Write("up.htm", "<title>Up</title>up");
    files.Write("down.htm", "down");
    files.Write("plain.htm", "<title>Plain</title>plain");
    fv.ShowFile(files.Write("outer.htm", "<frameset cols=\"*,*\"><frame name=left src=inner.htm>"
                                         "<frame name=right src=down.htm></frameset>"));
    TFrameSet& set = fv.CurrentFrameSet();
    ASSERT_EQ(set.FrameCount(), 3);
    TfvFrame* left = set.FrameNamed("left");
    ASSERT_NE(left->NestedSet(), nullptr);
    THTMLViewer* up = fv.ViewFromTarget("UP");
    ASSERT_NE(up, nullptr);
    std::string target;
    fv.OnHotSpotTargetCovered = [&](TFrameViewer*, const std::string& t, const std::string&) { target = t; };
    up->ShowHtmlText("<a href=\"plain.htm\" target=\"_parent\">parent link</a>", files.Path("up.htm"));
    int x = 0, y = 0;
    ASSERT_TRUE(up->SectionList().CaretXY(up->MeasuringCanvas(), 2, x, y));
    QWidget* panel = up->findChild<TPaintPanel*>();
    QTest::mouseMove(panel, QPoint(x + 2, y + 8));
    EXPECT_EQ(target, "_parent");
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(x + 2, y + 8));
    EXPECT_EQ(left->NestedSet(), nullptr);
    ASSERT_NE(left->Viewer(), nullptr);
    EXPECT_EQ(left->Viewer()->DocumentTitle(), "Plain");
    // Back shows the nested set again.
    fv.StepBack();
    EXPECT_NE(left->NestedSet(), nullptr);
    EXPECT_EQ(fv.CurrentFrameSet().FrameCount(), 3);
}

TEST_F(NavigationFixture, BaseTargetOfTheFrameSetDocumentApplies)
{
    files.Write("a.htm", "<a href=\"b.htm\">b</a>");
    files.Write("b.htm", "<title>B</title>b");
    fv.ShowFile(files.Write("set.htm", "<html><head><base target=\"main\"></head><frameset cols=\"100,*\">"
                                       "<frame name=nav src=a.htm><frame name=main src=a.htm></frameset></html>"));
    fv.FrameLinkClick(*fv.ViewFromTarget("nav"), "b.htm");
    EXPECT_EQ(fv.ViewFromTarget("main")->DocumentTitle(), "B");
    EXPECT_NE(fv.ViewFromTarget("nav")->DocumentTitle(), "B");
}

TEST_F(NavigationFixture, DraggingABorderResizesTheFrames)
{
    fv.ShowFile(files.Write("set.htm", "<frameset cols=\"200,*\" border=4><frame name=a src=x.htm>"
                                       "<frame name=b src=x.htm></frameset>"));
    files.Write("x.htm", "x");
    TFrameSet& set = fv.CurrentFrameSet();
    TfvFrame& a = *set.FrameNamed("a");
    // Press on the left frame's bevel at its right edge, drag to 300, release.
    QPoint edge(a.width() - 1, 100);
    QTest::mousePress(&a, Qt::LeftButton, {}, edge);
    EXPECT_TRUE(set.Dragging());
    set.BorderMouse(QEvent::MouseMove, QPoint(300, 100), Qt::NoButton);
    set.BorderMouse(QEvent::MouseButtonRelease, QPoint(300, 100), Qt::LeftButton);
    EXPECT_FALSE(set.Dragging());
    EXPECT_EQ(a.width(), 300);
    EXPECT_EQ(set.FrameNamed("b")->width(), 300);
    // The new proportions hold when the view is resized.
    fv.resize(1200, 400);
    EXPECT_EQ(a.width(), 600);
}

TEST_F(NavigationFixture, NoResizeFramesKeepTheirBorder)
{
    files.Write("x.htm", "x");
    fv.ShowFile(files.Write("set.htm", "<frameset cols=\"200,*\" border=4><frame name=a src=x.htm noresize>"
                                       "<frame name=b src=x.htm></frameset>"));
    TFrameSet& set = fv.CurrentFrameSet();
    set.BorderMouse(QEvent::MouseButtonPress, QPoint(200, 100), Qt::LeftButton);
    EXPECT_FALSE(set.Dragging());
}

TEST_F(NavigationFixture, RefreshReloadsTheFrame)
{
    fv.fvOptions |= fvMetaRefresh;
    files.Write("next.htm", "<title>Next</title>next");
    files.Write("timed.htm", "<html><head><meta http-equiv=refresh content=\"0; url=next.htm\"></head>now</html>");
    fv.ShowFile(files.Write("set.htm", "<frameset rows=\"*,*\"><frame name=top src=timed.htm>"
                                       "<frame name=bottom src=next.htm></frameset>"));
    QTest::qWait(1300);
    EXPECT_EQ(fv.ViewFromTarget("top")->DocumentTitle(), "Next");
}

TEST_F(NavigationFixture, ReloadReadsTheFilesAgain)
{
    std::string page = files.Write("page.htm", "<title>One</title>x");
    fv.ShowFile(page);
    files.Write("page.htm", "<title>Two</title>x");
    fv.ReloadFile();
    EXPECT_EQ(fv.DocumentTitle(), "Two");
    // Showing the same file again updates the view without a history entry.
    files.Write("page.htm", "<title>Three</title>x");
    fv.ShowFile(page);
    EXPECT_EQ(fv.DocumentTitle(), "Three");
    EXPECT_LE(fv.HistoryCount(), 1);
}

TEST_F(NavigationFixture, AReloadWhoseFileHasGoneLeavesTheViewIdleForTheNextLoad)
{
    std::vector<bool> processing;
    fv.OnProcessing = [&](TFrameViewer*, bool on) { processing.push_back(on); };
    std::string page = files.Write("page.htm", "<title>Page</title>shown");
    std::string other = files.Write("other.htm", "<title>Other</title>other");
    fv.ShowFile(page);
    ASSERT_EQ(std::remove(page.c_str()), 0);
    processing.clear();
    EXPECT_THROW(fv.ReloadFile(), std::exception);
    EXPECT_FALSE(fv.Busy());
    EXPECT_EQ(processing, (std::vector<bool>{true, false}));
    EXPECT_EQ(fv.DocumentTitle(), "Page"); // what was shown stays
    fv.ShowFile(other);
    EXPECT_EQ(fv.CurrentFile(), other);
    EXPECT_EQ(fv.DocumentTitle(), "Other");
}

TEST_F(NavigationFixture, ShowingThePlaceAlreadyShownAddsNoBackStep)
{
    std::string a = files.Write("a.htm", "<title>A</title>a");
    std::string b = files.Write("b.htm", "<title>B</title><p><a name=x>x</a>b");
    fv.ShowFile(a);
    fv.ShowFile(b);
    fv.ShowFile(b);
    fv.StepBack();
    EXPECT_EQ(fv.CurrentFile(), a);
    // Another place in the same document is a step of its own.
    fv.StepForward();
    fv.ShowFile(b + "#x");
    fv.StepBack();
    EXPECT_EQ(fv.CurrentFile(), b);
    fv.StepBack();
    EXPECT_EQ(fv.CurrentFile(), a);
}

TEST_F(NavigationFixture, OnlyAFrameTheUserChoseIsTheActiveOne)
{
    files.Write("left.htm", "left");
    files.Write("right.htm", "right");
    fv.ShowFile(files.Write("set.htm", "<frameset cols=\"*,*\"><frame name=left src=left.htm>"
                                      "<frame name=right src=right.htm></frameset>"));
    THTMLViewer* left = fv.ViewFromTarget("left");
    THTMLViewer* right = fv.ViewFromTarget("right");
    ASSERT_TRUE(left && right);
    // Focus passing through (a window activated, a set shown) chooses nothing.
    QFocusEvent passing(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(left, &passing);
    EXPECT_EQ(fv.ActiveView(), nullptr);
    QFocusEvent clicked(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(right, &clicked);
    EXPECT_EQ(fv.ActiveView(), right);
    QApplication::sendEvent(left, &passing);
    EXPECT_EQ(fv.ActiveView(), right);
}
