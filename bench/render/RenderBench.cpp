// One run each: our builder + layout at width 800 with the Qt canvas, and
// QTextDocument (setHtml / setPlainText, then layout at the same width), on
// a generated 2 MB text document and a 2 MB table document (about 5000
// rows). Writes the two files to the temporary folder so that
// `quillon-render FILE --timing` and `/usr/bin/time -v` can be run on them.
#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "html/layout/TSectionList.h"
#include "html/reader/HTMLUn2.h"
#include "html/reader/StyleUn.h"
#include "html/viewer/QtCanvas.h"

namespace {

constexpr size_t TargetBytes = 2 * 1024 * 1024;

std::string TextDocument()
{
    std::string out;
    const char* words[] = {"lantern ", "keeper ", "harbour ", "tide ", "lens ", "paraffin ", "gallery ", "stair "};
    int n = 0;
    while (out.size() < TargetBytes) {
        for (int i = 0; i < 12; ++i)
            out += words[(n + i * 3) % 8];
        out += "line " + std::to_string(n++) + "\r\n";
    }
    return out;
}

std::string TableDocument()
{
    std::string out = "<html><body><table border=1 cellpadding=2>\n";
    int row = 0;
    while (out.size() < TargetBytes - 200) {
        out += "<tr><td>" + std::to_string(row) + "</td><td>Gullstone Point harbour record</td><td align=right>" +
               std::to_string(row * 37 % 1000) + ".50</td><td>keeper on duty, lamp lit at dusk, wind from the south west</td>"
               "<td>fair</td><td>" + std::to_string(1890 + row % 100) + "</td></tr>\n";
        ++row;
    }
    return out + "</table></body></html>\n";
}

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

void Compare(const char* name, const std::string& text, bool html, const std::string& file)
{
    std::ofstream(file, std::ios::binary) << text;
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
    const char* tmp = std::getenv("TMPDIR");
    std::string dir = tmp && *tmp ? tmp : "/tmp";
    Compare("text document", TextDocument(), false, dir + "/quillon-bench-text.txt");
    Compare("table document", TableDocument(), true, dir + "/quillon-bench-table.htm");
    return 0;
}
