#pragma once
#include <QWidget>

class THTMLViewer;

// The drawing surface of a viewer: forwards mouse actions to it and paints
// through it.
class TPaintPanel : public QWidget {
public:
    explicit TPaintPanel(THTMLViewer& viewer);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    THTMLViewer& FViewer;
};
