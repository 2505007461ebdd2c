#pragma once
// Controls without a window system, for tests and headless rendering. They
// keep their state like the real ones and let tests act as the user: click,
// type, select, press keys, move the focus and let timers fire.
//
// Fixed facts: a scroll bar is 16 pixels wide; edit boxes, list boxes,
// drop-down lists and memos have a 2-pixel frame on each side (frameSize
// 4 x 4), buttons, check boxes, radio buttons and tab stops none. A memo wraps
// (soft or hard) at (client width / w) characters, w being the unit width of
// its font's fixed metrics (TFixedCanvas.h), breaking after the last space
// that fits, else inside the word. There is no window to take a snapshot of.
#include <algorithm>
#include <memory>
#include <vector>

#include "gfx/TControls.h"
#include "gfx/TTimer.h"

class THeadlessControlFactory;

// The state every headless control shares.
template <class Base>
class THeadless : public Base {
public:
    explicit THeadless(THeadlessControlFactory& factory) : FFactory(factory) {}
    ~THeadless() override;

    void setBounds(const TRect& r) override { FBounds = r; }
    TRect bounds() const override { return FBounds; }
    TPoint frameSize() const override;
    void setVisible(bool visible) override { FVisible = visible; }
    bool isVisible() const override { return FVisible; }
    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return FEnabled; }
    void setFocus() override;
    bool hasFocus() const override;
    void setFont(const TFontSpec& font) override { FFont = font; }
    const TFontSpec& font() const { return FFont; }
    void setColor(TColor color) override { FColor = color; }
    TColor color() const { return FColor; }
    TBitmap snapshot() const override { return {}; }

    // The user presses a key: answers whether the handler swallowed it.
    bool fireKey(int key, TShiftState shift = 0);
    void fireClick();

protected:
    void raise(const std::function<void()>& handler)
    {
        if (handler)
            handler();
    }
    THeadlessControlFactory& FFactory;

private:
    TRect FBounds;
    bool FVisible = false;
    bool FEnabled = true;
    TFontSpec FFont;
    TColor FColor = ClNone;
};

class THeadlessEdit : public THeadless<TEditControl> {
public:
    using THeadless::THeadless;
    std::u16string text() const override { return FText; }
    void setText(std::u16string_view text) override;
    void setEchoMode(TEchoMode mode) override { FEchoMode = mode; }
    TEchoMode echoMode() const { return FEchoMode; }
    // What the box shows: "*" for each character in password mode.
    std::u16string shownText() const;
    void setMaxLength(int length) override;
    int maxLength() const override { return FMaxLength; }
    // The user replaces the text (cut to the maximum length) and onChange fires.
    void typeText(std::u16string_view text);

private:
    std::u16string FText;
    TEchoMode FEchoMode = TEchoMode::Normal;
    int FMaxLength = 0;
};

class THeadlessButton : public THeadless<TButtonControl> {
public:
    using THeadless::THeadless;
    std::u16string caption() const override { return FCaption; }
    void setCaption(std::u16string_view caption) override { FCaption = caption; }

private:
    std::u16string FCaption;
};

// A user's click checks a radio button and toggles a check box, then onClick fires.
class THeadlessCheck : public THeadless<TCheckControl> {
public:
    THeadlessCheck(THeadlessControlFactory& factory, TControlKind kind) : THeadless(factory), FKind(kind) {}
    TControlKind kind() const override { return FKind; }
    bool checked() const override { return FChecked; }
    void setChecked(bool checked) override { FChecked = checked; }
    void userClick();

private:
    TControlKind FKind;
    bool FChecked = false;
};

class THeadlessList : public THeadless<TListControl> {
public:
    THeadlessList(THeadlessControlFactory& factory, TControlKind kind) : THeadless(factory), FKind(kind) {}
    TControlKind kind() const override { return FKind; }
    void clearItems() override;
    void addItem(std::u16string_view text) override;
    int count() const override { return int(FItems.size()); }
    std::u16string item(int index) const override;
    int itemIndex() const override { return FIndex; }
    void setItemIndex(int index) override;
    bool selected(int index) const override;
    void setSelected(int index, bool selected) override;
    void setSelectionMode(TSelectionMode mode) override;
    TSelectionMode selectionMode() const { return FMode; }
    int topIndex() const override { return FTop; }
    void setTopIndex(int index) override;
    // The user clicks an item: a single-selection list selects it alone, a
    // multiple-selection list toggles it; onChange fires.
    void userSelect(int index);

private:
    bool valid(int index) const { return index >= 0 && index < count(); }
    TControlKind FKind;
    std::vector<std::u16string> FItems;
    std::vector<bool> FSelected;
    int FIndex = -1;
    int FTop = 0;
    TSelectionMode FMode = TSelectionMode::Single;
};

