// A long run of text is drawn only where the clip lets it show: what shows
// must be exactly what the whole run would show, at every edge of the clip.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "html/viewer/QtCanvas.h"

namespace {

std::u16string LongLine(size_t length)
{
    std::u16string text;
    const std::u16string words = u"Wavy italic fjord glyphs reach out; ";
    while (text.size() < length)
        text += words;
    text.resize(length);
    return text;
}

// Draws the text through the canvas under a clip, shifted left by `scroll`
// pixels, either as one run or as pieces short enough to be drawn whole.
QImage Drawn(const std::u16string& text, int scroll, bool inPieces, TFontStyles style, int extra)
{
    QImage image(300, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    canvas.setFont(canvas.createFont({"Liberation Serif", 18, style, 1}));
    canvas.setCharacterExtra(extra);
    canvas.setTextAlign(TTextAlign::Baseline);
    canvas.intersectClip({40, 0, 260, 40});
    if (!inPieces) {
        canvas.textOut(-scroll, 28, text, 0);
        return image;
    }
    int x = -scroll;
    for (size_t at = 0; at < text.size(); at += 100) {
        const std::u16string_view piece = std::u16string_view(text).substr(at, 100);
        canvas.textOut(x, 28, piece, 0);
        x += canvas.font()->textWidth(piece) + extra * int(piece.size());
    }
    return image;
}

int InkPixels(const QImage& image)
{
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += image.pixel(x, y) != qRgb(255, 255, 255);
    return ink;
}

} // namespace

TEST(LongTextRun, ShowsWhatTheWholeRunShowsAtEveryScroll)
{
    const std::u16string text = LongLine(20000);
    for (TFontStyles style : {TFontStyles(0), TFontStyles(fsItalic)})
        for (int extra : {0, 3})
            for (int scroll : {0, 7, 1234, 50001, 99999}) {
                const QImage whole = Drawn(text, scroll, false, style, extra);
                EXPECT_GT(InkPixels(whole), 200) << "scroll " << scroll;
                EXPECT_TRUE(whole == Drawn(text, scroll, true, style, extra))
                    << "scroll " << scroll << " style " << style << " extra " << extra;
            }
}
