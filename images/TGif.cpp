#include "images/TGif.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "images/GifLzw.h"

namespace TGifErrors {

std::string Text(int number)
{
    static const char* const texts[] = {
        "no error",
        "Invalid GIF Signature Code",
        "No Local or Global Color Table for Image",
        "Unknown Graphics Extension Type",
        "Unknown Graphics Operation Code",
        "Invalid Extension Block Size",
        "[special message]",
        "Invalid Extension Block Terminator",
        "Invalid Integer Size",
        "No GIF Terminator Found",
        "Extension Block Out-Of-Order With Image Data",
        "Invalid Image Descriptor Index",
        "Invalid LZW Code Size",
        "Invalid LZW Data Format",
        "LZW Code Overflow",
        "Value Out Of Range",
        "NIL Pointer assigned",
        "Invalid Color Table Size",
        "No Image Description",
        "Invalid Bitmap Image",
        "Invalid Color Table Index",
        "Invalid Interlace Pass",
        "Invalid Bitmap",
        "Too Many Colors In Bitmap",
        "Unexpected end of file",
        "next message",
    };
    if (number < 0 || number >= int(std::size(texts)))
        return {};
    return texts[number];
}

} // namespace TGifErrors

EInvalidGraphicOperation::EInvalidGraphicOperation(int errorNumber)
    : Exception("TGif: " + TGifErrors::Text(errorNumber)), FErrorNumber(errorNumber)
{
}

EInvalidGraphicOperation::EInvalidGraphicOperation(int errorNumber, const std::string& specialText)
    : Exception("TGif: " + specialText), FErrorNumber(errorNumber)
{
}

const TGifExtension* TGifImageDescriptor::graphicControl() const
{
    for (const TGifExtension& extension : extensions)
        if (extension.label == 0xF9)
            return &extension;
    return nullptr;
}

// Reads the file's blocks into a TGif. Only this class fills one.
class TGifLoader {
public:
    TGifLoader(TGif& gif, TByteSpan data, size_t maxPixels)
        : FGif(gif), FData(data), FMaxPixels(maxPixels)
    {
    }

    void load()
    {
        readSignature();
        readScreenDescriptor();
        while (readBlock()) {
        }
        if (FGif.FImages.empty())
            raise(TGifErrors::NoImageDescription);
        // Extensions after the last image belong to no image and are dropped.
        FPending.clear();
    }

private:
    [[noreturn]] static void raise(int number) { throw EInvalidGraphicOperation(number); }

    bool atEnd() const { return FPos >= FData.size(); }
    uint8_t readByte()
    {
        if (atEnd())
            raise(TGifErrors::UnexpectedEndOfFile);
        return FData[FPos++];
    }
    // Integers are 1 or 2 bytes, little-endian.
    int readInteger(int size)
    {
        if (size == 1)
            return readByte();
        if (size != 2)
            raise(TGifErrors::InvalidIntegerSize);
        const int low = readByte();
        return low | (readByte() << 8);
    }
    std::string readString(size_t length)
    {
        if (FData.size() - FPos < length)
            raise(TGifErrors::UnexpectedEndOfFile);
        std::string text(reinterpret_cast<const char*>(FData.data() + FPos), length);
        FPos += length;
        return text;
    }

    void readSignature()
    {
        FGif.FSignature = readString(6);
        std::string upper = FGif.FSignature;
        for (char& c : upper)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        if (upper != "GIF87A" && upper != "GIF89A")
            raise(TGifErrors::InvalidSignature);
    }

    void readScreenDescriptor()
    {
        TGifScreenDescriptor& screen = FGif.FScreen;
        screen.width = readInteger(2);
        screen.height = readInteger(2);
        const int packed = readByte();
        screen.globalColorTable = (packed & 0x80) != 0;
        screen.colorResolution = ((packed >> 4) & 7) + 1;
        screen.sorted = (packed & 0x08) != 0;
        screen.globalColorTableSize = 2 << (packed & 7);
        screen.backgroundIndex = readByte();
        screen.aspect = readByte();
        if (screen.globalColorTable)
            screen.globalColorTableIndex = readColorTable(screen.globalColorTableSize);
    }