class THeadlessMemo : public THeadless<TMemoControl> {
public:
    using THeadless::THeadless;
    std::u16string text() const override { return FText; }
    void setText(std::u16string_view text) override { FText = text; }
    void setWrapMode(TWrapMode mode) override { FWrap = mode; }
    TWrapMode wrapMode() const { return FWrap; }
    std::vector<std::u16string> displayedLines() const override;
    void moveCaretToStart() override { FCaret = 0; }
    int caret() const { return FCaret; }
    void typeText(std::u16string_view text);

private:
    std::u16string FText;
    TWrapMode FWrap = TWrapMode::Soft;
    int FCaret = 0;
};

class THeadlessTabStop : public THeadless<TControl> {
public:
    using THeadless::THeadless;
    TControlKind kind() const override { return TControlKind::TabStop; }
};

class THeadlessTimer;

class THeadlessControlFactory : public TControlFactory {
public:
    ~THeadlessControlFactory() override;
    std::unique_ptr<TEditControl> createEdit() override;
    std::unique_ptr<TButtonControl> createButton() override;
    std::unique_ptr<TCheckControl> createCheckBox() override;
    std::unique_ptr<TCheckControl> createRadioButton() override;
    std::unique_ptr<TListControl> createListBox() override;
    std::unique_ptr<TListControl> createComboBox() override;
    std::unique_ptr<TMemoControl> createMemo() override;
    std::unique_ptr<TControl> createTabStop() override;
    std::unique_ptr<TTimer> createTimer() override;
    int scrollBarWidth() const override { return 16; }
    void setTabOrder(const std::vector<TControl*>& order) override { FTabOrder = order; }
    const std::vector<TControl*>& tabOrder() const { return FTabOrder; }

    // The control that has the focus, or null.
    TControl* focused() const { return FFocused; }
    // Moves the focus: the old control gets onBlur, then the new one onFocus.
    void moveFocus(TControl* control);
    // The user presses Tab: the focus moves to the next enabled control of the tab order.
    void tabForward();
    // Every enabled timer fires once; answers how many fired.
    int tickTimers();

private:
    template <class Base>
    friend class THeadless;
    friend class THeadlessTimer;
    void forget(TControl* control);
    void forget(THeadlessTimer* timer);

    TControl* FFocused = nullptr;
    std::vector<TControl*> FTabOrder;
    std::vector<THeadlessTimer*> FTimers;
};

class THeadlessTimer : public TManualTimer {
public:
    explicit THeadlessTimer(THeadlessControlFactory& factory) : FFactory(&factory) {}
    ~THeadlessTimer() override
    {
        if (FFactory)
            FFactory->forget(this);
    }

private:
    friend class THeadlessControlFactory;
    THeadlessControlFactory* FFactory;
};

// ------------------------------------------------------------ THeadless<Base>

template <class Base>
THeadless<Base>::~THeadless()
{
    FFactory.forget(this);
}

template <class Base>
TPoint THeadless<Base>::frameSize() const
{
    switch (this->kind()) {
    case TControlKind::Edit:
    case TControlKind::ListBox:
    case TControlKind::ComboBox:
    case TControlKind::Memo:
        return {4, 4};
    default:
        return {0, 0};
    }
}

template <class Base>
void THeadless<Base>::setEnabled(bool enabled)
{
    FEnabled = enabled;
    if (!enabled && hasFocus())
        FFactory.moveFocus(nullptr);
}

template <class Base>
void THeadless<Base>::setFocus()
{
    if (FEnabled)
        FFactory.moveFocus(this);
}

template <class Base>
bool THeadless<Base>::hasFocus() const
{
    return FFactory.focused() == this;
}

template <class Base>
bool THeadless<Base>::fireKey(int key, TShiftState shift)
{
    return this->FEvents.onKey && this->FEvents.onKey(key, shift);
}

template <class Base>
void THeadless<Base>::fireClick()
{
    if (FEnabled)
        raise(this->FEvents.onClick);
}
