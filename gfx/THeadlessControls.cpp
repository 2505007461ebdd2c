#include "gfx/THeadlessControls.h"

#include "gfx/TFixedCanvas.h"

// ------------------------------------------------------------- THeadlessEdit

void THeadlessEdit::setText(std::u16string_view text)
{
    FText = text;
    if (FMaxLength > 0 && FText.size() > size_t(FMaxLength))
        FText.resize(size_t(FMaxLength));
}

std::u16string THeadlessEdit::shownText() const
{
    return FEchoMode == TEchoMode::Password ? std::u16string(FText.size(), u'*') : FText;
}

void THeadlessEdit::setMaxLength(int length)
{
    FMaxLength = std::max(0, length);
    setText(std::u16string(FText));
}

void THeadlessEdit::typeText(std::u16string_view text)
{
    if (!isEnabled())
        return;
    setText(text);
    raise(FEvents.onChange);
}

// ------------------------------------------------------------ THeadlessCheck

void THeadlessCheck::userClick()
{
    if (!isEnabled())
        return;
    FChecked = FKind == TControlKind::RadioButton ? true : !FChecked;
    raise(FEvents.onClick);
}

// ------------------------------------------------------------- THeadlessList

void THeadlessList::clearItems()
{
    FItems.clear();
    FSelected.clear();
    FIndex = -1;
    FTop = 0;
}

void THeadlessList::addItem(std::u16string_view text)
{
    FItems.emplace_back(text);
    FSelected.push_back(false);
}

std::u16string THeadlessList::item(int index) const { return valid(index) ? FItems[size_t(index)] : std::u16string(); }

void THeadlessList::setItemIndex(int index)
{
    if (!valid(index))
        index = -1;
    if (FMode == TSelectionMode::Single || index < 0)
        std::fill(FSelected.begin(), FSelected.end(), false);
    FIndex = index;
    if (index >= 0)
        FSelected[size_t(index)] = true;
}

bool THeadlessList::selected(int index) const { return valid(index) && FSelected[size_t(index)]; }

void THeadlessList::setSelected(int index, bool selected)
{
    if (!valid(index))
        return;
    if (FMode == TSelectionMode::Single) {
        if (selected)
            setItemIndex(index);
        else if (index == FIndex)
            setItemIndex(-1);
        return;
    }
    FSelected[size_t(index)] = selected;
    if (selected)
        FIndex = index;
}

void THeadlessList::setSelectionMode(TSelectionMode mode)
{
    // A drop-down list never selects more than one item.
    FMode = FKind == TControlKind::ComboBox ? TSelectionMode::Single : mode;
    if (FMode == TSelectionMode::Single)
        setItemIndex(FIndex);
}

void THeadlessList::setTopIndex(int index)
{
    if (FKind == TControlKind::ListBox)
        FTop = std::clamp(index, 0, std::max(0, count() - 1));
}

void THeadlessList::userSelect(int index)
{
    if (!isEnabled() || !valid(index))
        return;
    if (FMode == TSelectionMode::Multiple)
        setSelected(index, !selected(index));
    else
        setItemIndex(index);
    raise(FEvents.onChange);
}

// ------------------------------------------------------------- THeadlessMemo

