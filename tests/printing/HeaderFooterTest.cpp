#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QPrinter>
#include <QProcess>

#include "gfx/TFixedCanvas.h"
#include "html/viewer/PrintHeaderFooter.h"
#include "html/viewer/TFrameSet.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TfvFrame.h"
#include "tests/support/PdfFiles.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

std::unique_ptr<QPrinter> PdfPrinter(const std::string& file)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QString::fromStdString(file));
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setFullPage(true);
    return printer;
}

std::u16string Expand(std::u16string_view text, int page = 3)
{
    return ExpandPrintTemplate(text, TPrintPageFacts { page, u"08/12/2026 10:00", u"/books/a.htm" });
}

bool HavePdfToText()
{
    return QProcess::execute("pdftotext", { "-v" }) == 0;
}

} // namespace

TEST(PrintTemplate, EachPlaceholderIsReplacedAtItsFirstOccurrenceIgnoringCase)
{
    EXPECT_EQ(Expand(u"Page #PAGENUM"), u"Page 3");
    EXPECT_EQ(Expand(u"#PAGENUM of #PAGENUM"), u"3 of #PAGENUM");
    EXPECT_EQ(Expand(u"#filename, page #PageNum"), u"/books/a.htm, page 3");
    EXPECT_EQ(Expand(u"#TIMESTAMP|#FILENAME|#TIMESTAMP"), u"08/12/2026 10:00|/books/a.htm|#TIMESTAMP");
    EXPECT_EQ(Expand(u"no placeholders"), u"no placeholders");
    EXPECT_EQ(Expand(u""), u"");
    // A value that itself holds a placeholder is not expanded again.
    EXPECT_EQ(ExpandPrintTemplate(u"#FILENAME #PAGENUM", TPrintPageFacts { 7, u"", u"#PAGENUM.htm" }),
        u"#PAGENUM.htm 7");
}

TEST(PrintTemplate, HeaderHangsBelowItsPointAndFooterEndsOnIt)
{
    TFixedCanvas canvas;
    DrawPrintBand(canvas, TPrintBand::Header, u"Head", 96);
    DrawPrintBand(canvas, TPrintBand::Footer, u"Foot", 96);
    DrawPrintBand(canvas, TPrintBand::Footer, u"", 96);
    std::vector<TDrawCall> texts;
    for (const TDrawCall& call : canvas.calls())
        if (call.kind == TDrawKind::Text)
            texts.push_back(call);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, u"Head");
    EXPECT_EQ(texts[0].rect.left, 50);
    EXPECT_EQ(texts[0].rect.top, 40);
    EXPECT_EQ(texts[1].text, u"Foot");
    EXPECT_EQ(texts[1].rect.left, 50);
    EXPECT_EQ(texts[1].rect.bottom, 40);
    EXPECT_EQ(texts[0].font.name, "Arial");
    EXPECT_EQ(std::abs(texts[0].font.height), 11); // 8 pt at 96 units per inch
}

TEST(PrintTemplate, TextStaysInsideABandTooLowForItsUsualPlace)
{
    TFixedCanvas canvas;
    const int space = PrintBandSpace(96);
    DrawPrintBand(canvas, TPrintBand::Header, u"Head", 96, space);
    DrawPrintBand(canvas, TPrintBand::Footer, u"Foot", 96, space);
    std::vector<TDrawCall> texts;
    for (const TDrawCall& call : canvas.calls())
        if (call.kind == TDrawKind::Text)
            texts.push_back(call);
    ASSERT_EQ(texts.size(), 2u);
    for (const TDrawCall& text : texts) {
        EXPECT_GE(text.rect.top, 0) << std::string(text.text.begin(), text.text.end());
        EXPECT_LE(text.rect.bottom, space);
    }
}

struct BandPrint : ::testing::Test {
    viewertest::Files files;
    std::string pdf = files.Path("out.pdf");
    std::unique_ptr<QPrinter> printer = PdfPrinter(pdf);

    THTMLViewer viewer;

    // A document of several pages with the header and footer templates.
    void LoadLong(std::u16string header, std::u16string footer)
    {
        viewer.resize(600, 400);
        viewer.ShowFile(files.Write("doc.htm", viewertest::Paragraphs(160)));
        viewer.OnPrintHeader = [header](THTMLViewer*, TCanvas& c, int page, int, int, bool&) {
            DrawPrintBand(c, TPrintBand::Header, ExpandPrintTemplate(header, { page, u"", u"doc.htm" }), 96);
        };
        viewer.OnPrintFooter = [footer](THTMLViewer*, TCanvas& c, int page, int, int, bool&) {
            DrawPrintBand(c, TPrintBand::Footer, ExpandPrintTemplate(footer, { page, u"", u"doc.htm" }), 96);
        };
    }
};

TEST_F(BandPrint, FooterNumbersEveryPageAndHeaderNamesTheFile)
{
    if (!HavePdfToText())
        GTEST_SKIP() << "pdftotext is not installed";
    LoadLong(u"Header of #FILENAME", u"Page #PAGENUM");
    viewer.Print(1, 9999, *printer);
    ASSERT_GE(viewer.PrintedPages(), 3);
    std::string third = PdfText(pdf, 3);
    EXPECT_NE(third.find("Page 3"), std::string::npos) << third;
    EXPECT_EQ(third.find("Page 2"), std::string::npos);
    EXPECT_NE(third.find("Header of doc.htm"), std::string::npos);
    EXPECT_NE(PdfText(pdf, 1).find("Page 1"), std::string::npos);
}

TEST_F(BandPrint, RangeOfOnePagePrintsThatPagesFooter)
{
    if (!HavePdfToText())
        GTEST_SKIP() << "pdftotext is not installed";
    LoadLong(u"", u"Page #PAGENUM");
    viewer.Print(2, 2, *printer);
    std::string text = PdfText(pdf);
    EXPECT_NE(text.find("Page 2"), std::string::npos) << text;
    EXPECT_EQ(text.find("Page 1"), std::string::npos);
    EXPECT_EQ(text.find("Page 3"), std::string::npos);
}

TEST_F(BandPrint, FrameSetPrintsTheFrameLastFocused)
{
    TFrameViewer fv;
    fv.resize(600, 400);
    files.Write("left.htm", "<p>Left frame words");
    files.Write("right.htm", "<p>Right frame words");
    fv.ShowFile(files.Write("set.htm",
        "<frameset cols=\"*,*\"><frame name=left src=left.htm>"
        "<frame name=right src=right.htm></frameset>"));
    ASSERT_EQ(fv.CurrentFrameSet().Frames().size(), 2u);
    EXPECT_EQ(fv.ActiveView(), nullptr);
    fv.Print(1, 9999, *printer);
    EXPECT_EQ(fv.PrintedPages(), 0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));

    THTMLViewer* right = fv.ViewFromTarget("right");
    ASSERT_NE(right, nullptr);
    QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(right, &focus);
    ASSERT_EQ(fv.ActiveView(), right);
    fv.Print(1, 9999, *printer);
    EXPECT_EQ(fv.PrintedPages(), 1);
    ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf)));
    if (HavePdfToText()) {
        std::string text = PdfText(pdf);
        EXPECT_NE(text.find("Right frame words"), std::string::npos) << text;
        EXPECT_EQ(text.find("Left frame words"), std::string::npos);
    }
}
