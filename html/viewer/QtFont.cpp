#include "html/viewer/QtFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "gfx/TextMeasure.h"

namespace {

constexpr int SymbolCharset = 2;

bool IsSymbolFamily(const QFont& font)
{
    return QFontDatabase::writingSystems(QFontInfo(font).family()).contains(QFontDatabase::Symbol);
}

// The face the canvas measures and draws with: the canvas draws underline
// and strike-out itself across the measured width.
QFont PlainQFont(const TFontSpec& spec)
{
    QFont font = QtFontOf(spec);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setKerning(false); // glyphs are placed at our own whole-pixel advances
    return font;
}

} // namespace

QFont QtFontOf(const TFontSpec& spec)
{
    QFont font;
    font.setFamilies({QString::fromStdString(spec.name)});
    int height = std::abs(spec.height);
    font.setPixelSize(height > 0 ? height : 16);
    font.setBold((spec.style & fsBold) != 0);
    font.setItalic((spec.style & fsItalic) != 0);
    font.setUnderline((spec.style & fsUnderline) != 0);
    font.setStrikeOut((spec.style & fsStrikeOut) != 0);
    return font;
}

TQtFont::TQtFont(const TFontSpec& spec)
    : TFont(spec), FFont(PlainQFont(spec)), FQtMetrics(FFont), FRaw(QRawFont::fromFont(FFont))
{
    // Whole pixels as the layout counts them: the cell height is the rounded
    // sum, so ascent + descent = height exactly.
    int em = FFont.pixelSize();
    FMetrics.ascent = int(std::lround(FQtMetrics.ascent()));
    FMetrics.height = std::max(em, int(std::lround(FQtMetrics.ascent() + FQtMetrics.descent())));
    FMetrics.descent = FMetrics.height - FMetrics.ascent;
    FMetrics.internalLeading = FMetrics.height - em;
    FMetrics.externalLeading = int(std::lround(std::max(0.0, FQtMetrics.leading())));
    FMetrics.maxCharWidth = int(std::lround(FQtMetrics.maxWidth()));
    FMetrics.aveCharWidth = int(std::lround(FQtMetrics.averageCharWidth()));
    FMetrics.charset = IsSymbolFamily(FFont) ? SymbolCharset : spec.charset;
}

const TQtFont::TEntry& TQtFont::entry(char16_t c) const
{
    std::unique_ptr<TPage>& page = FPages[c >> 8];
    if (!page)
        page = std::make_unique<TPage>();
    TEntry& e = (*page)[c & 0xFF];
    if (e.advance < 0) {
        QChar qc(c);
        e.advance = int16_t(std::lround(FQtMetrics.horizontalAdvance(qc)));
        quint32 glyph = 0;
        int count = 1;
        if (FRaw.isValid() && FRaw.glyphIndexesForChars(&qc, 1, &glyph, &count) && count == 1)
            e.glyph = glyph;
    }
    return e;
}

int TQtFont::pairWidth(char16_t high, char16_t low) const
{
    char32_t code = 0x10000 + ((char32_t(high) - 0xD800) << 10) + (char32_t(low) - 0xDC00);
    auto found = FPairWidths.find(code);
    if (found != FPairWidths.end())
        return found->second;
    const QChar pair[2] = {QChar(high), QChar(low)};
    int width = int(std::lround(FQtMetrics.horizontalAdvance(QString(pair, 2))));
    FPairWidths.emplace(code, width);
    return width;
}

int TQtFont::unitWidth(std::u16string_view text, size_t i) const
{
    char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
        return pairWidth(c, text[i + 1]);
    if (IsPairTail(text, i))
        return 0;
    return entry(c).advance;
}

int TQtFont::textWidth(std::u16string_view text) const
{
    return SumUnitWidths(text, [this](std::u16string_view t, size_t i) { return unitWidth(t, i); });
}

int TQtFont::fitCount(std::u16string_view text, int maxWidth, std::vector<int>* extents) const
{
    return fitCountWithExtra(text, maxWidth, extents, 0);
}

int TQtFont::fitCountWithExtra(std::u16string_view text, int maxWidth, std::vector<int>* extents,
                               int characterExtra) const
{
    return FitUnits(text, maxWidth, extents, characterExtra,
                    [this](std::u16string_view t, size_t i) { return unitWidth(t, i); });
}
