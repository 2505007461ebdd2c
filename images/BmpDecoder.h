#pragma once
#include "images/DecodeResult.h"

// Decodes a BMP file: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed,
// RLE4, RLE8 or with bit-field masks, rows bottom-up or top-down, with the
// Windows or OS/2 headers. Alpha is kept only when a header names an alpha mask.
TDecodeResult DecodeBmp(TByteSpan data, size_t maxPixels = MaxImagePixels);
