#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "images/TBitmap.h"

// Pictures larger than this are refused before anything is allocated: a few
// header bytes must not be able to claim gigabytes. 64 Mi pixels is 256 MiB of
// ARGB, far beyond any picture a document collection shows. For an animated GIF
// the limit applies to the strip of all its frames.
constexpr size_t MaxImagePixels = size_t(64) * 1024 * 1024;

using TByteSpan = std::span<const uint8_t>;

// How a decode ended. Truncated data and corrupt data are told apart so that a
// caller (or a test) can see why a picture is missing.
enum class TDecodeStatus : uint8_t {
    Ok,
    Truncated,   // the data ends before the picture does
    Corrupt,     // the data contradicts its own format
    TooLarge,    // the picture exceeds the pixel limit
    Unsupported, // not a format (or a variant) this decoder reads
};

// A decoder's answer: a bitmap when status is Ok, else a short reason.
struct TDecodeResult {
    TDecodeStatus status = TDecodeStatus::Corrupt;
    TBitmap bitmap;
    std::string reason;

    bool ok() const { return status == TDecodeStatus::Ok; }
    static TDecodeResult failure(TDecodeStatus status, std::string reason)
    {
        TDecodeResult result;
        result.status = status;
        result.reason = std::move(reason);
        return result;
    }
    static TDecodeResult success(TBitmap bitmap)
    {
        TDecodeResult result;
        result.status = TDecodeStatus::Ok;
        result.bitmap = std::move(bitmap);
        return result;
    }
};

// True when a width x height picture may be allocated under the given limit.
inline bool FitsPixelLimit(size_t width, size_t height, size_t maxPixels = MaxImagePixels)
{
    return width > 0 && height > 0 && width <= maxPixels / height;
}