    int readColorTable(int count)
    {
        const std::string rgb = readString(size_t(count) * 3);
        TGifColorTable table;
        table.count = count;
        table.colors.reserve(size_t(count));
        for (int i = 0; i < count; ++i) {
            const auto byte = [&](int k) { return static_cast<unsigned char>(rgb[size_t(i) * 3 + size_t(k)]); };
            table.colors.push_back(RGBColor(byte(0), byte(1), byte(2)));
        }
        FGif.FColorTables.push_back(table);
        return int(FGif.FColorTables.size()) - 1;
    }

    // Returns false when loading ends.
    bool readBlock()
    {
        const int code = atEnd() ? 0 : readByte();
        switch (code) {
        case 0:
        case 0x3B:
            return false;
        case 0x2C:
            readImage();
            return true;
        case 0x21:
            return readExtension();
        default:
            raise(TGifErrors::UnknownOperationCode);
        }
    }

    std::vector<std::string> readSubBlocks()
    {
        std::vector<std::string> blocks;
        for (;;) {
            const size_t length = readByte();
            if (length == 0)
                return blocks;
            blocks.push_back(readString(length));
        }
    }

    void readBlockSize(TGifExtension& extension, int expected)
    {
        extension.blockSize = readByte();
        if (extension.blockSize != expected)
            raise(TGifErrors::InvalidExtensionBlockSize);
    }

    bool readExtension()
    {
        TGifExtension extension;
        extension.label = readByte();
        switch (extension.label) {
        case 0xF9:
            readGraphicControl(extension);
            break;
        case 0xFE:
            try {
                extension.subBlocks = readSubBlocks();
            } catch (const EInvalidGraphicOperation&) {
                // A damaged comment after the first image ends the file with
                // the images read so far.
                if (!FGif.FImages.empty())
                    return false;
                throw;
            }
            break;
        case 0x01:
            readPlainText(extension);
            break;
        default:
            if (extension.label != 0xFF) {
                char text[8];
                std::snprintf(text, sizeof text, "%04X", unsigned(extension.label));
                throw EInvalidGraphicOperation(TGifErrors::SpecialMessage, std::string("unknown extension: ") + text);
            }
            readApplication(extension);
            break;
        }
        FPending.push_back(std::move(extension));
        return true;
    }

    void readGraphicControl(TGifExtension& extension)
    {
        readBlockSize(extension, 4);
        const int packed = readByte();
        extension.disposal = (packed >> 2) & 7;
        extension.userInput = (packed & 2) != 0;
        extension.transparent = (packed & 1) != 0;
        extension.delay = readInteger(2);
        extension.transparentIndex = readByte();
        if (readByte() != 0)
            raise(TGifErrors::InvalidExtensionTerminator);
    }

    void readPlainText(TGifExtension& extension)
    {
        readBlockSize(extension, 12);
        extension.gridLeft = readInteger(2);
        extension.gridTop = readInteger(2);
        extension.gridWidth = readInteger(2);
        extension.gridHeight = readInteger(2);
        extension.cellWidth = readByte();
        extension.cellHeight = readByte();
        extension.foreground = readByte();
        extension.background = readByte();
        extension.subBlocks = readSubBlocks();
    }

    void readApplication(TGifExtension& extension)
    {
        readBlockSize(extension, 11);
        extension.identifier = readString(8);
        extension.authentication = readString(3);
        extension.subBlocks = readSubBlocks();
        if (extension.identifier == "NETSCAPE" && !extension.subBlocks.empty()
            && extension.subBlocks.front().size() == 3) {
            const std::string& block = extension.subBlocks.front();
            FGif.FLoopCount = static_cast<unsigned char>(block[1]) | (static_cast<unsigned char>(block[2]) << 8);
        }
    }