namespace {

// Splits at "\r\n", "\n" and "\r".
std::vector<std::u16string> HardLines(std::u16string_view text)
{
    std::vector<std::u16string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

// Cuts one line into pieces of at most columns characters, after the last
// space that fits when there is one.
void WrapInto(std::vector<std::u16string>& out, std::u16string_view line, size_t columns)
{
    while (line.size() > columns) {
        size_t cut = line.rfind(u' ', columns - 1);
        size_t take = (cut == std::u16string_view::npos || cut == 0) ? columns : cut + 1;
        out.emplace_back(line.substr(0, take));
        line.remove_prefix(take);
    }
    out.emplace_back(line);
}

} // namespace

std::vector<std::u16string> THeadlessMemo::displayedLines() const
{
    std::vector<std::u16string> lines = HardLines(FText);
    if (FWrap == TWrapMode::Off)
        return lines;
    int unit = TFixedFont(font()).unit();
    size_t columns = size_t(std::max(1, (bounds().width() - frameSize().x) / unit));
    std::vector<std::u16string> wrapped;
    for (const std::u16string& line : lines)
        WrapInto(wrapped, line, columns);
    return wrapped;
}

void THeadlessMemo::typeText(std::u16string_view text)
{
    if (!isEnabled())
        return;
    FText = text;
    raise(FEvents.onChange);
}

// --------------------------------------------------- THeadlessControlFactory

THeadlessControlFactory::~THeadlessControlFactory()
{
    for (THeadlessTimer* timer : FTimers)
        timer->FFactory = nullptr;
}

std::unique_ptr<TEditControl> THeadlessControlFactory::createEdit() { return std::make_unique<THeadlessEdit>(*this); }

std::unique_ptr<TButtonControl> THeadlessControlFactory::createButton()
{
    return std::make_unique<THeadlessButton>(*this);
}

std::unique_ptr<TCheckControl> THeadlessControlFactory::createCheckBox()
{
    return std::make_unique<THeadlessCheck>(*this, TControlKind::CheckBox);
}

std::unique_ptr<TCheckControl> THeadlessControlFactory::createRadioButton()
{
    return std::make_unique<THeadlessCheck>(*this, TControlKind::RadioButton);
}

std::unique_ptr<TListControl> THeadlessControlFactory::createListBox()
{
    return std::make_unique<THeadlessList>(*this, TControlKind::ListBox);
}

std::unique_ptr<TListControl> THeadlessControlFactory::createComboBox()
{
    return std::make_unique<THeadlessList>(*this, TControlKind::ComboBox);
}

std::unique_ptr<TMemoControl> THeadlessControlFactory::createMemo() { return std::make_unique<THeadlessMemo>(*this); }

std::unique_ptr<TControl> THeadlessControlFactory::createTabStop()
{
    return std::make_unique<THeadlessTabStop>(*this);
}

std::unique_ptr<TTimer> THeadlessControlFactory::createTimer()
{
    auto timer = std::make_unique<THeadlessTimer>(*this);
    FTimers.push_back(timer.get());
    return timer;
}

void THeadlessControlFactory::moveFocus(TControl* control)
{
    if (control == FFocused)
        return;
    TControl* old = FFocused;
    FFocused = control;
    if (old && old->events().onBlur)
        old->events().onBlur();
    // The blur handler may have moved the focus on already.
    if (control && FFocused == control && control->events().onFocus)
        control->events().onFocus();
}

void THeadlessControlFactory::tabForward()
{
    if (FTabOrder.empty())
        return;
    auto at = std::find(FTabOrder.begin(), FTabOrder.end(), FFocused);
    size_t start = at == FTabOrder.end() ? FTabOrder.size() - 1 : size_t(at - FTabOrder.begin());
    for (size_t step = 1; step <= FTabOrder.size(); ++step) {
        TControl* next = FTabOrder[(start + step) % FTabOrder.size()];
        if (next->isEnabled()) {
            moveFocus(next);
            return;
        }
    }
}

int THeadlessControlFactory::tickTimers()
{
    // A handler may destroy or create timers: walk a copy, skipping the gone ones.
    std::vector<THeadlessTimer*> timers = FTimers;
    int fired = 0;
    for (THeadlessTimer* timer : timers) {
        if (std::find(FTimers.begin(), FTimers.end(), timer) != FTimers.end() && timer->tick())
            ++fired;
    }
    return fired;
}

void THeadlessControlFactory::forget(TControl* control)
{
    if (FFocused == control)
        FFocused = nullptr;
    std::erase(FTabOrder, control);
}

void THeadlessControlFactory::forget(THeadlessTimer* timer) { std::erase(FTimers, timer); }
