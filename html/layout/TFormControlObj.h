#pragma once
// Base of the HTML form controls as the text section sees them: a window
// control standing in the text as placeholder 2, sized before each layout and
// moved over its place when painted. The form-control classes derive from it.
#include <memory>

#include "gfx/TControls.h"
#include "html/layout/LayoutTypes.h"
#include "html/layout/TIDObject.h"

class TFormControlObj : public TIDObject {
public:
    ~TFormControlObj() override = default;
    int AnchorY() const override { return YValue; }

    virtual TControl* TheControl() const { return FControl.get(); }
    // Computes the control's size for the canvas (every layout).
    virtual void SizeControl(TCanvas&) {}
    // Printing copies draw the control's look instead of showing the window.
    virtual void PaintImage(TCanvas&, int /*x*/, int /*y*/) {}
    // Whether this object has a window at all (hidden inputs do not).
    bool HasWindow() const { return FControl != nullptr; }

    int Width() const { return FControl ? FControl->bounds().width() : FWidth; }
    int Height() const { return FControl ? FControl->bounds().height() : FHeight; }
    void SetWidth(int w);

    int Pos = 0;              // placeholder index in its section
    int YValue = 0;
    int HSpaceL = 0, HSpaceR = 0;
    TVAlign VertAlign = TVAlign::Bottom;
    int PercentWidth = -1;    // >= 0: width is this percentage of the line
    bool Shown = false;       // painted in the current pass
    bool Focused = false;

protected:
    std::unique_ptr<TControl> FControl;
    int FWidth = 0;
    int FHeight = 0;
};
