#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QFileInfo>
#include <QRegularExpression>
#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include "html/layout/THorzLine.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TvwPrinter.h"
#include "html/viewer/ViewerErrors.h"
#include "html/viewer/ViewerPrint.h"
#include "tests/layout/LayoutTestSupport.h"
#include "tests/support/PermissionsBind.h"
#include "tests/support/PdfFiles.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

std::string ReadAll(const std::string& file)
{
    QFile f(QString::fromStdString(file));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

struct PrintFixture : ::testing::Test {
    viewertest::Files files;
    THTMLViewer viewer;
    std::unique_ptr<QPrinter> printer;
    std::string pdf;
    PrintFixture()
    {
        viewer.resize(600, 400);
        pdf = files.Path("out.pdf");
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(pdf));
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setFullPage(true);
    }
    // Paragraphs until the document fills about `pages` A4 pages.
    void LoadPages(int paragraphs) { viewer.ShowFile(files.Write("doc.htm", viewertest::Paragraphs(paragraphs))); }
};

} // namespace

TEST_F(PrintFixture, OnePageDocumentPrintsOnePage)
{
    LoadPages(5);
    viewer.Print(1, 9999, *printer);
    EXPECT_EQ(viewer.PrintedPages(), 1);
    EXPECT_EQ(PdfPageCount(pdf), 1);
}

TEST_F(PrintFixture, RangePrintsOnlyItsPages)
{
    LoadPages(110);
    viewer.Print(1, 9999, *printer);
    int pages = viewer.PrintedPages();
    ASSERT_GE(pages, 3);
    ASSERT_EQ(PdfPageCount(pdf), pages);
    std::string all = PdfText(pdf);

    viewer.Print(2, 2, *printer);
    EXPECT_EQ(viewer.PrintedPages(), 2); // page 1 was laid out too
    EXPECT_EQ(PdfPageCount(pdf), 1);
    std::string second = PdfText(pdf);
    if (!all.empty()) {
        // Page 2 starts where page 1 ended and stops before the last page.
        EXPECT_EQ(second.find("Paragraph 1 "), std::string::npos);
        EXPECT_EQ(second.find("Paragraph 110 "), std::string::npos);
        size_t first = second.find("Paragraph ");
        ASSERT_NE(first, std::string::npos);
        int number = std::atoi(second.c_str() + first + 10);
        EXPECT_GT(number, 10);
        EXPECT_NE(all.find("\f", all.find("Paragraph " + std::to_string(number - 1) + " ")), std::string::npos);
    }
}

TEST_F(PrintFixture, RangeBeyondTheDocumentPrintsNothing)
{
    LoadPages(5);
    viewer.Print(3, 4, *printer);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
    // A file already there is not destroyed by a job that printed nothing.
    files.Write("out.pdf", "an earlier print");
    viewer.Print(3, 4, *printer);
    EXPECT_EQ(ReadAll(pdf), "an earlier print");
    EXPECT_EQ(printer->outputFileName().toStdString(), pdf);
}

TEST_F(PrintFixture, PrintingOntoALinkReplacesTheFileItPointsTo)
{
    LoadPages(5);
    std::string real = files.Write("real.pdf", "old");
    std::string link = files.Path("link.pdf");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    ::chmod(real.c_str(), 0640);
    printer->setOutputFileName(QString::fromStdString(link));
    viewer.Print(1, 9999, *printer);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(link)).isSymLink());
    EXPECT_EQ(PdfPageCount(real), 1);
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(PrintFixture, AFolderThatCannotBeWrittenIsNamedInTheMessage)
{
    if (!PermissionsBind())
        GTEST_SKIP() << "file modes do not bind this process";
    LoadPages(5);
    std::string folder = files.Path("locked");
    ASSERT_EQ(::mkdir(folder.c_str(), 0555), 0);
    printer->setOutputFileName(QString::fromStdString(folder + "/out.pdf"));
    try {
        viewer.Print(1, 9999, *printer);
        FAIL() << "printed into a folder that cannot be written";
    } catch (const EPrinter& e) {
        EXPECT_NE(e.message().find("the folder " + folder + "/ cannot be written"), std::string::npos)
            << e.message();
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "/out.pdf")));
    ::chmod(folder.c_str(), 0755);
}

