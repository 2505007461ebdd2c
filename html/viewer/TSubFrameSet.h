#pragma once
// A frame set: rows or columns of frames and nested sets, sized from the
// ROWS or COLS list; its borders can be dragged.
#include <QEvent>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "html/viewer/FrameSpec.h"
#include "html/viewer/TFrameBase.h"

class QRubberBand;
class TAttributeList;

class TSubFrameSet : public TFrameBase {
public:
    TSubFrameSet(QWidget* parent, TFrameSet* master, TSubFrameSet* owner);
    ~TSubFrameSet() override;

    // ROWS (when it gives more than one entry) makes a column of rows, else
    // COLS a row of columns; the top set also takes its border width.
    void InitFromAttributes(const TAttributeList& attributes, bool isTop);
    // A frame from its attributes; its Source is the SRC as written.
    TfvFrame& AddFrame(const TAttributeList& attributes);
    TSubFrameSet& AddFrameSet(const TAttributeList& attributes);

    void Place() override;
    void CollectFrames(std::vector<TfvFrame*>& frames) override;
    void LoadFiles();
    void ReloadFiles();
    // Starts the set's refresh timer when its document asked for one.
    void StartRefresh();

    bool Rows = false;
    std::vector<FrameSpec> Specs;
    std::vector<int> Sizes;
    int BorderSize = 2;
    std::vector<std::unique_ptr<TFrameBase>> Children;
    TfvFrame* OwnerFrame = nullptr; // the frame that shows this set, for a set read from a frame's document
    std::string BaseTarget;         // of the frame-set document this set was read from
    int RefreshDelay = 0;
    std::string RefreshURL;
    QTimer RefreshTimer;

    // Border dragging (also reached from the children's edges).
    void BorderMouse(QEvent::Type type, QPoint position, Qt::MouseButton button);
    bool Dragging() const { return FDragBorder >= 0; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int Length() const { return Rows ? height() : width(); }
    int Coordinate(QPoint p) const { return Rows ? p.y() : p.x(); }
    // The border (index of the child before it) nearest to the point, when
    // it is at most 4 pixels away and may be moved; else -1.
    int BorderNear(QPoint p) const;
    int BorderOffset(int border) const;
    void RefreshFired();

    int FDragBorder = -1;
    int FDragPosition = 0;
    QRubberBand* FMarker = nullptr;
    std::vector<double> FProportions; // after a drag: each child's share of the length
};
