#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "images/DecodeResult.h"
#include "util/Colors.h"
#include "util/Exception.h"

// The GIF decoder's error table: the number is kept with the message.
namespace TGifErrors {
enum Number : int {
    NoError = 0,
    InvalidSignature = 1,
    NoColorTable = 2,
    UnknownExtensionType = 3,
    UnknownOperationCode = 4,
    InvalidExtensionBlockSize = 5,
    SpecialMessage = 6,
    InvalidExtensionTerminator = 7,
    InvalidIntegerSize = 8,
    NoTerminator = 9,
    ExtensionOutOfOrder = 10,
    InvalidImageDescriptorIndex = 11,
    InvalidLzwCodeSize = 12,
    InvalidLzwData = 13,
    LzwCodeOverflow = 14,
    ValueOutOfRange = 15,
    NilPointer = 16,
    InvalidColorTableSize = 17,
    NoImageDescription = 18,
    InvalidBitmapImage = 19,
    InvalidColorTableIndex = 20,
    InvalidInterlacePass = 21,
    InvalidBitmap = 22,
    TooManyColors = 23,
    UnexpectedEndOfFile = 24,
    NextMessage = 25,
};
// The table text of an error number ("" outside the table).
std::string Text(int number);
} // namespace TGifErrors

// Raised by the GIF decoder as "TGif: %s" with the table entry, or with the
// text given at the raise for the special-message entry.
class EInvalidGraphicOperation : public Exception {
public:
    explicit EInvalidGraphicOperation(int errorNumber);
    EInvalidGraphicOperation(int errorNumber, const std::string& specialText);
    int errorNumber() const { return FErrorNumber; }
    // True when the data ended early rather than being malformed.
    bool truncated() const { return FErrorNumber == TGifErrors::UnexpectedEndOfFile; }

private:
    int FErrorNumber;
};

// One extension block, kept with the image that follows it.
struct TGifExtension {
    uint8_t label = 0; // 0xF9 graphic control, 0xFE comment, 0x01 plain text, 0xFF application
    int blockSize = 0;
    // graphic control
    int disposal = 0; // bits 2..4 of the packed byte
    bool userInput = false;
    bool transparent = false;
    int delay = 0; // hundredths of a second
    int transparentIndex = 0;
    // plain text
    int gridLeft = 0, gridTop = 0, gridWidth = 0, gridHeight = 0;
    int cellWidth = 0, cellHeight = 0, foreground = 0, background = 0;
    // application
    std::string identifier;     // 8 bytes
    std::string authentication; // 3 bytes
    // comment, plain text and application data
    std::vector<std::string> subBlocks;
};

struct TGifColorTable {
    int count = 0;
    std::vector<TColor> colors; // count entries, 0x00BBGGRR
};

struct TGifImageDescriptor {
    int index = 0;
    int left = 0, top = 0, width = 0, height = 0;
    bool localColorTable = false;
    bool interlaced = false;
    bool sorted = false;
    int colorTableSize = 0;
    int colorTableIndex = -1;
    int lzwMinimumCodeSize = 0;
    std::vector<TGifExtension> extensions;
    std::vector<uint8_t> pixels; // width x height colour indices

    // The first graphic control extension before the image, if any.
    const TGifExtension* graphicControl() const;
};

struct TGifScreenDescriptor {
    int width = 0;
    int height = 0;
    bool globalColorTable = false;
    int colorResolution = 0; // 1..8
    bool sorted = false;
    int globalColorTableSize = 0;
    int backgroundIndex = 0;
    int aspect = 0;
    int globalColorTableIndex = -1;
};

// Reads a GIF87a or GIF89a file held in memory and renders all its images
// into one strip bitmap (frame k in columns k x width to (k + 1) x width - 1)
// with a mask strip when any frame is transparent.
class TGif {
public:
    // Replaces everything held with the GIF in data. Raises
    // EInvalidGraphicOperation; a picture whose strip would exceed maxPixels is
    // refused with the special message "image too large".
    void loadFromStream(TByteSpan data, size_t maxPixels = MaxImagePixels);
    void clear();

    const std::string& signature() const { return FSignature; }
    const TGifScreenDescriptor& screen() const { return FScreen; }
    int screenWidth() const { return FScreen.width; }
    int screenHeight() const { return FScreen.height; }
    int imageCount() const { return int(FImages.size()); }
    const TGifImageDescriptor& image(int i) const { return FImages.at(size_t(i)); }
    const TGifColorTable& colorTable(int i) const { return FColorTables.at(size_t(i)); }
    int loopCount() const { return FLoopCount; }

    // Per-frame queries, i 0-based.
    int imageLeft(int i) const { return image(i).left; }
    int imageTop(int i) const { return image(i).top; }
    int imageWidth(int i) const { return image(i).width; }
    int imageHeight(int i) const { return image(i).height; }
    int transparentIndex(int i) const;
    int delay(int i) const;
    int disposal(int i) const;
    bool hasTransparency() const;

    // The composed frames side by side; the mask (255 transparent, 0 opaque)
    // is present only when the GIF has transparency.
    TBitmap renderStrip() const;

private:
    friend class TGifLoader;
    std::string FSignature = "------";
    TGifScreenDescriptor FScreen;
    std::vector<TGifImageDescriptor> FImages;
    std::vector<TGifColorTable> FColorTables;
    int FLoopCount = -1;
};
