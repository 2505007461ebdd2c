#include "html/viewer/PrintHeaderFooter.h"

#include <QString>
#include <algorithm>

#include "gfx/TCanvas.h"

namespace {

constexpr int bandX = 50;
constexpr int bandY = 40;
constexpr int fontPoints = 8;

void replaceFirst(std::u16string& text, std::u16string_view placeholder, std::u16string_view value)
{
    QString haystack = QString::fromStdU16String(text);
    qsizetype at
        = haystack.indexOf(QString::fromStdU16String(std::u16string(placeholder)), 0, Qt::CaseInsensitive);
    if (at >= 0)
        text.replace(size_t(at), placeholder.size(), value);
}

int FontUnits(int unitsPerInch) { return (fontPoints * unitsPerInch + 36) / 72; }

} // namespace

std::u16string ExpandPrintTemplate(std::u16string_view text, const TPrintPageFacts& facts)
{
    std::u16string result(text);
    replaceFirst(result, u"#PAGENUM", QString::number(facts.page).toStdU16String());
    replaceFirst(result, u"#TIMESTAMP", facts.timestamp);
    replaceFirst(result, u"#FILENAME", facts.fileName);
    return result;
}

void DrawPrintBand(TCanvas& canvas, TPrintBand band, std::u16string_view text, int unitsPerInch, int bandHeight)
{
    if (text.empty())
        return;
    TFontSpec spec;
    spec.name = "Arial";
    spec.height = -FontUnits(unitsPerInch);
    TFontRef font = canvas.createFont(spec);
    canvas.setFont(font);
    canvas.setTextColor(0x000000);
    canvas.setBackgroundMode(TBackgroundMode::Transparent);
    canvas.setTextAlign(TTextAlign::Top);
    const int height = font->metrics().height;
    const int bottom = band == TPrintBand::Header ? std::min(bandY + height, bandHeight)
                                                  : std::max(height, std::min(bandY, bandHeight));
    canvas.textOut(bandX, std::max(0, bottom - height), text);
}

int PrintBandSpace(int unitsPerInch)
{
    // The font's line is a little more than its size; half again is ample.
    return FontUnits(unitsPerInch) * 3 / 2 + 2;
}
