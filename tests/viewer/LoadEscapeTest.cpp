// A long load tells how far it got and stops on Escape, leaving the document
// that was shown before.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>

#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/TLoadWatch.h"
#include "html/viewer/ViewerErrors.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

// Several megabytes of paragraphs: long to build in any build of the program.
std::string LongPage(size_t bytes)
{
    std::string page = "<title>Long</title>";
    for (int i = 0; page.size() < bytes; ++i)
        page += "<p>Paragraph " + std::to_string(i) + " of a long page with <b>some</b> <i>markup</i> in it.\n";
    return page;
}

void PressEscape(QWidget& target)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &press);
}

struct LoadFixture : ::testing::Test {
    viewertest::Files files;
    THTMLViewer viewer;
    std::string first;
    LoadFixture()
    {
        viewer.resize(500, 400);
        first = files.Write("first.htm", "<title>First</title><p>A short page about marmots.");
        viewer.ShowFile(first);
    }
};

} // namespace

TEST_F(LoadFixture, EscapeKeepsThePreviousDocument)
{
    const std::string longPage = files.Write("long.htm", LongPage(6u << 20));
    TSectionList* shown = &viewer.SectionList();
    const int height = viewer.DocumentHeight();
    // The load handles the window's events while it builds: Escape comes then.
    bool pressedWhileLoading = false;
    QTimer::singleShot(0, &viewer, [&] {
        pressedWhileLoading = viewer.Processing();
        PressEscape(viewer);
    });
    EXPECT_THROW(viewer.ShowFile(longPage), ELoadCancelled);
    ASSERT_TRUE(pressedWhileLoading);
    EXPECT_FALSE(viewer.Processing());
    EXPECT_EQ(&viewer.SectionList(), shown);
    EXPECT_EQ(viewer.DocumentTitle(), "First");
    EXPECT_EQ(viewer.CurrentFile(), first);
    EXPECT_EQ(viewer.DocumentHeight(), height);
    EXPECT_TRUE(viewer.FindInText("marmots", false));

    // The reader is ready for the next document.
    viewer.ShowFile(files.Write("next.htm", "<title>Next</title><p>Another page."));
    EXPECT_EQ(viewer.DocumentTitle(), "Next");
    EXPECT_TRUE(viewer.FindInText("Another", false));
}

TEST_F(LoadFixture, EscapeInTheFrameViewerKeepsThePageItShows)
{
    const std::string longPage = files.Write("long.htm", LongPage(6u << 20));
    TFrameViewer frames;
    frames.resize(500, 400);
    frames.SetHistoryMaxCount(10);
    frames.ShowFile(first);
    QTimer::singleShot(0, &frames, [&] { PressEscape(frames); });
    EXPECT_THROW(frames.ShowFile(longPage), ELoadCancelled);
    EXPECT_EQ(frames.CurrentFile(), first);
    EXPECT_EQ(frames.DocumentTitle(), "First");
    EXPECT_FALSE(frames.Busy());
    ASSERT_NE(frames.ActiveView(), nullptr);
    EXPECT_TRUE(frames.ActiveView()->FindInText("marmots", false));
}

TEST_F(LoadFixture, ALongLoadReportsBytesBuiltAndThenLayout)
{
    const std::string page = LongPage(3u << 19);
    const std::string longPage = files.Write("long.htm", page);
    std::vector<TLoadStage> stages;
    std::int64_t lastBuilt = 0, total = 0;
    bool inOrder = true;
    viewer.OnLoadProgress = [&](THTMLViewer*, TLoadStage stage, std::int64_t done, std::int64_t all) {
        if (!stages.empty() && stage < stages.back())
            inOrder = false;
        stages.push_back(stage);
        if (stage == TLoadStage::Building) {
            inOrder = inOrder && done >= lastBuilt && done <= all;
            lastBuilt = done;
            total = all;
        }
    };
    QElapsedTimer took;
    took.start();
    viewer.ShowFile(longPage);
    EXPECT_EQ(viewer.DocumentTitle(), "Long");
    if (took.elapsed() < 2 * TLoadWatch::QuietMs)
        GTEST_SKIP() << "the load was too quick to report on this machine";
    EXPECT_TRUE(inOrder);
    ASSERT_FALSE(stages.empty());
    EXPECT_NE(std::find(stages.begin(), stages.end(), TLoadStage::Building), stages.end());
    EXPECT_EQ(total, std::int64_t(page.size()));
}

TEST_F(LoadFixture, AQuickLoadReportsNothingAndLeavesEscapeAlone)
{
    int reports = 0;
    viewer.OnLoadProgress = [&](THTMLViewer*, TLoadStage, std::int64_t, std::int64_t) { ++reports; };
    viewer.ShowFile(files.Write("small.htm", "<title>Small</title><p>tiny"));
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(viewer.DocumentTitle(), "Small");
    // Escape after a load is the viewer's own key again: no load is stopped.
    PressEscape(viewer);
    viewer.ShowFile(first);
    EXPECT_EQ(viewer.DocumentTitle(), "First");
}

TEST(LoadStatusText, SaysTheStageAndHowFar)
{
    EXPECT_EQ(TLoadWatch::StatusText(TLoadStage::Building, 3 << 20, 8 << 20), "Building 3.0 of 8.0 MB (Esc stops)");
    EXPECT_EQ(TLoadWatch::StatusText(TLoadStage::Reading, 1 << 19, 1 << 20), "Reading 0.5 of 1.0 MB (Esc stops)");
    EXPECT_EQ(TLoadWatch::StatusText(TLoadStage::LayingOut, 40, 100), "Laying out... 40%");
}