    void readImage()
    {
        TGifImageDescriptor image;
        image.index = int(FGif.FImages.size());
        image.extensions = std::move(FPending);
        FPending.clear();
        image.left = readInteger(2);
        image.top = readInteger(2);
        image.width = readInteger(2);
        image.height = readInteger(2);
        const int packed = readByte();
        image.localColorTable = (packed & 0x80) != 0;
        image.interlaced = (packed & 0x40) != 0;
        image.sorted = (packed & 0x20) != 0;
        if (image.localColorTable) {
            image.colorTableSize = 2 << (packed & 7);
            image.colorTableIndex = readColorTable(image.colorTableSize);
        } else if (FGif.FScreen.globalColorTable) {
            image.colorTableSize = FGif.FScreen.globalColorTableSize;
            image.colorTableIndex = FGif.FScreen.globalColorTableIndex;
        } else {
            raise(TGifErrors::NoColorTable);
        }
        image.lzwMinimumCodeSize = readByte();
        readImageData();
        reservePixels(image);
        DecodeGifLzw(FImageData, image.lzwMinimumCodeSize, image.pixels.data(), image.width, image.height,
                     image.interlaced ? TGifRowOrder::Interlaced : TGifRowOrder::Sequential);
        FGif.FImages.push_back(std::move(image));
    }

    // The image's sub-blocks, joined into one LZW data stream.
    void readImageData()
    {
        FImageData.clear();
        for (;;) {
            const size_t length = readByte();
            if (length == 0)
                return;
            if (FData.size() - FPos < length)
                raise(TGifErrors::UnexpectedEndOfFile);
            FImageData.insert(FImageData.end(), FData.begin() + long(FPos), FData.begin() + long(FPos + length));
            FPos += length;
        }
    }

    // Both the strip of all frames and the index buffers stay under the limit.
    void reservePixels(TGifImageDescriptor& image)
    {
        const size_t frames = FGif.FImages.size() + 1;
        const size_t screenPixels = size_t(FGif.FScreen.width) * size_t(FGif.FScreen.height);
        const size_t imagePixels = size_t(image.width) * size_t(image.height);
        FIndexBytes += imagePixels;
        if (screenPixels > FMaxPixels / frames || FIndexBytes > FMaxPixels)
            throw EInvalidGraphicOperation(TGifErrors::SpecialMessage, "image too large");
        image.pixels.assign(imagePixels, 0);
    }

    TGif& FGif;
    TByteSpan FData;
    size_t FMaxPixels;
    size_t FPos = 0;
    size_t FIndexBytes = 0;
    std::vector<TGifExtension> FPending;
    std::vector<uint8_t> FImageData;
};

void TGif::loadFromStream(TByteSpan data, size_t maxPixels)
{
    clear();
    TGifLoader(*this, data, maxPixels).load();
}

void TGif::clear()
{
    FSignature = "------";
    FScreen = TGifScreenDescriptor();
    FImages.clear();
    FColorTables.clear();
    FLoopCount = -1;
}

int TGif::transparentIndex(int i) const
{
    const TGifExtension* control = image(i).graphicControl();
    return control && control->transparent ? control->transparentIndex : -1;
}

int TGif::delay(int i) const
{
    const TGifExtension* control = image(i).graphicControl();
    return control && control->delay > 0 ? control->delay : 1;
}

int TGif::disposal(int i) const
{
    const TGifExtension* control = image(i).graphicControl();
    return control ? control->disposal & 3 : 0;
}

bool TGif::hasTransparency() const
{
    return std::any_of(FImages.begin(), FImages.end(), [](const TGifImageDescriptor& image) {
        const TGifExtension* control = image.graphicControl();
        return control && control->transparent;
    });
}

