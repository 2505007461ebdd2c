// The page-break pass against the pages painted, and a cancelled job.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>

#include "html/viewer/QtCanvas.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TPrintPager.h"
#include "html/viewer/TvwPrinter.h"
#include "html/viewer/ViewerPrint.h"
#include "tests/support/PdfFiles.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

// A long table, a preformatted block and paragraphs of several sizes: page
// breaks fall inside rows, between lines and between blocks.
std::string MixedDocument()
{
    std::string html = "<html><body><h1>Mixed</h1>";
    for (int i = 0; i < 40; ++i)
        html += "<p style=\"font-size:" + std::to_string(10 + i % 9) + "pt\">Paragraph " + std::to_string(i) +
                " runs on over a few lines of words to wrap at the page width and beyond it.</p>";
    html += "<table border=1>";
    for (int r = 0; r < 120; ++r)
        html += "<tr><td>row " + std::to_string(r) + "</td><td>" + std::string(size_t(r % 7 + 1), 'x') +
                " cell with text</td></tr>";
    html += "</table><pre>";
    for (int l = 0; l < 150; ++l)
        html += "preformatted line " + std::to_string(l) + "\n";
    return html + "</pre></body></html>";
}

struct PagesFixture : ::testing::Test {
    viewertest::Files files;
    THTMLViewer viewer;
    QPrinter printer{QPrinter::HighResolution};
    std::string pdf;
    PagesFixture()
    {
        viewer.resize(600, 400);
        pdf = files.Path("out.pdf");
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setFullPage(true);
    }
    void Show(const std::string& html) { viewer.ShowFile(files.Write("doc.htm", html)); }
    int PassPages()
    {
        TPrintSettings settings;
        TvwPrinter facts(printer);
        TPrintPager pager(viewer.SectionList(), TPageGeometry(facts, settings), settings);
        QImage device(1, 1, QImage::Format_RGB32);
        QPainter painter(&device);
        TQtCanvas canvas(painter);
        pager.LayOut(canvas);
        pager.FindAllBreaks(canvas);
        return pager.PageCount();
    }
    // Files left in the output folder other than the ones named.
    QStringList FolderEntries() const
    {
        return QDir(QString::fromStdString(files.Folder())).entryList(QDir::Files | QDir::Hidden);
    }
};

} // namespace

TEST_F(PagesFixture, ThePassCountsThePagesThatArePrinted)
{
    for (const std::string& html : {viewertest::Paragraphs(5), viewertest::Paragraphs(230), MixedDocument()}) {
        Show(html);
        const int counted = PassPages();
        viewer.Print(1, 9999, printer);
        EXPECT_EQ(counted, viewer.PrintedPages());
        EXPECT_EQ(counted, PdfPageCount(pdf));
    }
}

TEST_F(PagesFixture, EveryPagePaintedEndsWhereThePassSaidTheNextBegins)
{
    Show(MixedDocument());
    TPrintSettings settings;
    TvwPrinter facts(printer);
    TPrintPager pager(viewer.SectionList(), TPageGeometry(facts, settings), settings);
    QImage page(600, 850, QImage::Format_RGB32);
    QPainter painter(&page);
    TQtCanvas canvas(painter);
    pager.LayOut(canvas);
    pager.FindAllBreaks(canvas);
    ASSERT_GE(pager.PageCount(), 4);
    // Out of order, as a preview scrolls: each page paints the same.
    bool stop = false;
    for (int p : {3, 1, 4, 2})
        EXPECT_EQ(pager.PaintPage(canvas, p, {}, stop), pager.PageTop(p + 1)) << "page " << p;
}

TEST_F(PagesFixture, TheJobReportsPageNOfN)
{
    Show(viewertest::Paragraphs(230));
    std::vector<std::pair<int, int>> printing;
    viewer.OnPrintWatch = [&](THTMLViewer*, TPrintStage stage, int done, int total) {
        if (stage == TPrintStage::Printing)
            printing.emplace_back(done, total);
        return false;
    };
    viewer.Print(2, 9999, printer);
    const int pages = viewer.PrintedPages();
    ASSERT_GE(pages, 4);
    ASSERT_EQ(int(printing.size()), pages - 1);
    for (size_t i = 0; i < printing.size(); ++i)
        EXPECT_EQ(printing[i], std::make_pair(int(i) + 1, pages - 1));
}

TEST_F(PagesFixture, CancelLeavesNoFileBehind)
{
    Show(viewertest::Paragraphs(230));
    const QStringList before = FolderEntries();
    for (TPrintStage cancelAt : {TPrintStage::Printing, TPrintStage::Counting}) {
        int asked = 0;
        viewer.OnPrintWatch = [&](THTMLViewer*, TPrintStage stage, int, int) {
            asked += stage == TPrintStage::Printing;
            return stage == cancelAt;
        };
        viewer.Print(1, 9999, printer);
        EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
        EXPECT_EQ(FolderEntries(), before) << "a temporary file stayed";
        if (cancelAt == TPrintStage::Printing) {
            EXPECT_EQ(asked, 1);
            EXPECT_EQ(viewer.PrintedPages(), 1);
        }
    }
}

TEST_F(PagesFixture, CancelKeepsTheFileThatWasThere)
{
    Show(viewertest::Paragraphs(230));
    files.Write("out.pdf", "an earlier print");
    viewer.OnPrintWatch = [](THTMLViewer*, TPrintStage stage, int done, int) {
        return stage == TPrintStage::Printing && done == 2;
    };
    viewer.Print(1, 9999, printer);
    QFile kept(QString::fromStdString(pdf));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll().toStdString(), "an earlier print");
}
