// Icons (ICO) are read through Qt, as drawings are: recognised by their
// first bytes, drawn at their largest size.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include "html/viewer/QtPictures.h"
#include "images/ImageDecoder.h"

namespace {

QByteArray IconOf(const QList<QImage>& images)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    for (const QImage& image : images)
        writer.write(image);
    return bytes;
}

TByteSpan Span(const QByteArray& bytes) { return {reinterpret_cast<const uint8_t*>(bytes.data()), size_t(bytes.size())}; }

QImage Filled(int size, QColor colour)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

TEST(IconPicture, ReadThroughQtAtItsOwnSize)
{
    const QByteArray icon = IconOf({Filled(16, Qt::red)});
    ASSERT_FALSE(icon.isEmpty());
    EXPECT_EQ(DetectImageFormat(Span(icon)), TImageFormat::Ico);
    TBitmap bitmap;
    ASSERT_TRUE(ReadQtPicture(Span(icon), bitmap));
    EXPECT_EQ(bitmap.width, 16);
    EXPECT_EQ(bitmap.height, 16);
    EXPECT_EQ(bitmap.at(8, 8) & 0xFFFFFFu, 0xFF0000u); // red in 0xAARRGGBB
}

TEST(IconPicture, RejectsWhatIsNoIcon)
{
    TBitmap bitmap;
    const QByteArray truncated = QByteArray("\0\0\1\0\1\0", 6);
    EXPECT_EQ(DetectImageFormat(Span(truncated)), TImageFormat::Ico);
    EXPECT_FALSE(ReadIconPicture(Span(truncated), bitmap));
    // Zero pictures in the directory is not an icon.
    EXPECT_EQ(DetectImageFormat(Span(QByteArray("\0\0\1\0\0\0", 6))), TImageFormat::Unknown);
    EXPECT_FALSE(ReadIconPicture(Span(QByteArray("<svg/>")), bitmap));
}

} // namespace
