#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

#include "html/viewer/TFrameViewer.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

// Paints what is queued, as the event loop does between user actions.
void settle()
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Counts the pixels of one colour in what the window shows on the screen
// (its backing store, not a fresh rendering of the widgets).
int pixelsOf(QWidget& window, QRgb colour)
{
    QImage shown = QGuiApplication::primaryScreen()->grabWindow(window.winId()).toImage().convertToFormat(
        QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            count += (shown.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return count;
}

struct FramePaint : ::testing::Test {
    viewertest::Files files;
    QWidget window;
    TFrameViewer* fv = new TFrameViewer(&window);
    FramePaint()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(fv);
        window.resize(640, 481); // odd sizes leave pixels the frame sizes do not hand out
        fv->SetHistoryMaxCount(10);
        window.show();
        files.Write("loud.htm", "<body bgcolor=#ff00ff><h1>" + std::string(400, 'M') + "</h1>");
        files.Write("top.htm", "<body bgcolor=#ffffff>banner");
        // Wider and taller than its frame: both scroll bars and the corner between them.
        std::string lines;
        for (int i = 0; i < 80; ++i)
            lines += "<p>line";
        files.Write("left.htm", "<body bgcolor=#ffffff>" + std::string(3000, 'x') + lines);
        files.Write("right.htm", "<body bgcolor=#ffffff>reading");
    }
    std::string FrameSet(const std::string& attributes)
    {
        return files.Write("set.htm", "<frameset rows=\"72,*\" " + attributes +
                                          "><frame src=top.htm scrolling=no><frameset cols=\"33%,*\">"
                                          "<frame src=left.htm><frame src=right.htm></frameset></frameset>");
    }
};

} // namespace

TEST_F(FramePaint, FrameSetAfterAnOrdinaryPageLeavesNoPixelOfIt)
{
    for (const char* attributes : {"border=2", "border=0", "border=5"}) {
        std::string set = FrameSet(attributes);
        fv->ShowFile(files.Path("loud.htm"));
        settle();
        ASSERT_GT(pixelsOf(window, qRgb(255, 0, 255)), 1000) << "the loud page must show first";
        fv->ShowFile(set);
        settle();
        EXPECT_EQ(pixelsOf(window, qRgb(255, 0, 255)), 0) << attributes;
        // And back to the ordinary page, then the set again through the history.
        fv->ShowFile(files.Path("loud.htm"));
        settle();
        fv->StepBack();
        settle();
        EXPECT_EQ(fv->CurrentFile(), set);
        EXPECT_EQ(pixelsOf(window, qRgb(255, 0, 255)), 0) << attributes << " after Back";
        fv->ClearView();
    }
}
