#include "images/ImageDecoder.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "images/BmpDecoder.h"
#include "images/JpegDecoder.h"
#include "images/PngDecoder.h"
#include "images/TGif.h"
#include "util/Utilities.h"

namespace {

constexpr size_t MinimumStreamSize = 20;
constexpr uint32_t RgbBits = 0x00FFFFFFu;
constexpr uint8_t Transparent = 255;

uint32_t HostColorToRgb(TColor color)
{
    return (uint32_t(RedOf(color)) << 16) | (uint32_t(GreenOf(color)) << 8) | uint32_t(BlueOf(color));
}

TDecodedImage Failure(TDecodeStatus status, std::string reason)
{
    TDecodedImage image;
    image.status = status;
    image.reason = std::move(reason);
    return image;
}

TDecodedImage Still(TBitmap bitmap, TTransparency transparency)
{
    TDecodedImage image;
    image.status = TDecodeStatus::Ok;
    image.bitmap = std::move(bitmap);
    image.transparency = transparency;
    return image;
}

// Masked pixels are blacked out, as the palette-mask kind promises.
void BlackenMasked(TBitmap& bitmap)
{
    for (size_t i = 0; i < bitmap.pixels.size(); ++i)
        if (bitmap.mask[i] != 0)
            bitmap.pixels[i] = 0;
}

TDecodedImage DecodePngStream(TByteSpan data, TTransparency requested, size_t maxPixels)
{
    const TPngPreScan scan = PreScanPng(data);
    TDecodeResult decoded = DecodePng(data, maxPixels);
    if (!decoded.ok())
        return Failure(decoded.status, decoded.reason);
    if (scan.transparentColor) {
        MakeHostColorMask(decoded.bitmap, *scan.transparentColor);
        BlackenMasked(decoded.bitmap);
        return Still(std::move(decoded.bitmap), TTransparency::PaletteEntry);
    }
    if (requested == TTransparency::LowerLeft) {
        MakeLowerLeftMask(decoded.bitmap);
        return Still(std::move(decoded.bitmap), TTransparency::LowerLeft);
    }
    return Still(std::move(decoded.bitmap), TTransparency::None);
}

TDecodedImage DecodeGifData(TByteSpan data, TTransparency requested, size_t maxPixels)
{
    TGif gif;
    try {
        gif.loadFromStream(data, maxPixels);
    } catch (const EInvalidGraphicOperation& error) {
        return Failure(error.truncated() ? TDecodeStatus::Truncated : TDecodeStatus::Corrupt, error.what());
    }
    auto strip = std::make_shared<TGifStrip>(TGifStrip::fromGif(gif));
    if (strip->strip.isEmpty())
        return Failure(TDecodeStatus::Corrupt, "empty GIF screen");
    if (strip->frameCount > 1) {
        TDecodedImage image = Still({}, strip->hasMask() ? TTransparency::HostColor : TTransparency::None);
        image.animation = std::move(strip);
        return image;
    }
    TBitmap bitmap = std::move(strip->strip);
    if (bitmap.hasMask())
        return Still(std::move(bitmap), TTransparency::HostColor);
    if (requested == TTransparency::LowerLeft) {
        MakeLowerLeftMask(bitmap);
        return Still(std::move(bitmap), TTransparency::LowerLeft);
    }
    return Still(std::move(bitmap), TTransparency::None);
}

bool HasGifExtension(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string extension = path.substr(path.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return extension == ".gif";
}

} // namespace

TImageFormat DetectImageFormat(TByteSpan data)
{
    const auto startsWith = [&](const char* text) {
        const size_t length = std::strlen(text);
        return data.size() >= length && std::memcmp(data.data(), text, length) == 0;
    };
    if (startsWith("GIF8"))
        return data.size() >= 5 && data[4] == '9' ? TImageFormat::Gif89a : TImageFormat::Gif87a;
    if (startsWith("BM"))
        return TImageFormat::Bmp;
    if (startsWith("\x89PNG"))
        return TImageFormat::Png;
    if (startsWith("\xFF\xD8"))
        return TImageFormat::Jpeg;
    // An icon directory: reserved 0, type 1, and at least one picture.
    if (data.size() >= 6 && std::memcmp(data.data(), "\0\0\1\0", 4) == 0 && (data[4] | data[5]) != 0)
        return TImageFormat::Ico;
    return TImageFormat::Unknown;
}

void MakeColorMask(TBitmap& bitmap, uint32_t rgb)
{
    bitmap.createMask();
    rgb &= RgbBits;
    for (size_t i = 0; i < bitmap.pixels.size(); ++i)
        if ((bitmap.pixels[i] & RgbBits) == rgb)
            bitmap.mask[i] = Transparent;
}

void MakeLowerLeftMask(TBitmap& bitmap)
{
    if (bitmap.isEmpty())
        return;
    MakeColorMask(bitmap, bitmap.at(0, bitmap.height - 1));
}

void MakeHostColorMask(TBitmap& bitmap, TColor color) { MakeColorMask(bitmap, HostColorToRgb(color)); }

TDecodedImage DecodeImageStream(TByteSpan data, TTransparency requested, size_t maxPixels)
{
    if (data.size() < MinimumStreamSize)
        return Failure(TDecodeStatus::Truncated, "too short for an image");
    switch (DetectImageFormat(data)) {
    case TImageFormat::Png:
        return DecodePngStream(data, requested, maxPixels);
    case TImageFormat::Jpeg: {
        TDecodeResult decoded = DecodeJpeg(data, maxPixels);
        if (!decoded.ok())
            return Failure(decoded.status, decoded.reason);
        return Still(std::move(decoded.bitmap), TTransparency::None);
    }
    case TImageFormat::Bmp: {
        TDecodeResult decoded = DecodeBmp(data, maxPixels);
        if (!decoded.ok())
            return Failure(decoded.status, decoded.reason);
        if (requested != TTransparency::LowerLeft)
            return Still(std::move(decoded.bitmap), TTransparency::None);
        MakeLowerLeftMask(decoded.bitmap);
        return Still(std::move(decoded.bitmap), TTransparency::LowerLeft);
    }
    default:
        return Failure(TDecodeStatus::Unsupported, "not BMP, PNG or JPEG data");
    }
}

TDecodedImage DecodeImageData(TByteSpan data, TTransparency requested, size_t maxPixels)
{
    if (IsGif(DetectImageFormat(data)))
        return DecodeGifData(data, requested, maxPixels);
    return DecodeImageStream(data, requested, maxPixels);
}

TDecodedImage LoadImageFile(const std::string& path, TTransparency requested, size_t maxPixels)
{
    // Read only as a regular file: a FIFO named as a picture would block.
    std::optional<std::string> text = ReadFileBytes(path);
    if (!text)
        return Failure(TDecodeStatus::Unsupported, "not a readable regular file");
    std::vector<uint8_t> bytes(text->begin(), text->end());
    text.reset();
    if (HasGifExtension(path))
        return DecodeGifData(bytes, requested, maxPixels);
    return DecodeImageStream(bytes, requested, maxPixels);
}
