#pragma once
// Pictures the engine's decoders leave to Qt: scalable drawings (SVG, files
// and inline drawings alike) and icons (ICO), read into bitmaps.
#include "images/DecodeResult.h"
#include "images/TBitmap.h"

class QImage;

// The picture host's drawing request: SVG data drawn at its own size, else
// an icon's largest picture. False when Qt reads neither.
bool ReadQtPicture(TByteSpan data, TBitmap& bitmap);

// An icon (ICO) file's largest picture; false for anything else.
bool ReadIconPicture(TByteSpan data, TBitmap& bitmap);

// A Qt image as one of our bitmaps (with alpha when some pixel is not opaque).
TBitmap BitmapFromImage(const QImage& image);
