#include "html/viewer/QtControls.h"

#include <QDebug>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <exception>
#include <type_traits>

#include "html/viewer/QtColor.h"
#include "html/viewer/QtFont.h"
#include "html/viewer/QtTimer.h"

namespace {

QString QStringOf(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

std::u16string U16Of(const QString& text) { return text.toStdU16String(); }

// Our key code for a Qt key, 0 for keys the engine does not know.
int KeyCodeOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Backspace: return KeyBack;
    case Qt::Key_Tab: return KeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return KeyReturn;
    case Qt::Key_Escape: return KeyEscape;
    case Qt::Key_PageUp: return KeyPageUp;
    case Qt::Key_PageDown: return KeyPageDown;
    case Qt::Key_End: return KeyEnd;
    case Qt::Key_Home: return KeyHome;
    case Qt::Key_Left: return KeyLeft;
    case Qt::Key_Up: return KeyUp;
    case Qt::Key_Right: return KeyRight;
    case Qt::Key_Down: return KeyDown;
    case Qt::Key_Delete: return KeyDelete;
    default: return qtKey >= 0x20 && qtKey <= 0x7E ? qtKey : 0; // Qt's printable keys are upper-case ASCII
    }
}

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers)
{
    TShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= ssShift;
    if (modifiers & Qt::AltModifier)
        shift |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        shift |= ssCtrl;
    return shift;
}

// Password boxes show "*" for each character, whatever the desktop style uses.
class TStarPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

// Check boxes and radio buttons get the box the layout gave them (13 or 16
// pixels); the desktop style's own indicator may be larger and would lose its
// right and bottom edges. The indicator is drawn the size of the box.
class TBoxIndicatorStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const bool indicator = metric == PM_IndicatorWidth || metric == PM_IndicatorHeight ||
                               metric == PM_ExclusiveIndicatorWidth || metric == PM_ExclusiveIndicatorHeight;
        if (indicator && widget && widget->width() > 0 && widget->height() > 0)
            return std::min(widget->width(), widget->height());
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

void UseBoxIndicator(QWidget* widget)
{
    auto* style = new TBoxIndicatorStyle;
    style->setParent(widget); // the widget does not own its style
    widget->setStyle(style);
}

} // namespace

void QtRaise(const std::function<void()>& handler)
{
    if (!handler)
        return;
    try {
        handler();
    } catch (const std::exception& e) {
        qWarning("control event handler failed: %s", e.what());
    }
}

// ------------------------------------------------------------ TQtEventBridge

TQtEventBridge::TQtEventBridge(QWidget* widget, TControlEvents& events) : QObject(widget), FEvents(events) {}

bool TQtEventBridge::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        QtRaise(FEvents.onFocus);
        break;
    case QEvent::FocusOut:
        QtRaise(FEvents.onBlur);
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        int code = KeyCodeOf(key->key());
        if (code != 0 && FEvents.onKey) {
            bool swallowed = false;
            QtRaise([&] { swallowed = FEvents.onKey(code, ShiftOf(key->modifiers())); });
            if (swallowed)
                return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// ------------------------------------------------------- TQtControl members

template <class Base, class Widget>
TPoint TQtControl<Base, Widget>::frameSize() const
{
    if (!FWidget)
        return {0, 0};
    if constexpr (std::is_base_of_v<QFrame, Widget>) {
        int frame = 2 * FWidget->frameWidth();
        return {frame, frame};
    } else if constexpr (std::is_same_v<Widget, QLineEdit>) {
        int frame = 2 * FWidget->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, FWidget);
        return {frame, frame};
    } else {
        return {0, 0};
    }
}

template <class Base, class Widget>
void TQtControl<Base, Widget>::setFont(const TFontSpec& font)
{
    if (FWidget)
        FWidget->setFont(QtFontOf(font));
}

template <class Base, class Widget>
void TQtControl<Base, Widget>::setColor(TColor color)
{
    if (!FWidget)
        return;
    if (color == ClNone) {
        FWidget->setPalette(QPalette());
        FWidget->setAutoFillBackground(false);
        return;
    }
    QPalette palette = FWidget->palette();
    QColor qcolor = QtColorOf(color);
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
        palette.setColor(role, qcolor);
    FWidget->setPalette(palette);
    FWidget->setAutoFillBackground(true);
}

template <class Base, class Widget>
TBitmap TQtControl<Base, Widget>::snapshot() const
{
    if (!FWidget || FWidget->width() <= 0 || FWidget->height() <= 0)
        return {};
    QImage image = FWidget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    TBitmap bitmap(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        std::copy(row, row + image.width(), &bitmap.at(0, y));
    }
    return bitmap;
}

template class TQtControl<TEditControl, QLineEdit>;
template class TQtControl<TButtonControl, QPushButton>;
template class TQtControl<TCheckControl, QCheckBox>;
template class TQtControl<TCheckControl, QRadioButton>;
template class TQtControl<TListControl, QListWidget>;
template class TQtControl<TListControl, QComboBox>;
template class TQtControl<TMemoControl, QPlainTextEdit>;
template class TQtControl<TControl, QWidget>;

