// quillon-render: loads a document headless, lays it out and writes a PNG,
// a PDF, its text, its box tree or its timings.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "RenderDocument.h"
#include "RenderFrameSet.h"
#include "RenderOptions.h"
#include "gfx/TFixedCanvas.h"
#include "html/style/StyleValues.h"
#include "html/viewer/QtCanvas.h"
#include "html/viewer/ViewerErrors.h"
#include "html/viewer/ViewerPrint.h"
#include "util/CodePage.h"
#include "util/Exception.h"

namespace {

// A PNG taller or wider than this is cut (a 2 MB document can be very
// tall, a table very wide); a wide picture is cut shorter, so that no
// picture holds more than MaxPngPixels (4 bytes each).
constexpr int MaxPngHeight = 30000;
constexpr int MaxPngWidth = 10000;
constexpr long long MaxPngPixels = 100'000'000;

void Report(const TRenderOptions& o, TRenderedDocument& d)
{
    if (o.dump) {
        if (d.image)
            std::cout << "image x=0 y=0 w=" << d.image->bitmap.width << " h=" << d.image->bitmap.height << "\n";
        else
            std::cout << d.doc.Dump();
    }
    if (o.text)
        std::cout << CodePage::FromUtf16(CodePage::Utf8, DocumentText(d));
    if (o.timing)
        std::printf("parse_ms=%.2f layout_ms=%.2f height=%d\n", d.parseMs, d.layoutMs, d.height);
    if (!o.dump && !o.text && !o.timing && o.png.empty() && o.pdf.empty())
        std::cout << "height=" << d.height << "\n";
}

int WritePng(const TRenderOptions& o, TRenderedDocument& d)
{
    int top = o.band ? o.bandY : 0;
    int height = o.band ? o.bandHeight : std::max(1, d.height);
    int width = std::max(o.width, d.maxWidth);
    if (width > MaxPngWidth) {
        std::cerr << "quillon-render: the picture is cut at " << MaxPngWidth << " pixels wide\n";
        width = MaxPngWidth;
    }
    int maxHeight = int(std::min<long long>(MaxPngHeight, MaxPngPixels / width));
    if (height > maxHeight) {
        std::cerr << "quillon-render: the picture is cut at " << maxHeight << " pixels; use --band\n";
        height = maxHeight;
    }
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        PaintBand(canvas, d, width, top, height);
    }
    if (!image.save(QString::fromStdString(o.png), "PNG")) {
        std::cerr << "quillon-render: cannot write " << o.png << "\n";
        return 1;
    }
    return 0;
}

int WritePdf(const TRenderOptions& o, TRenderedDocument& d)
{
    if (d.image) {
        std::cerr << "quillon-render: --pdf prints HTML and text documents, not image files\n";
        return 1;
    }
    TPrintSettings settings;
    settings.title = d.result.title.empty() ? o.file : d.result.title;
    int pages = 0;
    try {
        pages = PrintDocumentToPdf(d.doc, o.pdf, settings);
    } catch (const EPrinter& e) {
        // The file's own messages name it; the printer's do not.
        std::string message = e.message();
        if (message.find(o.pdf) == std::string::npos)
            message = "cannot print to " + o.pdf + ": " + message;
        else
            message[0] = char(std::tolower(static_cast<unsigned char>(message[0])));
        std::cerr << "quillon-render: " << message << "\n";
        return 1;
    }
    std::cerr << "quillon-render: " << pages << (pages == 1 ? " page" : " pages") << " printed to " << o.pdf << "\n";
    return 0;
}

// A frame set is shown in a window of the render width and this height.
constexpr int FrameSetHeight = 600;

void ReportFrames(const TRenderOptions& o, TRenderedFrameSet& set)
{
    for (TRenderedFrame& frame : set.frames) {
        if (o.dump)
            std::cout << "frame name=" << frame.name << " src=" << frame.source << " x=" << frame.rect.left
                      << " y=" << frame.rect.top << " w=" << frame.rect.width() << " h=" << frame.rect.height() << "\n";
        if (frame.doc && (o.dump || o.text)) {
            TRenderOptions inner = o;
            inner.timing = false;
            Report(inner, *frame.doc);
            if (o.text)
                std::cout << "\n";
        }
    }
    if (!o.dump && !o.text && o.png.empty())
        std::cout << "frames=" << set.frames.size() << "\n";
}

// The viewer prints one frame of a set (the active one); here there is no
// active frame, so the answer names the frames' documents to print instead.
int RefuseFramesPdf(const TRenderOptions& o, const TRenderedFrameSet& set)
{
    std::string sources;
    for (const TRenderedFrame& frame : set.frames)
        if (!frame.source.empty())
            sources += (sources.empty() ? "" : ", ") + frame.source;
    std::cerr << "quillon-render: " << o.file << " is a frame set; --pdf prints one document: give one of its frames ("
              << (sources.empty() ? "none has a document" : sources) << ")\n";
    return 1;
}

int WriteFramesPng(const TRenderOptions& o, TRenderedFrameSet& set)
{
    QImage image(std::min(o.width, MaxPngWidth), FrameSetHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        for (TRenderedFrame& frame : set.frames) {
            if (!frame.doc || frame.rect.isEmpty())
                continue;
            painter.save();
            painter.setClipRect(frame.rect.left, frame.rect.top, frame.rect.width(), frame.rect.height());
            painter.translate(frame.rect.left, frame.rect.top);
            TQtCanvas canvas(painter);
            PaintBand(canvas, *frame.doc, frame.rect.width(), 0, frame.rect.height());
            painter.restore();
        }
        for (const TRect& gap : set.borders)
            painter.fillRect(gap.left, gap.top, gap.width(), gap.height(), QColor(0xC0, 0xC0, 0xC0));
    }
    if (!image.save(QString::fromStdString(o.png), "PNG")) {
        std::cerr << "quillon-render: cannot write " << o.png << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::cout << "quillon-render " << QUILLON_VERSION << "\n";
        return 0;
    }
    std::string error;
    auto options = ParseRenderOptions(argc, argv, error);
    if (!options) {
        std::cerr << "quillon-render: " << error << "\n" << RenderHelpText();
        return 2;
    }
    if (options->help) {
        std::cout << RenderHelpText();
        return 0;
    }
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    TRenderedDocument document;
    document.doc.Zoom = options->zoom;
    int rc = 0;
    try {
        if (options->fixedMetrics) {
            TFixedCanvas canvas;
            LoadAndLayOut(options->file, canvas, options->width, document);
            Report(*options, document);
        } else {
            QImage scratch(1, 1, QImage::Format_RGB32);
            QPainter painter(&scratch);
            TQtCanvas canvas(painter);
            TRenderedFrameSet frames;
            const int frameWidth = std::min(options->width, MaxPngWidth);
            if (LoadFrameSet(options->file, canvas, frameWidth, FrameSetHeight, options->zoom, frames)) {
                ReportFrames(*options, frames);
                if (!options->png.empty())
                    rc = WriteFramesPng(*options, frames);
                if (!options->pdf.empty())
                    rc = RefuseFramesPdf(*options, frames);
                SetStyleScreen(nullptr);
                return rc;
            }
            LoadAndLayOut(options->file, canvas, options->width, document);
            Report(*options, document);
            if (!options->png.empty())
                rc = WritePng(*options, document);
            if (!options->pdf.empty() && rc == 0)
                rc = WritePdf(*options, document);
        }
    } catch (const Exception& e) {
        std::cerr << "quillon-render: " << e.message() << "\n";
        rc = 1;
    }
    SetStyleScreen(nullptr);
    return rc;
}
