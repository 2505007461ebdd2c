// The whole path for arbitrary bytes: HTML (or plain text) -> builder ->
// layout -> paint on the fixed-metrics canvas, plus the text copy and a
// relayout at another width. The first byte chooses the options: bit 0 plain
// text, bits 1-3 the layout width, bit 4 a second band further down, bit 5 a
// printing copy painted with backgrounds. Every picture a page names exists
// (a small bitmap), so backgrounds and images are laid out and painted.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "gfx/TFixedCanvas.h"
#include "html/layout/TSectionList.h"
#include "html/build/DocumentBuilder.h"
#include "html/style/StyleValues.h"

namespace {

// Small inputs keep the target fast (hundreds of runs a second): every
// fault found so far shows in a few kilobytes, and large documents have
// their own tests.
constexpr size_t MaxInput = 8 * 1024;
constexpr std::array<int, 8> Widths = {800, 1, 50, 200, 400, 640, 1024, 3000};

void PaintBand(TFixedCanvas& canvas, TSectionList& doc, int width, int y)
{
    TPaintContext pc{canvas, TRect{0, 0, width, 600}};
    pc.yOffset = y;
    doc.PaintDocument(pc, 0);
    canvas.clearCalls();
}

void PrintFirstPage(TFixedCanvas& canvas, const TSectionList& doc, int width)
{
    auto copy = TSectionList::CreateCopy(doc);
    int maxWidth = 0;
    copy->LayOut(canvas, 0, width, 600, maxWidth);
    TPaintContext pc{canvas, TRect{0, 0, width, 600}};
    pc.printing = true;
    pc.printBackground = true;
    pc.pageBottom = 600;
    copy->PaintDocument(pc, 0);
    canvas.clearCalls();
}

bool AnyPicture(const std::string& name, TBitmap& bitmap, TColor& transparent)
{
    bitmap = TBitmap(3 + int(name.size() % 5), 2, 0xFF808080u);
    transparent = ClNone;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 || size > MaxInput)
        return 0;
    uint8_t flags = data[0];
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    TFixedCanvas canvas;
    SetStyleScreen(&canvas);
    {
        TSectionList doc;
        doc.Objects.Host.bitmapRequest = AnyPicture;
        TStyleList styles;
        THtmlParseSettings settings;
        THtmlParseResult result;
        if (flags & 1)
            HtmlParseTextString(std::move(text), doc, styles, settings);
        else
            result = HtmlParseString(std::move(text), doc, styles, settings);
        int width = Widths[(flags >> 1) & 7];
        int maxWidth = 0;
        int height = doc.LayOut(canvas, 0, width, 600, maxWidth);
        PaintBand(canvas, doc, width, 0);
        if (flags & 16)
            PaintBand(canvas, doc, width, height / 2);
        if (flags & 32)
            PrintFirstPage(canvas, doc, width);
        doc.SelB = 0;
        doc.SelE = 1 << 30;
        (void)doc.GetSelText();
        doc.LayOut(canvas, 0, width / 2 + 1, 600, maxWidth);
        PaintBand(canvas, doc, width / 2 + 1, 0);
    }
    SetStyleScreen(nullptr);
    return 0;
}
