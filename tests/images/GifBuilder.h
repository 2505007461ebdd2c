#pragma once
// Writes small GIF files block by block, so tests can state exactly which
// blocks a file holds. Image data is LZW-coded with literal codes only.
#include <cstdint>
#include <string>
#include <vector>

enum class TClearPolicy { BeforeTableGrows, Never };

class GifBuilder {
public:
    explicit GifBuilder(const std::string& signature = "GIF89a") { append(signature); }

    // Screen descriptor with a global table of 0x00RRGGBB colours (size a power of 2, or empty).
    GifBuilder& screen(int width, int height, const std::vector<uint32_t>& colors = {})
    {
        word(width);
        word(height);
        bytes.push_back(colors.empty() ? 0 : uint8_t(0x80 | sizeCode(colors.size())));
        bytes.push_back(0);
        bytes.push_back(0);
        table(colors);
        return *this;
    }
    GifBuilder& graphicControl(int disposal, int transparentIndex = -1, int delay = 0)
    {
        append("\x21\xF9\x04");
        bytes.push_back(uint8_t((disposal << 2) | (transparentIndex >= 0 ? 1 : 0)));
        word(delay);
        bytes.push_back(uint8_t(transparentIndex >= 0 ? transparentIndex : 0));
        bytes.push_back(0);
        return *this;
    }
    GifBuilder& netscapeLoop(int count)
    {
        append("\x21\xFF\x0BNETSCAPE2.0\x03\x01");
        word(count);
        bytes.push_back(0);
        return *this;
    }
    GifBuilder& comment(const std::string& text)
    {
        append("\x21\xFE");
        bytes.push_back(uint8_t(text.size()));
        append(text);
        bytes.push_back(0);
        return *this;
    }
    struct Image {
        int left = 0, top = 0, width = 0, height = 0;
        std::vector<uint8_t> indices; // in the order the data stream carries them
        std::vector<uint32_t> localColors;
        bool interlaced = false;
        int minimumCodeSize = 2;
        TClearPolicy clears = TClearPolicy::BeforeTableGrows;
    };
    GifBuilder& image(const Image& image)
    {
        bytes.push_back(0x2C);
        word(image.left);
        word(image.top);
        word(image.width);
        word(image.height);
        uint8_t packed = image.interlaced ? 0x40 : 0;
        if (!image.localColors.empty())
            packed |= uint8_t(0x80 | sizeCode(image.localColors.size()));
        bytes.push_back(packed);
        table(image.localColors);
        bytes.push_back(uint8_t(image.minimumCodeSize));
        subBlocks(encodeLiterals(image.indices, image.minimumCodeSize, image.clears));
        return *this;
    }
    GifBuilder& raw(const std::vector<uint8_t>& data)
    {
        bytes.insert(bytes.end(), data.begin(), data.end());
        return *this;
    }
    GifBuilder& trailer()
    {
        bytes.push_back(0x3B);
        return *this;
    }
    // Data split into sub-blocks of at most 255 bytes, then a 0 terminator.
    GifBuilder& subBlocks(const std::vector<uint8_t>& data)
    {
        for (size_t pos = 0; pos < data.size(); pos += 255) {
            const size_t length = std::min<size_t>(255, data.size() - pos);
            bytes.push_back(uint8_t(length));
            bytes.insert(bytes.end(), data.begin() + long(pos), data.begin() + long(pos + length));
        }
        bytes.push_back(0);
        return *this;
    }

    // Literal codes only. With BeforeTableGrows a clear code comes before the
    // decoder's table would widen the codes; with Never the codes widen as the
    // table fills and stay at 12 bits once it is full.
    static std::vector<uint8_t> encodeLiterals(const std::vector<uint8_t>& indices, int minimumCodeSize,
                                               TClearPolicy clears)
    {
        const int clear = 1 << minimumCodeSize;
        std::vector<uint8_t> out;
        uint32_t buffer = 0;
        int count = 0;
        int width = minimumCodeSize + 1;
        const auto put = [&](int code) {
            buffer |= uint32_t(code) << count;
            count += width;
            while (count >= 8) {
                out.push_back(uint8_t(buffer));
                buffer >>= 8;
                count -= 8;
            }
        };
        int nextFree = clear + 2;
        bool first = true;
        put(clear);
        for (uint8_t index : indices) {
            if (clears == TClearPolicy::BeforeTableGrows && nextFree + 1 >= (1 << width)) {
                put(clear);
                nextFree = clear + 2;
                first = true;
            }
            put(index);
            if (!first && nextFree < 4096) {
                ++nextFree;
                if (nextFree >= (1 << width) && width < 12)
                    ++width;
            }
            first = false;
        }
        put(clear + 1);
        if (count > 0)
            out.push_back(uint8_t(buffer));
        return out;
    }

    std::vector<uint8_t> bytes;

private:
    void append(const std::string& text) { bytes.insert(bytes.end(), text.begin(), text.end()); }
    void word(int value)
    {
        bytes.push_back(uint8_t(value & 0xFF));
        bytes.push_back(uint8_t((value >> 8) & 0xFF));
    }
    static int sizeCode(size_t count)
    {
        int code = 0;
        while ((size_t(2) << code) < count)
            ++code;
        return code;
    }
    void table(const std::vector<uint32_t>& colors)
    {
        if (colors.empty())
            return;
        const size_t entries = size_t(2) << sizeCode(colors.size());
        for (size_t i = 0; i < entries; ++i) {
            const uint32_t c = i < colors.size() ? colors[i] : 0;
            bytes.push_back(uint8_t(c >> 16));
            bytes.push_back(uint8_t(c >> 8));
            bytes.push_back(uint8_t(c));
        }
    }
};
