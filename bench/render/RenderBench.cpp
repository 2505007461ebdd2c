// One run each: our builder + layout at width 800 with the Qt canvas, and
// QTextDocument (setHtml / setPlainText, then layout at the same width), on
// the shared generated 2 MB documents: plain text, HTML prose, and a table of
// about 5000 rows. Writes the files to the temporary folder so that
// `quillon-render FILE --timing`, `/usr/bin/time -v` and `bench_viewer
// --memory FILE` can be run on them.
#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchDocuments.h"
#include "html/layout/TSectionList.h"
#include "html/build/DocumentBuilder.h"
#include "html/style/StyleValues.h"
#include "html/viewer/QtCanvas.h"

namespace {

double Ms(std::chrono::steady_clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

double Ours(const std::string& text, bool html)
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    TQtCanvas canvas(painter);
    SetStyleScreen(&canvas);
    auto start = std::chrono::steady_clock::now();
    TSectionList doc;
    TStyleList styles;
    if (html)
        HtmlParseString(text, doc, styles, THtmlParseSettings{});
    else
        HtmlParseTextString(text, doc, styles, THtmlParseSettings{});
    int maxWidth = 0;
    doc.LayOut(canvas, 0, 800, 600, maxWidth);
    double ms = Ms(start);
    SetStyleScreen(nullptr);
    return ms;
}

double Peer(const std::string& text, bool html)
{
    auto start = std::chrono::steady_clock::now();
    QTextDocument doc;
    doc.setTextWidth(800);
    if (html)
        doc.setHtml(QString::fromUtf8(text.data(), qsizetype(text.size())));
    else
        doc.setPlainText(QString::fromUtf8(text.data(), qsizetype(text.size())));
    volatile double h = doc.documentLayout()->documentSize().height();
    (void)h;
    return Ms(start);
}

void Compare(const char* name, const std::string& text, bool html, const std::string& fileName)
{
    std::string file = benchdoc::WriteDocument(fileName, text);
    double ours = Ours(text, html);
    double peer = Peer(text, html);
    std::printf("%-15s %8zu bytes  quillon %9.1f ms  QTextDocument %9.1f ms  ratio %.3f  (%s)\n", name, text.size(), ours,
                peer, ours / peer, file.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    Compare("text document", benchdoc::TextDocument(), false, "quillon-bench-text.txt");
    Compare("prose document", benchdoc::ProseDocument(), true, "quillon-bench-prose.htm");
    Compare("table document", benchdoc::TableDocument(), true, "quillon-bench-table.htm");
    return 0;
}
