// "Always use my colours": the document's colours and backgrounds give way
// to the reader's text, link and background colours.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <set>

#include "html/viewer/THTMLViewer.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

constexpr TColor Ink = 0x000000;       // black (0x00BBGGRR)
constexpr TColor Paper = 0xFFFFFF;     // white
constexpr TColor LinkInk = 0x008000;   // green

const char* const Colourful = "<body bgcolor=\"#000080\" text=yellow link=red>"
                              "<p style=\"background:#FF00FF;color:#00FFFF\">Loud words on a loud ground</p>"
                              "<table><tr><td bgcolor=\"#FF8000\">cell</td></tr></table>"
                              "<p><a href=x.htm>a link</a></p>";

std::set<QRgb> Colours(THTMLViewer& viewer)
{
    QImage image(400, 200, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        viewer.PaintBand(painter, QRect(0, 0, 400, 200));
    }
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y) & 0xFFFFFF);
    return colours;
}

QRgb Rgb(TColor c) { return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)) & 0xFFFFFF; }

} // namespace

TEST(ReaderColors, ReplaceTheDocumentsColoursAndBackgrounds)
{
    viewertest::Files files;
    THTMLViewer viewer;
    viewer.resize(420, 220);
    viewer.DefFontColor = Ink;
    viewer.DefBackground = Paper;
    viewer.DefHotSpotColor = LinkInk;
    viewer.ShowFile(files.Write("loud.htm", Colourful));
    std::set<QRgb> own = Colours(viewer);
    EXPECT_TRUE(own.count(qRgb(0xFF, 0x00, 0xFF) & 0xFFFFFF)) << "the page's own colours show by default";
    EXPECT_TRUE(own.count(qRgb(0x00, 0x00, 0x80) & 0xFFFFFF)) << "the page's background (navy) shows";

    viewer.htOptions |= htReaderColors;
    std::set<QRgb> reader = Colours(viewer);
    EXPECT_TRUE(reader.count(Rgb(Paper)));
    EXPECT_TRUE(reader.count(Rgb(Ink)));
    for (QRgb authored : {qRgb(0xFF, 0x00, 0xFF), qRgb(0x00, 0x00, 0x80), qRgb(0xFF, 0x80, 0x00),
                          qRgb(0xFF, 0xFF, 0x00), qRgb(0x00, 0xFF, 0xFF)})
        EXPECT_FALSE(reader.count(authored & 0xFFFFFF)) << std::hex << authored;
    // Text is drawn anti-aliased: every pixel lies between the reader's ink and paper,
    // or is the link colour's shade; none keeps a hue of the page.
    for (QRgb c : reader) {
        int r = qRed(c), g = qGreen(c), b = qBlue(c);
        bool grey = std::abs(r - g) < 8 && std::abs(g - b) < 8;
        bool linkShade = r == b && g >= r; // green towards white
        EXPECT_TRUE(grey || linkShade) << std::hex << c;
    }
}
