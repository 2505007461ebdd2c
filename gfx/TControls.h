#pragma once
// The window controls that HTML form controls and hidden tab stops stand on.
// The Qt implementation makes real widgets on the viewer's paint panel; the
// headless one (THeadlessControls.h) keeps state and lets tests fire events.
// No toolkit type appears here.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/TCanvas.h"
#include "gfx/TTimer.h"
#include "images/TBitmap.h"

// Key codes handed to onKey (letters and digits are their upper-case ASCII codes).
enum TKeyCode : int {
    KeyBack = 8,
    KeyTab = 9,
    KeyReturn = 13,
    KeyEscape = 27,
    KeySpace = 32,
    KeyPageUp = 33,
    KeyPageDown = 34,
    KeyEnd = 35,
    KeyHome = 36,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
    KeyDelete = 46,
};
enum TShiftFlag : uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = uint8_t;

// What a control reports. Programmatic changes (setText, setChecked, ...) do
// not raise onChange or onClick; only the user's actions do. Focus changes
// raise onFocus/onBlur however they come about.
struct TControlEvents {
    std::function<void()> onFocus;
    std::function<void()> onBlur;
    std::function<void()> onClick;  // a button pressed, a box or radio button clicked
    std::function<void()> onChange; // the user edited the text or changed the selection
    // A key pressed while the control has the focus; answer true to swallow it
    // (the control then does not act on it).
    std::function<bool(int key, TShiftState shift)> onKey;
};

enum class TControlKind : uint8_t { Edit, Button, CheckBox, RadioButton, ListBox, ComboBox, Memo, TabStop };

class TControl {
public:
    virtual ~TControl() = default;
    virtual TControlKind kind() const = 0;

    // Position and size in the parent panel's pixels.
    virtual void setBounds(const TRect& r) = 0;
    virtual TRect bounds() const = 0;
    void setPosition(int x, int y)
    {
        TRect r = bounds();
        setBounds({x, y, x + r.width(), y + r.height()});
    }
    void setSize(int width, int height)
    {
        TRect r = bounds();
        setBounds({r.left, r.top, r.left + width, r.top + height});
    }
    // Pixels the control's frame adds to its client area (x: width, y: height).
    virtual TPoint frameSize() const = 0;

    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
    virtual void setFocus() = 0;
    virtual bool hasFocus() const = 0;
    virtual void setFont(const TFontSpec& font) = 0;
    // Background colour; ClNone gives the platform's own.
    virtual void setColor(TColor color) = 0;
    // The control's look as a picture of its current size (printing copies
    // use it); empty when there is no window to capture.
    virtual TBitmap snapshot() const = 0;

    TControlEvents& events() { return FEvents; }
    const TControlEvents& events() const { return FEvents; }

protected:
    TControlEvents FEvents;
};

enum class TEchoMode : uint8_t { Normal, Password };

// Single-line edit box. Password mode shows "*" for each character.
class TEditControl : public TControl {
public:
    TControlKind kind() const override { return TControlKind::Edit; }
    virtual std::u16string text() const = 0;
    virtual void setText(std::u16string_view text) = 0;
    virtual void setEchoMode(TEchoMode mode) = 0;
    // 0 for no limit; longer text set afterwards is cut to the limit.
    virtual void setMaxLength(int length) = 0;
    virtual int maxLength() const = 0;
};

// Push button (also the hidden focus button of image inputs).
class TButtonControl : public TControl {
public:
    TControlKind kind() const override { return TControlKind::Button; }
    virtual std::u16string caption() const = 0;
    virtual void setCaption(std::u16string_view caption) = 0;
};

// Check box or radio button. Radio buttons are not grouped by the platform:
// the engine unchecks the others of a group itself.
class TCheckControl : public TControl {
public:
    virtual bool checked() const = 0;
    virtual void setChecked(bool checked) = 0;
};

enum class TSelectionMode : uint8_t { Single, Multiple };

// List box (single or multiple selection) or drop-down list (always single).
class TListControl : public TControl {
public:
    virtual void clearItems() = 0;
    virtual void addItem(std::u16string_view text) = 0;
    virtual int count() const = 0;
    virtual std::u16string item(int index) const = 0;
    // The current item; -1 for none.
    virtual int itemIndex() const = 0;
    virtual void setItemIndex(int index) = 0;
    virtual bool selected(int index) const = 0;
    virtual void setSelected(int index, bool selected) = 0;
    virtual void setSelectionMode(TSelectionMode mode) = 0;
    // The first visible item of a list box (0 for a drop-down list).
    virtual int topIndex() const = 0;
    virtual void setTopIndex(int index) = 0;
};

enum class TWrapMode : uint8_t { Off, Soft, Hard };

// Multi-line edit. Off: no wrapping, both scroll bars; Soft and Hard: wrapping
// at the control's width with a vertical scroll bar.
class TMemoControl : public TControl {
public:
    TControlKind kind() const override { return TControlKind::Memo; }
    virtual std::u16string text() const = 0;
    virtual void setText(std::u16string_view text) = 0;
    virtual void setWrapMode(TWrapMode mode) = 0;
    // The lines as shown, wrapped at the current width (hard-wrapped text
    // areas submit these joined by "\r\n").
    virtual std::vector<std::u16string> displayedLines() const = 0;
    virtual void moveCaretToStart() = 0;
};

// Makes the controls on one parent surface (the viewer's paint panel) and the
// timers of a document. Controls start hidden at (0, 0) with size 0 x 0 until
// placed; they belong to the caller.
class TControlFactory {
public:
    virtual ~TControlFactory() = default;
    virtual std::unique_ptr<TEditControl> createEdit() = 0;
    virtual std::unique_ptr<TButtonControl> createButton() = 0;
    virtual std::unique_ptr<TCheckControl> createCheckBox() = 0;
    virtual std::unique_ptr<TCheckControl> createRadioButton() = 0;
    virtual std::unique_ptr<TListControl> createListBox() = 0;
    virtual std::unique_ptr<TListControl> createComboBox() = 0;
    virtual std::unique_ptr<TMemoControl> createMemo() = 0;
    // A focusable control with no look (keyboard focus for link runs).
    virtual std::unique_ptr<TControl> createTabStop() = 0;
    virtual std::unique_ptr<TTimer> createTimer() = 0;
    // The width of a vertical scroll bar in pixels.
    virtual int scrollBarWidth() const = 0;
    // Tab moves the focus through these controls in this order.
    virtual void setTabOrder(const std::vector<TControl*>& order) = 0;
};
