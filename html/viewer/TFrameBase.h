#pragma once
// Base of frames and frame sets: a panel with an optional lowered bevel
// that knows the top frame set and the set it sits in.
#include <QWidget>
#include <vector>

class TFrameSet;
class TSubFrameSet;
class TfvFrame;

class TFrameBase : public QWidget {
public:
    TFrameBase(QWidget* parent, TFrameSet* master, TSubFrameSet* owner);

    TFrameSet* MasterSet;   // the top frame set (itself for the top set)
    TSubFrameSet* OwnerSet; // the set this sits in; null for the top set and nested sets' roots
    int BevelWidth = 0;     // lowered bevel drawn inside the edge

    // Places the children inside the current geometry.
    virtual void Place() {}
    // Every frame at or below this one, in document order.
    virtual void CollectFrames(std::vector<TfvFrame*>& frames) = 0;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Mouse actions within 3 pixels of the edge belong to the enclosing set
    // (its borders can be dragged from there).
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool ForwardToOwner(QMouseEvent* event);
};