// ------------------------------------------------------------------ TQtEdit

TQtEdit::TQtEdit(QWidget* parent) : TQtControl(parent)
{
    QObject::connect(FWidget, &QLineEdit::textEdited, [this] { QtRaise(FEvents.onChange); });
}

std::u16string TQtEdit::text() const { return FWidget ? U16Of(FWidget->text()) : std::u16string(); }

void TQtEdit::setText(std::u16string_view text)
{
    if (!FWidget)
        return;
    QSignalBlocker block(FWidget);
    FWidget->setText(QStringOf(text));
}

void TQtEdit::setEchoMode(TEchoMode mode)
{
    if (!FWidget)
        return;
    if (mode == TEchoMode::Password && !FWidget->findChild<TStarPasswordStyle*>()) {
        auto* style = new TStarPasswordStyle;
        style->setParent(FWidget); // the widget does not own its style
        FWidget->setStyle(style);
    }
    FWidget->setEchoMode(mode == TEchoMode::Password ? QLineEdit::Password : QLineEdit::Normal);
}

void TQtEdit::setMaxLength(int length)
{
    FMaxLength = std::max(0, length);
    if (!FWidget)
        return;
    QSignalBlocker block(FWidget);
    FWidget->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
}

// ---------------------------------------------------------------- TQtButton

TQtButton::TQtButton(QWidget* parent) : TQtControl(parent)
{
    QObject::connect(FWidget, &QPushButton::clicked, [this] { QtRaise(FEvents.onClick); });
}

void TQtButton::setCaption(std::u16string_view caption)
{
    FCaption = caption;
    // "&" would mark a mnemonic in Qt; the caption is shown as written.
    if (FWidget)
        FWidget->setText(QStringOf(caption).replace(u'&', QStringLiteral("&&")));
}

// ------------------------------------------------- TQtCheckBox, TQtRadioButton

TQtCheckBox::TQtCheckBox(QWidget* parent) : TQtControl(parent)
{
    UseBoxIndicator(FWidget);
    QObject::connect(FWidget, &QCheckBox::clicked, [this] { QtRaise(FEvents.onClick); });
}

void TQtCheckBox::setChecked(bool checked)
{
    if (!FWidget)
        return;
    QSignalBlocker block(FWidget);
    FWidget->setChecked(checked);
}

TQtRadioButton::TQtRadioButton(QWidget* parent) : TQtControl(parent)
{
    UseBoxIndicator(FWidget);
    FWidget->setAutoExclusive(false);
    QObject::connect(FWidget, &QRadioButton::clicked, [this] { QtRaise(FEvents.onClick); });
}

void TQtRadioButton::setChecked(bool checked)
{
    if (!FWidget)
        return;
    QSignalBlocker block(FWidget);
    FWidget->setChecked(checked);
}

// --------------------------------------------------------------- TQtListBox

TQtListBox::TQtListBox(QWidget* parent) : TQtControl(parent)
{
    FWidget->setSelectionMode(QAbstractItemView::SingleSelection);
    QObject::connect(FWidget, &QListWidget::itemSelectionChanged, [this] { QtRaise(FEvents.onChange); });
}

void TQtListBox::clearItems()
{
    if (!FWidget)
        return;
    QSignalBlocker block(FWidget);
    FWidget->clear();
}

void TQtListBox::addItem(std::u16string_view text)
{
    if (!FWidget)
        return;
    QSignalBlocker block(FWidget);
    FWidget->addItem(QStringOf(text));
}

std::u16string TQtListBox::item(int index) const
{
    QListWidgetItem* entry = FWidget ? FWidget->item(index) : nullptr;
    return entry ? U16Of(entry->text()) : std::u16string();
}

int TQtListBox::itemIndex() const { return FWidget ? FWidget->currentRow() : -1; }

