#pragma once
// The form-control windows as Qt widgets on the viewer's paint panel.
// Programmatic changes block the widgets' signals, so onChange and onClick
// report only what the user did. Radio buttons are not auto-exclusive: the
// engine groups them itself.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "gfx/TControls.h"

// What every Qt control shares, whatever its widget.
class TQtWidgetHolder {
public:
    virtual ~TQtWidgetHolder() = default;
    virtual QWidget* widget() const = 0;
};

// Focus and key events of a control's widget, passed on to its TControlEvents.
class TQtEventBridge : public QObject {
public:
    TQtEventBridge(QWidget* widget, TControlEvents& events);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TControlEvents& FEvents;
};

// Calls an event handler; exceptions never leave a Qt slot or event handler.
void QtRaise(const std::function<void()>& handler);

template <class Base, class Widget>
class TQtControl : public Base, public TQtWidgetHolder {
public:
    explicit TQtControl(QWidget* parent) : FWidget(new Widget(parent))
    {
        FWidget->hide();
        FWidget->setGeometry(0, 0, 0, 0);
        FWidget->installEventFilter(new TQtEventBridge(FWidget, this->FEvents));
    }
    ~TQtControl() override
    {
        // The engine's handlers may belong to an object being torn down: the
        // widget's last events (focus out on deletion) must not reach them.
        this->FEvents = TControlEvents{};
        if (FWidget) {
            FWidget->blockSignals(true);
            delete FWidget.data();
        }
    }

    QWidget* widget() const override { return FWidget; }
    Widget* qwidget() const { return FWidget; }

    void setBounds(const TRect& r) override
    {
        if (FWidget)
            FWidget->setGeometry(r.left, r.top, r.width(), r.height());
    }
    TRect bounds() const override
    {
        QRect g = FWidget ? FWidget->geometry() : QRect();
        return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    }
    TPoint frameSize() const override;
    void setVisible(bool visible) override
    {
        if (FWidget)
            FWidget->setVisible(visible);
    }
    bool isVisible() const override { return FWidget && !FWidget->isHidden(); }
    void setEnabled(bool enabled) override
    {
        if (FWidget)
            FWidget->setEnabled(enabled);
    }
    bool isEnabled() const override { return FWidget && FWidget->isEnabled(); }
    void setFocus() override
    {
        if (FWidget)
            FWidget->setFocus(Qt::OtherFocusReason);
    }
    bool hasFocus() const override { return FWidget && FWidget->hasFocus(); }
    void setFont(const TFontSpec& font) override;
    void setColor(TColor color) override;
    TBitmap snapshot() const override;

protected:
    // The widget may go first when its parent panel is destroyed.
    QPointer<Widget> FWidget;
};

class TQtEdit : public TQtControl<TEditControl, QLineEdit> {
public:
    explicit TQtEdit(QWidget* parent);
    std::u16string text() const override;
    void setText(std::u16string_view text) override;
    void setEchoMode(TEchoMode mode) override;
    void setMaxLength(int length) override;
    int maxLength() const override { return FMaxLength; }

private:
    int FMaxLength = 0;
};

class TQtButton : public TQtControl<TButtonControl, QPushButton> {
public:
    explicit TQtButton(QWidget* parent);
    std::u16string caption() const override { return FCaption; }
    void setCaption(std::u16string_view caption) override;

private:
    std::u16string FCaption;
};

class TQtCheckBox : public TQtControl<TCheckControl, QCheckBox> {
public:
    explicit TQtCheckBox(QWidget* parent);
    TControlKind kind() const override { return TControlKind::CheckBox; }
    bool checked() const override { return FWidget && FWidget->isChecked(); }
    void setChecked(bool checked) override;
};

class TQtRadioButton : public TQtControl<TCheckControl, QRadioButton> {
public:
    explicit TQtRadioButton(QWidget* parent);
    TControlKind kind() const override { return TControlKind::RadioButton; }
    bool checked() const override { return FWidget && FWidget->isChecked(); }
    void setChecked(bool checked) override;
};

class TQtListBox : public TQtControl<TListControl, QListWidget> {
public:
    explicit TQtListBox(QWidget* parent);
    TControlKind kind() const override { return TControlKind::ListBox; }
    void clearItems() override;
    void addItem(std::u16string_view text) override;
    int count() const override { return FWidget ? FWidget->count() : 0; }
    std::u16string item(int index) const override;
    int itemIndex() const override;
    void setItemIndex(int index) override;
    bool selected(int index) const override;
    void setSelected(int index, bool selected) override;
    void setSelectionMode(TSelectionMode mode) override;
    int topIndex() const override;
    void setTopIndex(int index) override;
};

class TQtComboBox : public TQtControl<TListControl, QComboBox> {
public:
    explicit TQtComboBox(QWidget* parent);
    TControlKind kind() const override { return TControlKind::ComboBox; }
    void clearItems() override;
    void addItem(std::u16string_view text) override;
    int count() const override { return FWidget ? FWidget->count() : 0; }
    std::u16string item(int index) const override;
    int itemIndex() const override { return FWidget ? FWidget->currentIndex() : -1; }
    void setItemIndex(int index) override;
    bool selected(int index) const override { return index >= 0 && index == itemIndex(); }
    void setSelected(int index, bool selected) override;
    void setSelectionMode(TSelectionMode) override {}
    int topIndex() const override { return 0; }
    void setTopIndex(int) override {}
};

class TQtMemo : public TQtControl<TMemoControl, QPlainTextEdit> {
public:
    explicit TQtMemo(QWidget* parent);
    std::u16string text() const override;
    void setText(std::u16string_view text) override;
    void setWrapMode(TWrapMode mode) override;
    std::vector<std::u16string> displayedLines() const override;
    void moveCaretToStart() override;

private:
    int wrapWidth() const;
    TWrapMode FWrap = TWrapMode::Soft;
};

class TQtTabStop : public TQtControl<TControl, QWidget> {
public:
    explicit TQtTabStop(QWidget* parent);
    TControlKind kind() const override { return TControlKind::TabStop; }
};

class TQtControlFactory : public TControlFactory {
public:
    explicit TQtControlFactory(QWidget* parent) : FParent(parent) {}
    std::unique_ptr<TEditControl> createEdit() override { return std::make_unique<TQtEdit>(FParent); }
    std::unique_ptr<TButtonControl> createButton() override { return std::make_unique<TQtButton>(FParent); }
    std::unique_ptr<TCheckControl> createCheckBox() override { return std::make_unique<TQtCheckBox>(FParent); }
    std::unique_ptr<TCheckControl> createRadioButton() override
    {
        return std::make_unique<TQtRadioButton>(FParent);
    }
    std::unique_ptr<TListControl> createListBox() override { return std::make_unique<TQtListBox>(FParent); }
    std::unique_ptr<TListControl> createComboBox() override { return std::make_unique<TQtComboBox>(FParent); }
    std::unique_ptr<TMemoControl> createMemo() override { return std::make_unique<TQtMemo>(FParent); }
    std::unique_ptr<TControl> createTabStop() override { return std::make_unique<TQtTabStop>(FParent); }
    std::unique_ptr<TTimer> createTimer() override;
    int scrollBarWidth() const override;
    void setTabOrder(const std::vector<TControl*>& order) override;

private:
    QPointer<QWidget> FParent;
};
