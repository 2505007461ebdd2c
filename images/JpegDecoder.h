#pragma once
#include "images/DecodeResult.h"

// Decodes baseline or progressive JPEG data (grey, YCbCr, CMYK) into opaque
// ARGB pixels. A JPEG never has transparency.
TDecodeResult DecodeJpeg(TByteSpan data, size_t maxPixels = MaxImagePixels);
