#include "html/viewer/QtCanvas.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "html/viewer/QtColor.h"

namespace {

QImage WhiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The rightmost column holding a non-white pixel, -1 when none.
int RightmostInk(const QImage& image)
{
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return x;
    return -1;
}

TFontSpec Spec(const char* name, int height, TFontStyles style = 0) { return {name, height, style, 1}; }

} // namespace

TEST(QtFonts, ResolveTheCoreFamiliesThroughFontconfig)
{
    QImage image = WhiteImage(10, 10);
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    EXPECT_TRUE(canvas.fontInstalled("Times New Roman"));
    EXPECT_TRUE(canvas.fontInstalled("Arial"));
    EXPECT_TRUE(canvas.fontInstalled("Courier New"));
    EXPECT_TRUE(canvas.fontInstalled("Liberation Serif"));
    EXPECT_FALSE(canvas.fontInstalled("Quillon No Such Face"));
    EXPECT_FALSE(canvas.fontInstalled(""));

    TFontRef courier = canvas.createFont(Spec("Courier New", 16));
    EXPECT_EQ(courier, canvas.createFont(Spec("Courier New", -16)));
    EXPECT_EQ(courier->textWidth(u"iiii"), courier->textWidth(u"MMMM")); // a fixed-pitch face
    TFontRef times = canvas.createFont(Spec("Times New Roman", 16));
    EXPECT_LT(times->textWidth(u"iiii"), times->textWidth(u"MMMM"));

    const TFontMetrics& m = times->metrics();
    EXPECT_EQ(m.ascent + m.descent, m.height);
    EXPECT_EQ(m.height - m.internalLeading, 16);
    EXPECT_GE(m.height, 17);
    EXPECT_LE(m.height, 20);
    EXPECT_GT(m.maxCharWidth, m.aveCharWidth);
    EXPECT_GT(canvas.createFont(Spec("Arial", 16, fsBold))->textWidth(u"Hello"),
              canvas.createFont(Spec("Arial", 16))->textWidth(u"Hello"));
}

TEST(QtFonts, FitCountAgreesWithTextWidth)
{
    QImage image = WhiteImage(10, 10);
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    TFontRef font = canvas.createFont(Spec("Arial", 13));
    std::u16string text = u"The quick brown fox jumps over the lazy dog";
    std::vector<int> extents;
    int all = font->textWidth(text);
    EXPECT_EQ(font->fitCount(text, all, &extents), int(text.size()));
    EXPECT_EQ(extents.back(), all);
    int fit = font->fitCount(text, all / 2, &extents);
    ASSERT_GT(fit, 0);
    EXPECT_EQ(extents[size_t(fit) - 1], font->textWidth(text.substr(0, size_t(fit))));
    EXPECT_GT(extents[size_t(fit)], all / 2);
    EXPECT_EQ(extents.size(), size_t(fit) + 1);
}

TEST(QtCanvasText, DrawingAgreesWithMeasuring)
{
    for (const char* family : {"Times New Roman", "Arial", "Courier New"}) {
        SCOPED_TRACE(family);
        QImage whole = WhiteImage(400, 40);
        QImage pieces = WhiteImage(400, 40);
        int width = 0;
        {
            QPainter painter(&whole);
            TQtCanvas canvas(painter);
            canvas.setFont(canvas.createFont(Spec(family, 18, fsUnderline)));
            canvas.textOut(5, 5, u"Wavy text, measured");
            width = canvas.textExtent(u"Wavy text, measured");
        }
        {
            // The same run drawn in two pieces, the second where measuring says
            // the first ends, gives the same pixels.
            QPainter painter(&pieces);
            TQtCanvas canvas(painter);
            canvas.setFont(canvas.createFont(Spec(family, 18, fsUnderline)));
            canvas.textOut(5, 5, u"Wavy text");
            canvas.textOut(5 + canvas.textExtent(u"Wavy text"), 5, u", measured");
        }
        EXPECT_EQ(whole, pieces);
        int ink = RightmostInk(whole);
        EXPECT_LE(ink, 5 + width);
        EXPECT_GE(ink, 5 + width - 3);
    }
}

