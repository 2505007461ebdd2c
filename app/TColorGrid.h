#pragma once
#include <QWidget>
#include <array>
#include <optional>

#include "util/Colors.h"

// A grid of the sixteen standard colours (black, maroon, green, olive, navy,
// purple, teal, gray, silver, red, lime, yellow, blue, fuchsia, aqua, white),
// four by four; a left click picks one.
class TColorGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int CellSize = 14;
    static const std::array<TColor, 16>& Palette();

    explicit TColorGrid(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    // The colour of the cell at a point of the widget; none outside the cells.
    std::optional<TColor> ColorAt(const QPoint& point) const;
    // The cell of a colour is framed (none when it is not one of the sixteen).
    void SetCurrent(TColor color);

signals:
    void ColorPicked(TColor color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect cellRect(int index) const;
    int FCurrent = -1;
};
