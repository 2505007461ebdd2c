#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "html/layout/TFontObj.h"
#include "html/layout/TSectionBase.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TPaintPanel.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

struct InputFixture : ::testing::Test {
    viewertest::Files files;
    THTMLViewer viewer;
    InputFixture()
    {
        viewer.resize(500, 300);
        viewer.show();
    }
    QWidget& Panel() { return *viewer.findChild<TPaintPanel*>(); }
    // The window point of a document position's caret (its middle height).
    QPoint PointOf(int position)
    {
        int x = 0, y = 0;
        viewer.SectionList().CaretXY(viewer.MeasuringCanvas(), position, x, y);
        return {x - viewer.HScrollBarPosition() + 2, y - viewer.VScrollBarPosition() + 8};
    }
    int PositionOfText(const std::u16string& text) { return viewer.SectionList().FindText(0, text, true); }
};

} // namespace

TEST_F(InputFixture, ClickOnALinkReportsItAndFollowsIt)
{
    std::string target = files.Write("target.htm", "<title>Target</title>arrived");
    viewer.ShowFile(files.Write("page.htm", "<p>Go <a href=\"target.htm\">there now</a> please"));
    std::string covered, clicked;
    viewer.OnHotSpotCovered = [&](THTMLViewer*, const std::string& url) { covered = url; };
    viewer.OnHotSpotClick = [&](THTMLViewer*, const std::string& url, bool&) { clicked = url; };
    QPoint link = PointOf(PositionOfText(u"there"));
    QTest::mouseMove(&Panel(), link);
    EXPECT_EQ(covered, "target.htm");
    EXPECT_EQ(Panel().cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(&Panel(), Qt::LeftButton, {}, link);
    EXPECT_EQ(clicked, "target.htm");
    EXPECT_EQ(viewer.CurrentFile(), target);
    EXPECT_TRUE(viewer.Visited().Contains(target));
}

TEST_F(InputFixture, HandledClickIsNotFollowed)
{
    std::string page = files.Write("page.htm", "<p>Go <a href=\"prog.exe\">run it</a>");
    viewer.ShowFile(page);
    viewer.OnHotSpotClick = [](THTMLViewer*, const std::string&, bool& handled) { handled = true; };
    QTest::mouseClick(&Panel(), Qt::LeftButton, {}, PointOf(PositionOfText(u"run")));
    EXPECT_EQ(viewer.CurrentFile(), page);
}

TEST_F(InputFixture, VisitedLinksAreMarkedOnLoad)
{
    std::string target = files.Write("target.htm", "x");
    std::string page = files.Write("page.htm", "<a href=\"target.htm\">one</a> <a href=\"other.htm\">two</a>");
    viewer.ShowFile(page);
    viewer.FollowLink("target.htm");
    viewer.ShowFile(page);
    const auto& links = viewer.SectionList().LinkList;
    ASSERT_GE(links.size(), 2u);
    for (TFontObj* run : links)
        EXPECT_EQ(run->Visited(), run->Link().url == "target.htm") << run->Link().url;
    viewer.SetVisitedMaxCount(0);
    for (TFontObj* run : links)
        EXPECT_FALSE(run->Visited());
}

TEST_F(InputFixture, DragSelectsAndCopies)
{
    viewer.ShowFile(files.Write("page.htm", "<p>alpha beta gamma delta"));
    QPoint from = PointOf(PositionOfText(u"beta"));
    QPoint to = PointOf(PositionOfText(u"delta"));
    QTest::mousePress(&Panel(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), Panel().mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Panel(), &move);
    QTest::mouseRelease(&Panel(), Qt::LeftButton, {}, to);
    EXPECT_EQ(viewer.SelText(), u"beta gamma ");
    viewer.CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdU16String(), u"beta gamma ");
    viewer.NoSelect = true;
    QTest::mouseDClick(&Panel(), Qt::LeftButton, {}, PointOf(PositionOfText(u"alpha")));
    EXPECT_EQ(viewer.SelText(), u"beta gamma "); // unchanged
    viewer.NoSelect = false;
    QTest::mouseDClick(&Panel(), Qt::LeftButton, {}, PointOf(PositionOfText(u"gamma") + 1));
    EXPECT_EQ(viewer.SelText(), u"gamma");
}

TEST_F(InputFixture, KeysScrollByStepsAndPages)
{
    viewer.ShowFile(files.Write("page.htm", viewertest::Paragraphs(80)));
    viewer.setFocus();
    QTest::keyClick(&viewer, Qt::Key_Down);
    EXPECT_EQ(viewer.VScrollBarPosition(), 16);
    QTest::keyClick(&viewer, Qt::Key_PageDown);
    EXPECT_EQ(viewer.VScrollBarPosition(), 16 + viewer.SurfaceHeight() - 16);
    QTest::keyClick(&viewer, Qt::Key_End);
    EXPECT_EQ(viewer.VScrollBarPosition(), viewer.DocumentHeight() - viewer.SurfaceHeight());
    QTest::keyClick(&viewer, Qt::Key_Down);
    EXPECT_EQ(viewer.VScrollBarPosition(), viewer.DocumentHeight() - viewer.SurfaceHeight());
    QTest::keyClick(&viewer, Qt::Key_Home);
    EXPECT_EQ(viewer.VScrollBarPosition(), 0);
    viewer.SetVScrollBarPosition(-50);
    EXPECT_EQ(viewer.VScrollBarPosition(), 0);
}

TEST_F(InputFixture, ViewPositionNamesASectionAndAnOffset)
{
    viewer.ShowFile(files.Write("page.htm", viewertest::Paragraphs(80)));
    TSectionList& doc = viewer.SectionList();
    ASSERT_GT(doc.PositionList.size(), 10u);
    int sectionTop = doc.PositionList[10]->YPosition();
    viewer.SetVScrollBarPosition(sectionTop + 7);
    int position = viewer.ViewPosition();
    int y = 0, index = 0;
    doc.SectionAtY(sectionTop + 7, y, index);
    EXPECT_EQ(position, (index + 1) * 65536 + (sectionTop + 7 - y));
    viewer.SetVScrollBarPosition(0);
    viewer.SetViewPosition(position);
    EXPECT_EQ(viewer.VScrollBarPosition(), sectionTop + 7);
    viewer.SetViewPosition(30000 * 65536); // beyond the document: ignored
    EXPECT_EQ(viewer.VScrollBarPosition(), sectionTop + 7);
}

TEST_F(InputFixture, ScrollBarsFollowTheDocument)
{
    viewer.ShowFile(files.Write("wide.htm", "<pre>" + std::string(300, 'w') + "</pre>"));
    EXPECT_TRUE(viewer.HScrollBarVisible());
    EXPECT_FALSE(viewer.VScrollBarVisible());
    viewer.SetHScrollBarPosition(100000);
    EXPECT_EQ(viewer.HScrollBarPosition(), viewer.DocumentWidth() - viewer.SurfaceWidth());
    viewer.htOptions |= htShowVScroll;
    viewer.ShowFile(files.Write("tiny.htm", "tiny"));
    EXPECT_TRUE(viewer.VScrollBarVisible());
    viewer.SetScrollBars(TScrollStyle::ssNone);
    EXPECT_FALSE(viewer.VScrollBarVisible());
    EXPECT_FALSE(viewer.HScrollBarVisible());
}