TEST(QtCanvasText, JustificationAndBaselineMoveTheGlyphsAsMeasured)
{
    QImage justified = WhiteImage(300, 60);
    QImage placed = WhiteImage(300, 60);
    {
        QPainter painter(&justified);
        TQtCanvas canvas(painter);
        canvas.setFont(canvas.createFont(Spec("Arial", 16)));
        canvas.setTextAlign(TTextAlign::Baseline);
        canvas.textOut(10, 40, u"a b c", 7); // 4 after the first space, 3 after the second
    }
    {
        QPainter painter(&placed);
        TQtCanvas canvas(painter);
        TFontRef font = canvas.createFont(Spec("Arial", 16));
        canvas.setFont(font);
        int top = 40 - font->metrics().ascent;
        int step = font->textWidth(u"a ");
        canvas.textOut(10, top, u"a");
        canvas.textOut(10 + step + 4, top, u"b");
        canvas.textOut(10 + 2 * step + 7, top, u"c");
    }
    EXPECT_EQ(justified, placed);
}

TEST(QtCanvasText, OpaqueBackgroundFillsTheTextCell)
{
    QImage image = WhiteImage(200, 40);
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    TFontRef font = canvas.createFont(Spec("Arial", 16));
    canvas.setFont(font);
    canvas.setTextColor(RGBColor(255, 255, 255));
    canvas.setBackgroundMode(TBackgroundMode::Opaque, RGBColor(0, 0, 255));
    canvas.textOut(10, 10, u"x y");
    painter.end();
    int right = 10 + font->textWidth(u"x y");
    int bottom = 10 + font->metrics().height;
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(right - 1, bottom - 1), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(right, 10), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(10, bottom), qRgb(255, 255, 255));
}

TEST(QtCanvasBitmaps, MaskedPixelsStayUntouchedWhenStretched)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    TBitmap bitmap(2, 2, 0xFFFF0000u);
    bitmap.createMask();
    bitmap.mask[0] = 1; // top-left pixel transparent
    {
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        canvas.drawBitmap({0, 0, 20, 20}, bitmap);
    }
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            QRgb expected = (x < 10 && y < 10) ? qRgb(0, 0, 255) : qRgb(255, 0, 0);
            ASSERT_EQ(image.pixel(x, y), expected) << x << "," << y;
        }

    // Without a mask every pixel is drawn, whatever alpha the pixels carry.
    TBitmap opaque(1, 1, 0x0000FF00u);
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    canvas.drawBitmapPart({0, 0, 5, 5}, opaque, {0, 0, 1, 1});
    painter.end();
    EXPECT_EQ(image.pixel(2, 2), qRgb(0, 255, 0));
}

TEST(QtCanvasBitmaps, MaskedPictureIsConvertedOnceUntilItChanges)
{
    QImage image(2, 1, QImage::Format_RGB32);
    auto draw = [&image](const TBitmap& b) {
        image.fill(QColor(255, 255, 255));
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        canvas.drawBitmap({0, 0, 2, 1}, b);
    };
    TBitmap bitmap(2, 1, 0xFFFF0000u);
    bitmap.createMask();
    bitmap.mask[0] = 1;
    draw(bitmap);
    auto converted = bitmap.drawForm;
    ASSERT_NE(converted, nullptr);
    draw(bitmap);
    EXPECT_EQ(bitmap.drawForm, converted) << "drawn again from the kept image";
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 0, 0));

    // A changed copy has pixels of its own and is converted for them.
    TBitmap copy = bitmap;
    copy.at(1, 0) = 0xFF00FF00u;
    draw(copy);
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 255, 0));
    // A picture changed in place says so.
    bitmap.at(1, 0) = 0xFF0000FFu;
    bitmap.mask[0] = 0;
    bitmap.changed();
    draw(bitmap);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 255));
}

