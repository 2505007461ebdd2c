#pragma once
// Loading and laying out one document the way the viewer does, on any canvas.
#include <memory>
#include <optional>
#include <string>

#include "html/layout/TSectionList.h"
#include "html/build/DocumentBuilder.h"
#include "images/ImageDecoder.h"

enum class TDocumentKind { Html, Text, Image };
// By the file name's extension, as the viewer tells its document kinds apart.
TDocumentKind DocumentKindOf(const std::string& path);

struct TRenderedDocument {
    TSectionList doc;
    TStyleList styles;
    THtmlParseResult result;
    std::optional<TDecodedImage> image; // image documents
    int height = 0;
    int maxWidth = 0;
    int layoutWidth = 0;
    double parseMs = 0;
    double layoutMs = 0;
};

// Reads the file, builds and lays it out at width on canvas (the style
// module's screen while it runs). Throws EFileError when the file cannot be read.
void LoadAndLayOut(const std::string& path, TCanvas& canvas, int width, TRenderedDocument& out);
// Lays the document out again (for another width or canvas).
void LayOutAgain(TCanvas& canvas, int width, TRenderedDocument& out);
// The text that select-all and copy give.
std::u16string DocumentText(TRenderedDocument& out);
// Paints the band [y, y + height) with its top at canvas row 0.
void PaintBand(TCanvas& canvas, TRenderedDocument& out, int width, int y, int height);
