#include "RenderDocument.h"

#include <chrono>

#include "html/layout/Backgrounds.h"
#include "html/layout/Borders.h"
#include "html/viewer/DocumentFile.h"
#include "html/viewer/QtPictures.h"
#include "html/viewer/SvgRasterizer.h"
#include "html/viewer/ViewerErrors.h"
#include "html/style/StyleValues.h"
#include "util/Exception.h"
#include "util/FileLookup.h"
#include "util/PlainTextFiles.h"
#include "util/Utilities.h"

namespace {

std::string Lower(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The viewer's reading: only regular files, and none larger than the
// viewer shows.
std::string ReadFile(const std::string& path)
{
    try {
        return ReadDocumentFile(path, path);
    } catch (const EInOutError& e) {
        throw EFileError(e.message().starts_with("Can't locate file") ? "Cannot open " + path : e.message());
    }
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

double MsSince(std::chrono::steady_clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

} // namespace

TDocumentKind DocumentKindOf(const std::string& path)
{
    std::string lower = Lower(path);
    size_t dot = lower.find_last_of('.');
    std::string ext = dot == std::string::npos ? std::string() : lower.substr(dot + 1);
    if (ext == "txt")
        return TDocumentKind::Text;
    if (ext == "gif" || ext == "png" || ext == "jpg" || ext == "jpeg" || ext == "bmp")
        return TDocumentKind::Image;
    return TDocumentKind::Html;
}

void LoadAndLayOut(const std::string& name, TCanvas& canvas, int width, TRenderedDocument& out)
{
    // Collections made on case-blind disks name INDEX.HTM for index.htm.
    const std::string path = ResolveFileName(name);
    SetStyleScreen(&canvas);
    auto start = std::chrono::steady_clock::now();
    TDocumentKind kind = DocumentKindOf(path);
    if (kind == TDocumentKind::Image) {
        out.image = LoadImageFile(path, TTransparency::None);
        if (!out.image->ok())
            throw EFileError("Cannot read the image " + path);
    } else {
        std::string text = ReadFile(path);
        if (kind == TDocumentKind::Html && ShowsAsPlainText(path, std::string_view(text).substr(0, 1024)))
            kind = TDocumentKind::Text;
        THtmlParseSettings settings;
        settings.defaults.zoom = out.doc.Zoom;
        settings.defaults.viewportWidth = width; // what @media width queries read
        if (kind == TDocumentKind::Text) {
            HtmlParseTextString(std::move(text), out.doc, out.styles, settings);
        } else {
            THtmlParseEvents events;
            std::string folder = FolderOf(path);
            events.HtmlToFileName = [folder](const std::string& name) {
                return !name.empty() && name[0] == '/' ? name : folder + name;
            };
            // Pictures are files next to the document, found like links.
            out.doc.Objects.Host.viewerExpandName = [folder](const std::string& name) {
                return ResolveFileName(!name.empty() && name[0] == '/' ? name : folder + name);
            };
            out.doc.Objects.Host.drawingRequest = ReadQtPicture;
            out.result = HtmlParseString(std::move(text), out.doc, out.styles, settings, events);
        }
    }
    out.parseMs = MsSince(start);
    LayOutAgain(canvas, width, out);
}

void LayOutAgain(TCanvas& canvas, int width, TRenderedDocument& out)
{
    SetStyleScreen(&canvas);
    auto start = std::chrono::steady_clock::now();
    if (out.image) {
        out.height = out.image->bitmap.height;
        out.maxWidth = out.image->bitmap.width;
    } else {
        out.height = out.doc.LayOut(canvas, 0, width, 0, out.maxWidth);
        out.layoutWidth = width;
    }
    out.layoutMs = MsSince(start);
}

std::u16string DocumentText(TRenderedDocument& out)
{
    if (out.image)
        return {};
    out.doc.SelB = 0;
    out.doc.SelE = 0x7FFFFFFF;
    std::u16string text = out.doc.GetSelText();
    out.doc.SelB = out.doc.SelE = 0;
    return text;
}

void PaintBand(TCanvas& canvas, TRenderedDocument& out, int width, int y, int height)
{
    TRect all{0, 0, width, height};
    if (out.image) {
        canvas.fillRect(all, 0xFFFFFF);
        const TBitmap& b = out.image->bitmap;
        canvas.drawBitmap({0, -y, b.width, b.height - y}, b);
        return;
    }
    // Form controls have no windows here; a copy of the document, as for
    // printing, paints their look instead.
    std::unique_ptr<TSectionList> copy;
    TSectionList* doc = &out.doc;
    if (!out.doc.FormControlList.empty()) {
        copy = TSectionList::CreateCopy(out.doc);
        int maxWidth = 0;
        copy->LayOut(canvas, 0, out.layoutWidth, 0, maxWidth);
        doc = copy.get();
    }
    canvas.fillRect(all, DrawColor(doc->Background));
    TPaintContext pc{canvas, all};
    pc.yOffset = y;
    PaintDocumentBackground(pc, *doc, TRect{0, y, width, y + height});
    doc->PaintDocument(pc, 0);
}
