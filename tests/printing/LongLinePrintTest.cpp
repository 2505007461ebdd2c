// A line far wider than the paper prints as it did when every glyph of it
// went to the file: the text in the margins stays, as readers of the file
// extract it, however the line is split into runs.
#include <gtest/gtest.h>

#include <QProcess>

#include "html/viewer/THTMLViewer.h"
#include "html/viewer/ViewerPrint.h"
#include "tests/support/PdfFiles.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

std::string PrintedText(const std::string& html, const std::string& pdf)
{
    THTMLViewer viewer;
    viewer.ShowHtmlText(html);
    EXPECT_EQ(PrintDocumentToPdf(viewer.SectionList(), pdf), 1);
    return PdfText(pdf);
}

} // namespace

TEST(LongLinePrint, ARunOfThousandsOfCharactersPrintsTheTextOfShortRuns)
{
    if (QProcess::execute("pdftotext", {"-v"}) != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    viewertest::Files files;
    std::string line, inPieces;
    for (int i = 0; i < 400; ++i) {
        const std::string word = "w" + std::to_string(i) + " ";
        line += word;
        // Words of alternating colour: runs short enough to be drawn whole,
        // with the widths of the one long run.
        inPieces += std::string(i % 2 ? "<span style='color:#010101'>" : "<span style='color:#000000'>") + word +
                    "</span>";
    }
    const std::string whole = PrintedText("<pre>" + line + "</pre>", files.Path("whole.pdf"));
    const std::string pieces = PrintedText("<pre>" + inPieces + "</pre>", files.Path("pieces.pdf"));
    EXPECT_NE(whole.find("w0 w1 w2"), std::string::npos);
    EXPECT_EQ(whole, pieces);
}
