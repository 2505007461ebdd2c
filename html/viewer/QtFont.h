#pragma once
// A font of the Qt canvas. Text is measured as the sum of whole-pixel
// character advances (as the layout expects) and drawn glyph by glyph at
// exactly those positions, so measuring and drawing always agree. Advances
// and glyph indexes of 16-bit characters are cached in pages of 256 made on
// first use: measuring never allocates once a page is warm.
#include <QFont>
#include <QFontMetricsF>
#include <QRawFont>
#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "gfx/TCanvas.h"

// The Qt font a font description asks for, decorations included (controls use it as is).
QFont QtFontOf(const TFontSpec& spec);

class TQtFont : public TFont {
public:
    explicit TQtFont(const TFontSpec& spec);
    const TFontMetrics& metrics() const override { return FMetrics; }
    int textWidth(std::u16string_view text) const override;
    int fitCount(std::u16string_view text, int maxWidth, std::vector<int>* extents = nullptr) const override;
    int fitCountWithExtra(std::u16string_view text, int maxWidth, std::vector<int>* extents,
                          int characterExtra) const override;

    // The advance of the 16-bit unit at index i (a surrogate pair's width sits
    // on its high half, 0 on the low half).
    int unitWidth(std::u16string_view text, size_t i) const;
    // The glyph of c in the primary face, 0 when only a fallback face has it.
    uint32_t glyphOf(char16_t c) const { return entry(c).glyph; }
    const QFont& qfont() const { return FFont; }
    const QRawFont& rawFont() const { return FRaw; }

private:
    struct TEntry {
        int16_t advance = -1; // -1: not measured yet
        uint32_t glyph = 0;
    };
    using TPage = std::array<TEntry, 256>;
    const TEntry& entry(char16_t c) const;
    int pairWidth(char16_t high, char16_t low) const;

    QFont FFont;
    QFontMetricsF FQtMetrics;
    QRawFont FRaw;
    TFontMetrics FMetrics;
    mutable std::array<std::unique_ptr<TPage>, 256> FPages;
    mutable std::unordered_map<char32_t, int> FPairWidths;
};