TEST_F(PrintFixture, HeaderCanStopTheJob)
{
    LoadPages(110);
    std::vector<int> headerPages, footerPages, progress;
    int headerHeight = 0;
    viewer.OnPrintHeader = [&](THTMLViewer*, TCanvas&, int page, int, int h, bool& stop) {
        headerPages.push_back(page);
        headerHeight = h;
        stop = true;
    };
    viewer.OnPrintFooter = [&](THTMLViewer*, TCanvas&, int page, int, int, bool&) { footerPages.push_back(page); };
    viewer.OnPrintProgress = [&](THTMLViewer*, int page, bool&) { progress.push_back(page); };
    viewer.Print(1, 9999, *printer);
    EXPECT_EQ(viewer.PrintedPages(), 1);
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_EQ(headerPages, std::vector<int>{1});
    EXPECT_EQ(footerPages, std::vector<int>{1});
    EXPECT_EQ(progress, (std::vector<int>{0, 1, 1}));
    // 2 cm of top margin at 96 document units per inch.
    EXPECT_NEAR(headerHeight, 76, 1);
}

TEST_F(PrintFixture, SmallMarginsMakeRoomForTheHeaderAndFooterOffTheBody)
{
    LoadPages(110);
    viewer.Print(1, 9999, *printer);
    const int roomyPages = viewer.PrintedPages();
    int headerHeight = 0, footerHeight = 0;
    viewer.OnPrintHeader = [&](THTMLViewer*, TCanvas&, int, int, int h, bool&) { headerHeight = h; };
    viewer.OnPrintFooter = [&](THTMLViewer*, TCanvas&, int, int, int h, bool&) { footerHeight = h; };
    viewer.PrintMarginTop = viewer.PrintMarginBottom = 0.2; // about 8 units each
    viewer.PrintHeaderSpace = 30;
    viewer.PrintFooterSpace = 25;
    viewer.Print(1, 9999, *printer);
    EXPECT_GE(headerHeight, 30);
    EXPECT_GE(footerHeight, 25);
    EXPECT_LT(headerHeight, 34);
    // Without bands that need room the margins are what they say.
    viewer.PrintHeaderSpace = viewer.PrintFooterSpace = 0;
    viewer.Print(1, 9999, *printer);
    EXPECT_LT(headerHeight, 10);
    EXPECT_GE(roomyPages, 2);
}

TEST_F(PrintFixture, DoubleScaleHalvesTheDocumentPerPage)
{
    LoadPages(200);
    viewer.Print(1, 9999, *printer);
    int normal = viewer.PrintedPages();
    viewer.PrintScale = 2.0;
    viewer.Print(1, 9999, *printer);
    int doubled = viewer.PrintedPages();
    EXPECT_GE(normal, 4);
    EXPECT_GE(doubled, 2 * normal - 1);
    EXPECT_LE(doubled, 2 * normal + 1);
}

TEST_F(PrintFixture, JobTitleIsCutTo31Characters)
{
    viewer.ShowHtmlText("<title>A very long document title that goes on and on</title>x", files.Path("t.htm"));
    viewer.Print(1, 9999, *printer);
    EXPECT_EQ(printer->docName().toStdString(), std::string("A very long document title that goes").substr(0, 31));
}

TEST_F(PrintFixture, HtmlFooterBandIsPrinted)
{
    LoadPages(5);
    viewer.OnPrintHTMLFooter = [](THTMLViewer*, THTMLViewer* band, int page, bool last, int&, int&, bool&) {
        band->ShowHtmlText("Footer of page " + std::to_string(page) + (last ? " (last)" : ""));
    };
    viewer.Print(1, 9999, *printer);
    std::string text = PdfText(pdf);
    if (!text.empty()) {
        EXPECT_NE(text.find("Footer of page 1 (last)"), std::string::npos);
    }
}

TEST(PrintToPdf, WorksWithoutAWindow)
{
    viewertest::Files files;
    THTMLViewer viewer;
    viewer.ShowHtmlText(viewertest::Paragraphs(10), files.Path("x.htm"));
    std::string pdf = files.Path("doc.pdf");
    EXPECT_EQ(PrintDocumentToPdf(viewer.SectionList(), pdf), 1);
    EXPECT_EQ(PdfPageCount(pdf), 1);
}

