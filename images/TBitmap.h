#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// A decoded picture: 32-bit pixels 0xAARRGGBB (the layout of QImage's ARGB32,
// not premultiplied) in rows from the top, plus an optional mask with one byte
// per pixel where non-zero marks a transparent pixel. Decoders produce it, the
// canvas draws it; it carries no toolkit types.
struct TBitmap {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    std::vector<uint8_t> mask; // empty when the picture has no transparency
    // Some pixels are partly (or wholly) see-through by their alpha, as in
    // PNG pictures with soft edges; drawing blends them with what is below.
    bool hasAlpha = false;

    TBitmap() = default;
    TBitmap(int w, int h, uint32_t fill = 0xFF000000u)
        : width(w), height(h), pixels(size_t(w > 0 ? w : 0) * size_t(h > 0 ? h : 0), fill) {}

    bool isEmpty() const { return width <= 0 || height <= 0; }
    bool hasMask() const { return !mask.empty(); }
    uint32_t& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    uint32_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    bool transparentAt(int x, int y) const { return hasMask() && mask[size_t(y) * size_t(width) + size_t(x)] != 0; }
    void createMask() { mask.assign(pixels.size(), 0); }

    // What a drawing surface converted the picture into to draw it, kept so
    // that pictures drawn again and again (animations redraw many times a
    // second) are converted once. The surface checks that it still belongs
    // to these pixels; code that changes a picture in place after it was
    // drawn calls changed().
    struct TDrawForm {
        virtual ~TDrawForm() = default;
    };
    mutable std::shared_ptr<const TDrawForm> drawForm;
    void changed() { drawForm.reset(); }
};
