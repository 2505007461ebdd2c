// One run each: our builder + layout at width 800 with the Qt canvas, and
// QTextDocument (setHtml / setPlainText, then layout at the same width), on
// the shared generated documents: 2 MB of plain text, HTML prose and a table
// of about 5000 rows; single paragraphs of 1 MB and 5 MB; a paragraph of
// 100k links; the Node.js API reference with and without its style sheet
// when it is installed (bench/setup.sh); and a table printed to PDF at 4 MB
// and 8 MB. Writes the files to the temporary folder so that
// `quillon-render FILE --timing`, `/usr/bin/time -v` and `bench_viewer
// --memory FILE` can be run on them. Words given on the command line run
// only the rows whose names contain one of them (`bench_render table`).
#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "BenchDocuments.h"
#include "html/build/DocumentBuilder.h"
#include "html/layout/TSectionList.h"
#include "html/style/StyleValues.h"
#include "html/viewer/QtCanvas.h"
#include "html/viewer/ViewerPrint.h"

namespace {

double Ms(std::chrono::steady_clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

enum class TKind : uint8_t { Text, Html };

// Builds the document into doc with linked files looked up in folder (none
// when empty).
void Build(const std::string& text, TKind kind, const std::string& folder, TSectionList& doc, TStyleList& styles)
{
    if (kind == TKind::Text) {
        HtmlParseTextString(text, doc, styles, THtmlParseSettings{});
        return;
    }
    THtmlParseEvents events;
    if (!folder.empty())
        events.HtmlToFileName = [folder](const std::string& name) { return folder + "/" + name; };
    HtmlParseString(text, doc, styles, THtmlParseSettings{}, events);
}

double Ours(const std::string& text, TKind kind, const std::string& folder = {})
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    TQtCanvas canvas(painter);
    SetStyleScreen(&canvas);
    auto start = std::chrono::steady_clock::now();
    TSectionList doc;
    TStyleList styles;
    Build(text, kind, folder, doc, styles);
    int maxWidth = 0;
    doc.LayOut(canvas, 0, 800, 600, maxWidth);
    double ms = Ms(start);
    SetStyleScreen(nullptr);
    return ms;
}

void LoadPeer(QTextDocument& doc, const std::string& text, TKind kind)
{
    doc.setTextWidth(800);
    if (kind == TKind::Html)
        doc.setHtml(QString::fromUtf8(text.data(), qsizetype(text.size())));
    else
        doc.setPlainText(QString::fromUtf8(text.data(), qsizetype(text.size())));
    volatile double h = doc.documentLayout()->documentSize().height();
    (void)h;
}

double Peer(const std::string& text, TKind kind)
{
    auto start = std::chrono::steady_clock::now();
    QTextDocument doc;
    LoadPeer(doc, text, kind);
    return Ms(start);
}

void Report(const char* name, size_t bytes, double ours, double peer, const std::string& file)
{
    std::printf("%-22s %8zu bytes  quillon %9.1f ms  QTextDocument %9.1f ms  ratio %.3f  (%s)\n", name, bytes, ours,
                peer, ours / peer, file.c_str());
    std::fflush(stdout);
}

void Compare(const char* name, const std::string& text, TKind kind, const std::string& fileName)
{
    std::string file = benchdoc::WriteDocument(fileName, text);
    double ours = Ours(text, kind);
    double peer = Peer(text, kind);
    Report(name, text.size(), ours, peer, file);
}

// A real page with a large style sheet: built with its sheets beside it and
// without them (the folder given finds nothing), against QTextDocument,
// which reads no linked sheets.
void CompareRealPage(const char* name, const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::printf("%-22s not installed (%s): run bench/setup.sh\n", name, path.c_str());
        return;
    }
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string text = bytes.str();
    std::string folder = std::filesystem::path(path).parent_path().string();
    double withSheet = Ours(text, TKind::Html, folder);
    double without = Ours(text, TKind::Html, benchdoc::OutputFolder() + "/quillon-bench-no-such-folder");
    double peer = Peer(text, TKind::Html);
    Report(name, text.size(), withSheet, peer, path);
    std::printf("%-22s %8s        without its sheets %9.1f ms  sheet cost x %.2f\n", "", "", without,
                withSheet / without);
    std::fflush(stdout);
}

// Printing a table to PDF: layout excluded, the print job only.
void ComparePrint(const char* name, size_t bytes)
{
    std::string text = benchdoc::TableDocument(bytes);
    std::string pdf = benchdoc::OutputFolder() + "/quillon-bench-table.pdf";
    double ours = 0;
    int pages = 0;
    {
        QImage scratch(1, 1, QImage::Format_RGB32);
        QPainter painter(&scratch);
        TQtCanvas canvas(painter);
        SetStyleScreen(&canvas);
        TSectionList doc;
        TStyleList styles;
        Build(text, TKind::Html, {}, doc, styles);
        int maxWidth = 0;
        doc.LayOut(canvas, 0, 800, 600, maxWidth);
        SetStyleScreen(nullptr);
        auto start = std::chrono::steady_clock::now();
        pages = PrintDocumentToPdf(doc, pdf, TPrintSettings{});
        ours = Ms(start);
    }
    QTextDocument doc;
    LoadPeer(doc, text, TKind::Html);
    auto start = std::chrono::steady_clock::now();
    {
        QPdfWriter writer(QString::fromStdString(benchdoc::OutputFolder() + "/quillon-bench-table-peer.pdf"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        doc.print(&writer);
    }
    double peer = Ms(start);
    Report(name, text.size(), ours, peer, pdf + ", " + std::to_string(pages) + " pages");
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    std::vector<std::string> words(argv + 1, argv + argc);
    auto wanted = [&words](const char* name) {
        return words.empty() || std::any_of(words.begin(), words.end(), [name](const std::string& word) {
                   return std::string_view(name).find(word) != std::string_view::npos;
               });
    };
    if (wanted("text document"))
        Compare("text document", benchdoc::TextDocument(), TKind::Text, "quillon-bench-text.txt");
    if (wanted("prose document"))
        Compare("prose document", benchdoc::ProseDocument(), TKind::Html, "quillon-bench-prose.htm");
    if (wanted("table document"))
        Compare("table document", benchdoc::TableDocument(), TKind::Html, "quillon-bench-table.htm");
    if (wanted("paragraph 1 MB"))
        Compare("paragraph 1 MB", benchdoc::LongParagraphDocument(1 << 20), TKind::Html, "quillon-bench-para1.htm");
    if (wanted("paragraph 5 MB"))
        Compare("paragraph 5 MB", benchdoc::LongParagraphDocument(5 << 20), TKind::Html, "quillon-bench-para5.htm");
    if (wanted("100k links"))
        Compare("100k links", benchdoc::LinkParagraphDocument(100000), TKind::Html, "quillon-bench-links100k.htm");
    if (wanted("200k links"))
        Compare("200k links", benchdoc::LinkParagraphDocument(200000), TKind::Html, "quillon-bench-links200k.htm");
    if (wanted("Node.js all.html"))
        CompareRealPage("Node.js all.html", "/usr/share/doc/nodejs/api/all.html");
    if (wanted("table PDF 4 MB"))
        ComparePrint("table PDF 4 MB", 4 << 20);
    if (wanted("table PDF 8 MB"))
        ComparePrint("table PDF 8 MB", 8 << 20);
    return 0;
}
