#include "html/viewer/SvgRasterizer.h"

#include <limits>

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include "html/viewer/QtPictures.h"

namespace {

// A drawing without a size of its own gets the size browsers give replaced
// content without one.
constexpr int DefaultWidth = 300;
constexpr int DefaultHeight = 150;
// Drawings may claim any size; larger ones are not drawn.
constexpr int MaxSide = 8192;

QSize SizeOf(const QSvgRenderer& renderer)
{
    QSize size = renderer.defaultSize();
    if (size.isEmpty())
        size = renderer.viewBox().size();
    return size.isEmpty() ? QSize(DefaultWidth, DefaultHeight) : size;
}

} // namespace

bool RasterizeSvg(TByteSpan data, TBitmap& bitmap)
{
    if (data.empty() || data.size() > size_t(std::numeric_limits<int>::max()))
        return false;
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
    QSvgRenderer renderer(bytes);
    if (!renderer.isValid())
        return false;
    const QSize size = SizeOf(renderer);
    if (size.width() > MaxSide || size.height() > MaxSide || !FitsPixelLimit(size_t(size.width()), size_t(size.height())))
        return false;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    bitmap = BitmapFromImage(image);
    return true;
}