namespace {

// The colour of a pixel of page 1 of the PDF, rendered at 20 pixels per inch.
QColor PdfPixel(const std::string& pdf, int x, int y)
{
    std::string png = pdf + "-page";
    QProcess p;
    p.start("pdftoppm", {"-r", "20", "-png", "-singlefile", QString::fromStdString(pdf), QString::fromStdString(png)});
    if (!p.waitForFinished(20000))
        return {};
    QImage image(QString::fromStdString(png + ".png"));
    return image.isNull() ? QColor() : image.pixelColor(x, y);
}

} // namespace

TEST_F(PrintFixture, BackgroundPrintsOnlyWhenAsked)
{
    viewer.ShowFile(files.Write("bg.htm", "<body bgcolor=\"#0000FF\"><p>blue page</p></body>"));
    viewer.Print(1, 9999, *printer);
    QColor plain = PdfPixel(pdf, 40, 150);
    if (!plain.isValid())
        GTEST_SKIP() << "pdftoppm is not installed";
    EXPECT_EQ(plain, QColor(Qt::white));
    viewer.htOptions |= htPrintBackground;
    viewer.Print(1, 9999, *printer);
    EXPECT_EQ(PdfPixel(pdf, 40, 150), QColor(Qt::blue));
}

TEST(TvwPrinter, StateErrors)
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    viewertest::Files files;
    printer.setOutputFileName(QString::fromStdString(files.Path("x.pdf")));
    TvwPrinter job(printer);
    try {
        job.EndDoc();
        FAIL();
    } catch (const EPrinter& e) {
        EXPECT_EQ(e.message(), "Printer is not currently printing");
    }
    job.BeginDoc();
    try {
        job.BeginDoc();
        FAIL();
    } catch (const EPrinter& e) {
        EXPECT_EQ(e.message(), "Printing in progress");
    }
    job.NewPage();
    EXPECT_EQ(job.PageNumber(), 2);
    job.EndDoc();
    EXPECT_EQ(PdfPageCount(files.Path("x.pdf")), 2);
}

namespace {

// The colours a monochrome-rule print of the document draws with, by kind of
// drawing call, on a device of the given colour depth.
std::set<TColor> PrintedColours(layouttest::Doc& d, int colorDepth, TDrawKind kind)
{
    TFixedCanvas device(TFixedCanvas::TDevice{96, 96, colorDepth, true});
    TPaintContext pc{device, {0, 0, 300, 100}};
    pc.printing = true;
    pc.printMonochrome = true;
    pc.pageBottom = 100;
    d.doc.PaintDocument(pc, 0);
    std::set<TColor> colours;
    for (const TDrawCall& call : device.calls())
        if (call.kind == kind)
            colours.insert(call.color);
    return colours;
}

} // namespace

TEST(MonochromeRule, ColouredTextTurnsBlackOnlyOnDevicesWithoutColours)
{
    using namespace layouttest;
    Doc d;
    TTextStyle red = Text();
    red.font.color = 0x0000FF;
    d.AddText(*d.body, u"red", red);
    d.Layout(300);
    EXPECT_EQ(PrintedColours(d, 1, TDrawKind::Text), std::set<TColor>{TColor(0)});         // two colours: black
    EXPECT_EQ(PrintedColours(d, 24, TDrawKind::Text), std::set<TColor>{TColor(0x0000FF)}); // a colour printer keeps red
}

TEST(MonochromeRule, ShadedRulesTurnBlackOnlyOnDevicesWithoutColours)
{
    using namespace layouttest;
    Doc d;
    d.body->AddSection(std::make_unique<THorzLine>(d.doc, THorzLine::DefaultSize, ClNone, TRuleAlign::Center, false));
    d.Layout(300);
    EXPECT_EQ(PrintedColours(d, 1, TDrawKind::FillRect), std::set<TColor>{TColor(0)}); // two colours: black
    const std::set<TColor> coloured = PrintedColours(d, 24, TDrawKind::FillRect);
    EXPECT_FALSE(coloured.empty());
    EXPECT_FALSE(coloured.contains(TColor(0))) << "a colour printer keeps the shading";
}