TEST(QtCanvasBitmaps, PicturesWithAlphaBlendWithTheGround)
{
    QImage image(4, 1, QImage::Format_RGB32);
    image.fill(QColor(255, 255, 255));
    TBitmap soft(4, 1);
    soft.pixels = {0xFFFF0000u, 0x80FF0000u, 0x00000000u, 0x80FF0000u};
    soft.hasAlpha = true;
    soft.createMask();
    soft.mask[3] = 1; // a masked pixel stays out whatever its alpha
    {
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        canvas.drawBitmap({0, 0, 4, 1}, soft);
    }
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_NEAR(qGreen(image.pixel(1, 0)), 127, 2) << "half red over white is pink";
    EXPECT_EQ(qRed(image.pixel(1, 0)), 255);
    EXPECT_EQ(image.pixel(2, 0), qRgb(255, 255, 255)) << "wholly transparent black leaves the ground";
    EXPECT_EQ(image.pixel(3, 0), qRgb(255, 255, 255));
}

TEST(QtCanvasShapes, ClipAndRectanglesCoverTheExpectedPixels)
{
    QImage image = WhiteImage(50, 50);
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    canvas.save();
    canvas.intersectClip({10, 10, 30, 30});
    canvas.intersectClip({20, 0, 50, 50});
    EXPECT_EQ(canvas.clipBox(), (TRect{20, 10, 30, 30}));
    canvas.fillRect({0, 0, 50, 50}, RGBColor(255, 0, 0));
    canvas.restore();
    EXPECT_EQ(canvas.clipBox(), (TRect{0, 0, 50, 50}));
    canvas.setPen({RGBColor(0, 0, 0), 1, TPenStyle::Solid});
    canvas.setBrush({RGBColor(0, 255, 0), TBrushStyle::Solid});
    canvas.rectangle({0, 40, 5, 45});
    canvas.frameRect({40, 40, 45, 45}, RGBColor(0, 0, 255));
    painter.end();

    EXPECT_EQ(image.pixel(19, 15), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(20, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(29, 29), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(30, 29), qRgb(255, 255, 255));
    // Outline on the rectangle's own pixels, fill inside, nothing past right/bottom.
    EXPECT_EQ(image.pixel(0, 40), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(4, 44), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(2, 42), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(5, 42), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(44, 42), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(42, 42), qRgb(255, 255, 255));
}

TEST(QtColors, SystemColoursComeFromThePalette)
{
    QPalette palette = QGuiApplication::palette();
    EXPECT_EQ(QtColorOf(ClSystemBase + 15), palette.color(QPalette::Active, QPalette::Button));
    EXPECT_EQ(QtColorOf(ClSystemBase + 5), palette.color(QPalette::Active, QPalette::Base));
    EXPECT_EQ(QtColorOf(ClSystemBase + 13), palette.color(QPalette::Active, QPalette::Highlight));
    EXPECT_EQ(QtColorOf(ClPaletteFlag | RGBColor(1, 2, 3)), QColor(1, 2, 3));
    EXPECT_EQ(QtColorOf(ClNone).alpha(), 0);
}

TEST(QtPrinting, PagesBecomePdfPagesOffscreen)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString path = dir.filePath("out.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    {
        QPainter painter;
        ASSERT_TRUE(painter.begin(&printer));
        TQtCanvas canvas(painter);
        EXPECT_TRUE(canvas.isPrinter());
        int dpi = canvas.pixelsPerInchX();
        EXPECT_GE(dpi, 300);
        // Document units are 96-per-inch pixels.
        canvas.setMapping({0, 0}, {96, 96}, {0, 0}, {dpi, canvas.pixelsPerInchY()});
        TRect page = canvas.clipBox();
        EXPECT_NEAR(page.width(), printer.width() * 96 / dpi, 2);
        canvas.setFont(canvas.createFont(Spec("Times New Roman", 16)));
        canvas.textOut(20, 20, u"Page one");
        canvas.setPen({RGBColor(0, 0, 0), 1, TPenStyle::Solid});
        canvas.rectangle({10, 10, 200, 60});
        printer.newPage();
        canvas.setOrigin({0, -100});
        canvas.textOut(20, 20, u"Page two");
        painter.end();
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 2) << pdf.left(2000).constData();
}
