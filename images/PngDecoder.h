#pragma once
#include <optional>

#include "images/DecodeResult.h"
#include "util/Colors.h"

// What the chunk pre-scan learns before decoding: the colour type from IHDR
// and, for palette images with a tRNS chunk, the colour of the first palette
// entry whose alpha is 0.
struct TPngPreScan {
    int colorType = -1;
    std::optional<TColor> transparentColor; // 0x00BBGGRR
};

TPngPreScan PreScanPng(TByteSpan data);

// Decodes PNG data of any colour type and depth into ARGB pixels; alpha (an
// alpha channel or tRNS) is kept in the pixels, 16-bit samples are scaled to 8.
TDecodeResult DecodePng(TByteSpan data, size_t maxPixels = MaxImagePixels);
