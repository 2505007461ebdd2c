#pragma once
#include <memory>
#include <string>

#include "images/DecodeResult.h"
#include "images/TGifStrip.h"
#include "util/Colors.h"

// Image formats told apart by their first bytes; the numbers are the codes
// the image cache works with.
// Icons (Ico) are recognised but not decoded here: the viewer's picture
// host reads them, as it draws SVG.
enum class TImageFormat : uint8_t { Unknown = 0, Bmp = 1, Gif87a = 2, Gif89a = 3, Png = 4, Jpeg = 5, Ico = 6 };

TImageFormat DetectImageFormat(TByteSpan data);
inline bool IsGif(TImageFormat format) { return format == TImageFormat::Gif87a || format == TImageFormat::Gif89a; }

// How a picture's mask was made.
enum class TTransparency : uint8_t {
    None = 0,
    LowerLeft = 1,    // the colour of the lower-left pixel
    HostColor = 2,    // a colour given by the host (or a GIF's transparent index)
    PaletteEntry = 3, // the PNG palette entry that tRNS makes fully transparent
};

// Marks every pixel whose RGB equals rgb (0x00RRGGBB, alpha ignored).
void MakeColorMask(TBitmap& bitmap, uint32_t rgb);
// Marks every pixel of the colour of the lower-left pixel.
void MakeLowerLeftMask(TBitmap& bitmap);
// Marks every pixel of a host colour (0x00BBGGRR).
void MakeHostColorMask(TBitmap& bitmap, TColor color);

// A decoded picture: a still bitmap (with its mask when transparent) or, for a
// GIF of more than one frame, the animation strip.
struct TDecodedImage {
    TDecodeStatus status = TDecodeStatus::Corrupt;
    std::string reason;
    TBitmap bitmap;
    TTransparency transparency = TTransparency::None;
    std::shared_ptr<const TGifStrip> animation;

    bool ok() const { return status == TDecodeStatus::Ok; }
    bool animated() const { return animation != nullptr; }
};

// The stream decoder: BMP, PNG or JPEG data of at least 20 bytes. A
// lower-left request masks the corner colour; a PNG palette entry made
// transparent by tRNS gives a palette mask (and those pixels turn black).
// A JPEG never has transparency. Anything else fails.
TDecodedImage DecodeImageStream(TByteSpan data, TTransparency requested, size_t maxPixels = MaxImagePixels);

// GIF data goes to the GIF decoder (one frame gives a still bitmap, masked
// with the host-colour kind when transparent; more frames an animation), all
// other data to the stream decoder.
TDecodedImage DecodeImageData(TByteSpan data, TTransparency requested, size_t maxPixels = MaxImagePixels);

// Loads a file: a ".gif" name (any case) goes to the GIF decoder, anything
// else to the stream decoder. Only regular files are read.
TDecodedImage LoadImageFile(const std::string& path, TTransparency requested, size_t maxPixels = MaxImagePixels);
