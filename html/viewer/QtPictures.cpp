#include "html/viewer/QtPictures.h"

#include <algorithm>
#include <limits>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include "html/viewer/SvgRasterizer.h"
#include "images/ImageDecoder.h"

bool ReadQtPicture(TByteSpan data, TBitmap& bitmap)
{
    if (DetectImageFormat(data) == TImageFormat::Ico)
        return ReadIconPicture(data, bitmap);
    return RasterizeSvg(data, bitmap);
}

bool ReadIconPicture(TByteSpan data, TBitmap& bitmap)
{
    if (DetectImageFormat(data) != TImageFormat::Ico || data.size() > size_t(std::numeric_limits<int>::max()))
        return false;
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    // An icon holds the same picture at several sizes: the largest shows best.
    QImage best;
    for (int i = 0, count = std::max(1, reader.imageCount()); i < count && i < 64; ++i) {
        if (!reader.jumpToImage(i) && i > 0)
            break;
        const QSize size = reader.size();
        if (size.isValid() && !FitsPixelLimit(size_t(size.width()), size_t(size.height())))
            continue;
        QImage image = reader.read();
        if (!image.isNull() && (best.isNull() || image.width() * image.height() > best.width() * best.height()))
            best = std::move(image);
    }
    if (best.isNull() || !FitsPixelLimit(size_t(best.width()), size_t(best.height())))
        return false;
    bitmap = BitmapFromImage(best);
    return true;
}

TBitmap BitmapFromImage(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    TBitmap result(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            result.at(x, y) = line[x];
            result.hasAlpha = result.hasAlpha || (line[x] >> 24) != 0xFF;
        }
    }
    return result;
}
