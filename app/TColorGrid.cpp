#include "app/TColorGrid.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "html/viewer/QtColor.h"

namespace {

constexpr int Columns = 4;

} // namespace

const std::array<TColor, 16>& TColorGrid::Palette()
{
    static const std::array<TColor, 16> colors { 0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
        0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF };
    return colors;
}

TColorGrid::TColorGrid(QWidget* parent)
    : QWidget(parent)
{
    setToolTip(QStringLiteral("Use left mouse button to pick color"));
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
}

QSize TColorGrid::sizeHint() const
{
    return { Columns * CellSize + 1, Columns * CellSize + 1 };
}

QRect TColorGrid::cellRect(int index) const
{
    return { (index % Columns) * CellSize, (index / Columns) * CellSize, CellSize, CellSize };
}

std::optional<TColor> TColorGrid::ColorAt(const QPoint& point) const
{
    for (int i = 0; i < int(Palette().size()); ++i)
        if (cellRect(i).contains(point))
            return Palette()[size_t(i)];
    return std::nullopt;
}

void TColorGrid::SetCurrent(TColor color)
{
    auto it = std::find(Palette().begin(), Palette().end(), color);
    FCurrent = it == Palette().end() ? -1 : int(it - Palette().begin());
    update();
}

void TColorGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int i = 0; i < int(Palette().size()); ++i) {
        QRect cell = cellRect(i);
        painter.fillRect(cell, QtColorOf(Palette()[size_t(i)]));
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(cell);
    }
    if (FCurrent >= 0) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(cellRect(FCurrent).adjusted(1, 1, -1, -1));
    }
}

void TColorGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (std::optional<TColor> color = ColorAt(event->position().toPoint())) {
        SetCurrent(*color);
        emit ColorPicked(*color);
    }
}
