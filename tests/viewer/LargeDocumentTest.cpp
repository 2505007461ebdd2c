// Documents too large to show are refused with their size before anything
// is read; a long load keeps the window's events going.
#include <gtest/gtest.h>

#include <QTimer>
#include <fcntl.h>
#include <unistd.h>

#include "html/viewer/DocumentFile.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/ViewerErrors.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

// A file of the given size that takes no room on the disk.
std::string SparseFile(const viewertest::Files& files, const std::string& name, off_t size)
{
    std::string path = files.Write(name, "<p>start");
    int fd = ::open(path.c_str(), O_WRONLY);
    EXPECT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);
    return path;
}

} // namespace

TEST(LargeDocument, AboveTheLimitIsRefusedWithBothSizesAndTheShownPageStays)
{
    viewertest::Files files;
    THTMLViewer viewer;
    viewer.ShowFile(files.Write("small.htm", "<title>Small</title><p>small"));
    std::string huge = SparseFile(files, "huge.htm", MaxDocumentBytes + (1 << 20));
    try {
        viewer.ShowFile(huge);
        FAIL() << "a document above the limit was read";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.message(), huge + " is too large to show: 65.0 MB (the reader shows documents of up to 64 MB)");
    }
    EXPECT_EQ(viewer.DocumentTitle(), "Small");
    EXPECT_FALSE(viewer.Processing());

    // The frame viewer says the same, and a file at the limit is read.
    TFrameViewer frames;
    EXPECT_THROW(frames.ShowFile(huge), EfvLoadError);
    EXPECT_FALSE(frames.Busy());
    std::string atLimit = SparseFile(files, "limit.txt", MaxDocumentBytes);
    EXPECT_EQ(ReadDocumentFile(atLimit, atLimit).size(), size_t(MaxDocumentBytes));
}

TEST(LargeDocument, AFiftyMegabytePageIsRead)
{
    viewertest::Files files;
    std::string large = SparseFile(files, "large.htm", off_t(50) << 20);
    std::int64_t lastReport = 0;
    const std::string text = ReadDocumentFile(large, large, [&](std::int64_t read, std::int64_t size) {
        EXPECT_EQ(size, std::int64_t(50) << 20);
        EXPECT_GT(read, lastReport);
        lastReport = read;
    });
    EXPECT_EQ(text.size(), size_t(50) << 20);
    EXPECT_EQ(text.substr(0, 8), "<p>start");
    EXPECT_GE(lastReport, std::int64_t(46) << 20);
}

TEST(LargeDocument, EventsAreHandledWhileALongDocumentIsRead)
{
    viewertest::Files files;
    std::string page;
    for (int i = 0; page.size() < (800u << 10); ++i)
        page += "<p>Paragraph " + std::to_string(i) + " of a long document, <b>with</b> some <i>markup</i>.\n";
    std::string path = files.Write("long.htm", page);
    THTMLViewer viewer;
    viewer.resize(400, 300);
    bool firedWhileLoading = false;
    QTimer::singleShot(0, &viewer, [&] { firedWhileLoading = viewer.Processing(); });
    // Nothing the events start reads another document meanwhile.
    THTMLViewer other;
    QTimer::singleShot(0, &other, [&] { other.ShowHtmlText("<title>Other</title>"); });
    viewer.ShowFile(path);
    EXPECT_TRUE(firedWhileLoading);
    EXPECT_EQ(other.DocumentTitle(), "");
    EXPECT_EQ(viewer.DocumentTitle(), "");
    EXPECT_GT(viewer.DocumentHeight(), 10000);
}
