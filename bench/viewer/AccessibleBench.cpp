// What a screen reader's questions cost on large documents: a page of
// 100,000 links and an 8 MB prose page, asked through the viewer's
// accessible interface (the first question builds the map; the others use
// it), against Qt's own accessible plain-text editor holding the same prose.
// Prints the worst time of each kind of question and the ratio.
#include <QAccessible>
#include <QApplication>
#include <QPlainTextEdit>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "BenchDocuments.h"
#include "bench/support/ProcessStatus.h"
#include "html/viewer/THTMLViewer.h"

namespace {

using benchdoc::ResidentKilobytes;

constexpr size_t ProseBytes = 8 * 1024 * 1024;
constexpr int Links = 100000;

double Milliseconds(const std::function<void()>& work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The questions a reader asks while moving through a document; answers the
// slowest one's time.
double AskAround(QAccessibleInterface& document, const char* label)
{
    QAccessibleTextInterface* text = document.textInterface();
    double worst = 0;
    auto ask = [&worst, label](const char* what, const std::function<void()>& work) {
        double ms = Milliseconds(work);
        worst = std::max(worst, ms);
        std::printf("  %-10s %-34s %8.2f ms\n", label, what, ms);
    };
    int count = 0, children = 0;
    ask("character count (first question)", [&] { count = text->characterCount(); });
    ask("child count", [&] { children = document.childCount(); });
    int middle = count / 2, start = 0, end = 0;
    QString line;
    ask("line at the middle", [&] { line = text->textAtOffset(middle, QAccessible::LineBoundary, &start, &end); });
    ask("word after the middle", [&] { text->textAfterOffset(middle, QAccessible::WordBoundary, &start, &end); });
    ask("1000 characters at the middle", [&] { text->text(middle, middle + 1000); });
    ask("character box at the middle", [&] { text->characterRect(middle); });
    ask("caret position", [&] { text->cursorPosition(); });
    if (children > 0) {
        ask("middle child's name", [&] { document.child(children / 2)->text(QAccessible::Name); });
        ask("last child's index", [&] { document.indexOfChild(document.child(children - 1)); });
    }
    std::printf("  %-10s %d characters, %d children\n", label, count, children);
    return worst;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::string links = benchdoc::WriteDocument("quillon-bench-links.htm", benchdoc::LinkParagraphDocument(Links));
    std::string proseHtml = benchdoc::ProseDocument(ProseBytes);
    std::string prose = benchdoc::WriteDocument("quillon-bench-prose.htm", proseHtml);

    THTMLViewer viewer;
    viewer.resize(1024, 768);
    viewer.show();
    long before = ResidentKilobytes();
    viewer.ShowFile(links);
    app.processEvents();
    long shown = ResidentKilobytes();
    double linksWorst = AskAround(*QAccessible::queryAccessibleInterface(&viewer), "links");
    long asked = ResidentKilobytes();
    std::printf("100,000 links: shown %.1f MB, +%.1f MB once a reader asked\n", (shown - before) / 1024.0,
                (asked - shown) / 1024.0);

    viewer.ShowFile(prose);
    app.processEvents();
    double proseWorst = AskAround(*QAccessible::queryAccessibleInterface(&viewer), "prose");

    QPlainTextEdit edit;
    edit.setPlainText(QString::fromStdString(proseHtml));
    edit.resize(1024, 768);
    edit.show();
    app.processEvents();
    double qtWorst = AskAround(*QAccessible::queryAccessibleInterface(&edit), "Qt edit");
    std::printf("slowest question: links %.2f ms, 8 MB prose %.2f ms, QPlainTextEdit on the same prose %.2f ms, "
                "ratio %.2f x\n",
                linksWorst, proseWorst, qtWorst, qtWorst > 0 ? proseWorst / qtWorst : 0.0);
    return 0;
}