namespace {

constexpr uint32_t OpaqueBlack = 0xFF000000u;
constexpr uint8_t MaskTransparent = 255;
constexpr uint8_t MaskOpaque = 0;

uint32_t ToArgb(TColor color)
{
    return OpaqueBlack | (uint32_t(RedOf(color)) << 16) | (uint32_t(GreenOf(color)) << 8) | uint32_t(BlueOf(color));
}

// The part of an image that lies on the screen, in screen coordinates.
struct ClipRect {
    int left, top, right, bottom;
    bool empty() const { return right <= left || bottom <= top; }
};

ClipRect ClipToScreen(const TGifImageDescriptor& image, int screenWidth, int screenHeight)
{
    return {std::min(image.left, screenWidth), std::min(image.top, screenHeight),
            std::min(image.left + image.width, screenWidth), std::min(image.top + image.height, screenHeight)};
}

// Draws one image into frame `frame` of the strip.
void DrawImage(const TGif& gif, int frame, TBitmap& strip)
{
    const TGifImageDescriptor& image = gif.image(frame);
    const ClipRect clip = ClipToScreen(image, gif.screenWidth(), gif.screenHeight());
    if (clip.empty())
        return;
    // Indices past the table's end draw black.
    std::array<uint32_t, 256> palette;
    palette.fill(OpaqueBlack);
    const TGifColorTable& table = gif.colorTable(image.colorTableIndex);
    for (size_t i = 0; i < table.colors.size() && i < palette.size(); ++i)
        palette[i] = ToArgb(table.colors[i]);
    const int transparent = gif.transparentIndex(frame);
    const bool firstFrame = frame == 0;
    const bool withMask = strip.hasMask();
    const size_t frameLeft = size_t(frame) * size_t(gif.screenWidth());
    for (int y = clip.top; y < clip.bottom; ++y) {
        const uint8_t* source = image.pixels.data() + size_t(y - image.top) * size_t(image.width)
                                + size_t(clip.left - image.left);
        const size_t rowStart = size_t(y) * size_t(strip.width) + frameLeft;
        uint32_t* pixels = strip.pixels.data() + rowStart;
        uint8_t* mask = withMask ? strip.mask.data() + rowStart : nullptr;
        for (int x = clip.left; x < clip.right; ++x, ++source) {
            if (*source == transparent) {
                if (firstFrame) {
                    pixels[x] = OpaqueBlack;
                    if (mask)
                        mask[x] = MaskTransparent;
                }
                continue;
            }
            pixels[x] = palette[*source];
            if (mask)
                mask[x] = MaskOpaque;
        }
    }
}

// Frame `frame + 1` starts as a copy of frame `frame`; after disposal 2 or 3
// the area the image covered becomes transparent.
void CarryOver(const TGif& gif, int frame, TBitmap& strip)
{
    const size_t width = size_t(gif.screenWidth());
    const size_t from = size_t(frame) * width;
    const size_t to = from + width;
    for (size_t y = 0; y < size_t(strip.height); ++y) {
        const size_t row = y * size_t(strip.width);
        std::memcpy(&strip.pixels[row + to], &strip.pixels[row + from], width * sizeof(uint32_t));
        if (strip.hasMask())
            std::memcpy(&strip.mask[row + to], &strip.mask[row + from], width);
    }
    const int disposal = gif.disposal(frame);
    if (!strip.hasMask() || (disposal != 2 && disposal != 3))
        return;
    const ClipRect clip = ClipToScreen(gif.image(frame), gif.screenWidth(), gif.screenHeight());
    if (clip.empty())
        return;
    for (int y = clip.top; y < clip.bottom; ++y) {
        uint8_t* mask = strip.mask.data() + size_t(y) * size_t(strip.width) + to;
        std::memset(mask + clip.left, MaskTransparent, size_t(clip.right - clip.left));
    }
}

} // namespace

TBitmap TGif::renderStrip() const
{
    const int frames = imageCount();
    if (frames == 0 || FScreen.width == 0 || FScreen.height == 0)
        return {};
    TBitmap strip(FScreen.width * frames, FScreen.height, OpaqueBlack);
    if (hasTransparency())
        strip.mask.assign(strip.pixels.size(), MaskTransparent);
    for (int frame = 0; frame < frames; ++frame) {
        DrawImage(*this, frame, strip);
        if (frame + 1 < frames)
            CarryOver(*this, frame, strip);
    }
    return strip;
}
