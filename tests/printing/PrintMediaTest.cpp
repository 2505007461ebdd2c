// Printing reads the document's sheets for the printed page: @media print
// rules apply and @media screen rules do not, and width queries see the
// page's printable width, not the window's.
#include <gtest/gtest.h>

#include <QPrinter>
#include <QProcess>

#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"
#include "tests/support/PdfFiles.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

std::string ShownText(THTMLViewer& viewer)
{
    TSectionList& doc = viewer.SectionList();
    doc.SelB = 0;
    doc.SelE = 1 << 30;
    return QString::fromStdU16String(doc.GetSelText()).toStdString();
}

struct PrintMediaTest : ::testing::Test {
    viewertest::Files files;
    THTMLViewer viewer;
    QPrinter printer{QPrinter::HighResolution};
    std::string pdf;
    PrintMediaTest()
    {
        viewer.resize(1500, 400); // wider than a printed A4 page
        pdf = files.Path("out.pdf");
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setFullPage(true);
    }
};

} // namespace

TEST_F(PrintMediaTest, PrintedPagesFollowThePrintRules)
{
    viewer.ShowFile(files.Write("media.htm",
                                "<html><head><style>"
                                "@media print { .noprint { display: none } }"
                                " @media screen { .paperonly { display: none } }"
                                " @media (min-width: 1000px) { .narrowonly { display: none } }"
                                "</style></head><body><p>Always here</p><p class=noprint>Screen words</p>"
                                "<p class=paperonly>Paper words</p><p class=narrowonly>Narrow words</p>"
                                "</body></html>"));
    const std::string shown = ShownText(viewer);
    EXPECT_NE(shown.find("Always here"), std::string::npos);
    EXPECT_NE(shown.find("Screen words"), std::string::npos);
    EXPECT_EQ(shown.find("Paper words"), std::string::npos);
    EXPECT_EQ(shown.find("Narrow words"), std::string::npos);

    viewer.Print(1, 9999, printer);
    ASSERT_EQ(viewer.PrintedPages(), 1);
    const std::string printed = PdfText(pdf);
    EXPECT_NE(printed.find("Always here"), std::string::npos);
    EXPECT_EQ(printed.find("Screen words"), std::string::npos);
    EXPECT_NE(printed.find("Paper words"), std::string::npos);
    EXPECT_NE(printed.find("Narrow words"), std::string::npos);
    // The shown document is left as it was.
    EXPECT_EQ(ShownText(viewer), shown);
}

TEST_F(PrintMediaTest, PagesWithoutMediaRulesPrintTheShownDocument)
{
    viewer.ShowFile(files.Write("plain.htm", "<html><head><style>p { color: red }</style></head>"
                                             "<body><p>Plain words</p></body></html>"));
    EXPECT_EQ(viewer.PrintMediaDocument(600), nullptr);
    viewer.Print(1, 9999, printer);
    EXPECT_NE(PdfText(pdf).find("Plain words"), std::string::npos);
}