void TQtListBox::setItemIndex(int index)
{
    if (!FWidget)
        return;
    QSignalBlocker block(FWidget);
    QSignalBlocker blockSelection(FWidget->selectionModel());
    if (index < 0 || index >= FWidget->count()) {
        FWidget->clearSelection();
        FWidget->setCurrentRow(-1);
        return;
    }
    FWidget->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

bool TQtListBox::selected(int index) const
{
    QListWidgetItem* entry = FWidget ? FWidget->item(index) : nullptr;
    return entry && entry->isSelected();
}

void TQtListBox::setSelected(int index, bool selected)
{
    QListWidgetItem* entry = FWidget ? FWidget->item(index) : nullptr;
    if (!entry)
        return;
    if (FWidget->selectionMode() == QAbstractItemView::SingleSelection) {
        if (selected)
            setItemIndex(index);
        else if (index == itemIndex())
            setItemIndex(-1);
        return;
    }
    QSignalBlocker block(FWidget);
    entry->setSelected(selected);
}

void TQtListBox::setSelectionMode(TSelectionMode mode)
{
    if (!FWidget)
        return;
    QSignalBlocker block(FWidget);
    FWidget->setSelectionMode(mode == TSelectionMode::Multiple ? QAbstractItemView::ExtendedSelection
                                                                : QAbstractItemView::SingleSelection);
}

int TQtListBox::topIndex() const
{
    // The list scrolls by whole items, so the scroll bar counts items.
    return FWidget ? FWidget->verticalScrollBar()->value() : 0;
}

void TQtListBox::setTopIndex(int index)
{
    if (FWidget)
        FWidget->verticalScrollBar()->setValue(index);
}

// -------------------------------------------------------------- TQtComboBox

TQtComboBox::TQtComboBox(QWidget* parent) : TQtControl(parent)
{
    QObject::connect(FWidget, &QComboBox::activated, [this] { QtRaise(FEvents.onChange); });
}

void TQtComboBox::clearItems()
{
    if (!FWidget)
        return;
    QSignalBlocker block(FWidget);
    FWidget->clear();
}

void TQtComboBox::addItem(std::u16string_view text)
{
    if (!FWidget)
        return;
    QSignalBlocker block(FWidget);
    FWidget->addItem(QStringOf(text));
}

std::u16string TQtComboBox::item(int index) const
{
    return FWidget && index >= 0 && index < FWidget->count() ? U16Of(FWidget->itemText(index)) : std::u16string();
}

void TQtComboBox::setItemIndex(int index)
{
    if (!FWidget)
        return;
    QSignalBlocker block(FWidget);
    FWidget->setCurrentIndex(index >= 0 && index < FWidget->count() ? index : -1);
}

void TQtComboBox::setSelected(int index, bool selected)
{
    if (selected)
        setItemIndex(index);
    else if (index == itemIndex())
        setItemIndex(-1);
}

// ------------------------------------------------------------------ TQtMemo

TQtMemo::TQtMemo(QWidget* parent) : TQtControl(parent)
{
    setWrapMode(TWrapMode::Soft);
    QObject::connect(FWidget, &QPlainTextEdit::textChanged, [this] { QtRaise(FEvents.onChange); });
}

std::u16string TQtMemo::text() const { return FWidget ? U16Of(FWidget->toPlainText()) : std::u16string(); }

void TQtMemo::setText(std::u16string_view text)
{
    if (!FWidget)
        return;
    QSignalBlocker block(FWidget);
    FWidget->setPlainText(QStringOf(text));
}

void TQtMemo::setWrapMode(TWrapMode mode)
{
    FWrap = mode;
    if (!FWidget)
        return;
    bool wrap = mode != TWrapMode::Off;
    FWidget->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    FWidget->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    FWidget->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
}

int TQtMemo::wrapWidth() const
{
    // Worked out from the geometry rather than the viewport, which a hidden
    // widget does not resize yet.
    int scrollBar = FWidget->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, FWidget);
    double margin = FWidget->document()->documentMargin();
    return std::max(1, FWidget->width() - 2 * FWidget->frameWidth() - scrollBar - int(2 * margin));
}

std::vector<std::u16string> TQtMemo::displayedLines() const
{
    std::vector<std::u16string> lines;
    if (!FWidget)
        return lines;
    const QString all = FWidget->toPlainText();
    const QStringList paragraphs = all.split(u'\n');
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString& paragraph : paragraphs) {
        if (FWrap == TWrapMode::Off || paragraph.isEmpty()) {
            lines.push_back(U16Of(paragraph));
            continue;
        }
        QTextLayout layout(paragraph, FWidget->font());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(wrapWidth());
            lines.push_back(U16Of(paragraph.mid(line.textStart(), line.textLength())));
        }
        layout.endLayout();
    }
    return lines;
}

void TQtMemo::moveCaretToStart()
{
    if (FWidget)
        FWidget->moveCursor(QTextCursor::Start);
}

// --------------------------------------------------------------- TQtTabStop

TQtTabStop::TQtTabStop(QWidget* parent) : TQtControl(parent) { FWidget->setFocusPolicy(Qt::TabFocus); }

// -------------------------------------------------------- TQtControlFactory

std::unique_ptr<TTimer> TQtControlFactory::createTimer() { return std::make_unique<TQtTimer>(); }

int TQtControlFactory::scrollBarWidth() const
{
    QStyle* style = FParent ? FParent->style() : nullptr;
    return style ? style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, FParent) : 16;
}

void TQtControlFactory::setTabOrder(const std::vector<TControl*>& order)
{
    // QWidget::setTabOrder cannot move a widget behind one that follows it in
    // the chain, but a widget given its parent again goes to the chain's end:
    // doing that in order builds the whole sequence.
    for (TControl* control : order) {
        auto* holder = dynamic_cast<TQtWidgetHolder*>(control);
        QWidget* widget = holder ? holder->widget() : nullptr;
        QWidget* parent = widget ? widget->parentWidget() : nullptr;
        if (!parent)
            continue;
        bool visible = !widget->isHidden();
        QRect geometry = widget->geometry();
        widget->setParent(nullptr);
        widget->setParent(parent);
        widget->setGeometry(geometry);
        widget->setVisible(visible);
    }
}
