#pragma once
// Scalable (SVG) drawings turned into bitmaps, for pictures none of the
// image decoders reads.
#include "images/DecodeResult.h"
#include "images/TBitmap.h"

// Draws SVG data (plain or gzip-compressed) at its own size (its width and
// height, else its view box, else 300 x 150) onto a transparent bitmap. False
// when the data is no drawing Qt can read or the size is out of bounds.
bool RasterizeSvg(TByteSpan data, TBitmap& bitmap);
