#include "html/layout/TListBoxFormControlObj.h"

#include <algorithm>

#include "html/layout/ObjectAttributes.h"
#include "util/CodePage.h"

namespace {
constexpr int DefaultMaxRows = 8;
constexpr int ParkedWidth = 10;
constexpr int WidthExtra = 10;
} // namespace

TListBoxFormControlObj::TListBoxFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                                               const TObjectStyle& style)
    : TListBoxFormControlObj(document, form, attrs, style, TKind::ListBox)
{
}

TListBoxFormControlObj::TListBoxFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                                               const TObjectStyle& style, TKind kind)
    : TFormControlObj(document, form, attrs, style)
{
    if (auto size = AttrInt(attrs, SizeSy))
        Rows = std::max(1, std::min(*size, 1000));
    auto list = kind == TKind::Combo ? Factory().createComboBox() : Factory().createListBox();
    FMultiple = kind == TKind::ListBox && HasAttr(attrs, MultipleSy);
    list->setSelectionMode(FMultiple ? TSelectionMode::Multiple : TSelectionMode::Single);
    SetControl(std::move(list));
}

void TListBoxFormControlObj::AddOption(std::u16string text, bool selected, const TAttributeList& optionAttrs)
{
    TSelectOption option;
    if (text.empty())
        text.push_back(u' ');
    option.value = HasAttr(optionAttrs, ValueSy) ? AttrText(optionAttrs, ValueSy) : CodePage::FromUtf16(CodePageNumber, text);
    option.text = std::move(text);
    option.selected = selected;
    TListControl& list = List();
    list.addItem(option.text);
    int index = int(FOptions.size());
    if (FMultiple) {
        if (selected)
            list.setSelected(index, true);
    } else if (selected || index == 0) {
        list.setItemIndex(index);
    }
    FOptions.push_back(std::move(option));
    FWidest = -1;
}

void TListBoxFormControlObj::Rebuild()
{
    TListControl& list = List();
    list.clearItems();
    for (const TSelectOption& o : FOptions)
        list.addItem(o.text);
}

void TListBoxFormControlObj::ResetToInitial()
{
    Rebuild();
    TListControl& list = List();
    int first = -1;
    for (size_t i = 0; i < FOptions.size(); ++i)
        if (FOptions[i].selected) {
            if (FMultiple)
                list.setSelected(int(i), true);
            if (first < 0)
                first = int(i);
        }
    if (!FMultiple)
        list.setItemIndex(FOptions.empty() ? -1 : std::max(first, 0));
    list.setTopIndex(0);
}

bool TListBoxFormControlObj::Chosen(int index) const
{
    return FMultiple ? List().selected(index) : List().itemIndex() == index;
}

bool TListBoxFormControlObj::SubmissionItem(int index, std::string& text)
{
    if (index < 0 || index >= int(FOptions.size()))
        return false;
    text = Chosen(index) ? FName + "=" + FOptions[size_t(index)].value : std::string();
    return true;
}

void TListBoxFormControlObj::SetValue(int index, const std::string& text)
{
    TListControl& list = List();
    if (index == 0) {
        list.setItemIndex(FOptions.empty() ? -1 : 0);
        if (FMultiple)
            for (int i = 0; i < int(FOptions.size()); ++i)
                list.setSelected(i, false);
    }
    for (int i = 0; i < int(FOptions.size()); ++i)
        if (FOptions[size_t(i)].value == text) {
            if (FMultiple)
                list.setSelected(i, true);
            else
                list.setItemIndex(i);
        }
}

std::vector<bool> TListBoxFormControlObj::SelectionState() const
{
    int n = std::min<int>(int(FOptions.size()), SavedSelectionLimit);
    std::vector<bool> state(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        state[size_t(i)] = Chosen(i);
    return state;
}

void TListBoxFormControlObj::RememberContents()
{
    FSaved = SelectionState();
    FSavedCount = List().count();
}

void TListBoxFormControlObj::CheckChange()
{
    std::vector<bool> now = SelectionState();
    if (now != FSaved || List().count() != FSavedCount) {
        FSaved = std::move(now);
        FSavedCount = List().count();
        FireScript(TControlEvent::Change, OnChange);
    }
}

int TListBoxFormControlObj::WidestOption(TCanvas& canvas)
{
    if (FWidest < 0 || FWidestFont != FStyle.font) {
        TFontRef font = ControlFont(canvas);
        FWidest = 0;
        for (const TSelectOption& o : FOptions)
            FWidest = std::max(FWidest, font->textWidth(o.text));
        FWidestFont = FStyle.font;
    }
    return FWidest;
}

int TListBoxFormControlObj::ListWidth(TCanvas& canvas)
{
    if (PercentWidth >= 0)
        return ParkedWidth;
    if (StyleWidth > 0)
        return StyleWidth;
    return Factory().scrollBarWidth() + WidestOption(canvas) + WidthExtra;
}

void TListBoxFormControlObj::SizeControl(TCanvas& canvas)
{
    int rows = Rows > 0 ? Rows : std::max(1, std::min(DefaultMaxRows, int(FOptions.size())));
    int client = StyleHeight >= 10 ? StyleHeight : TextHeightOfA(canvas) * rows;
    int height = client + FControl->frameSize().y;
    int width = ListWidth(canvas);
    if (PercentWidth >= 0)
        FControl->setBounds({-4000, 0, -4000 + width, height});
    else
        FControl->setSize(width, height);
}

void TListBoxFormControlObj::PaintImage(TCanvas& canvas, int x, int y)
{
    TRect r{x, y, x + Width(), y + Height()};
    canvas.drawEdge(r, TEdgeKind::Sunken);
    std::vector<std::u16string> shown;
    size_t fitting = size_t(std::max(0, r.height())); // at most one line per pixel
    for (size_t i = size_t(std::max(0, List().topIndex())); i < FOptions.size() && shown.size() < fitting; ++i)
        shown.push_back(FOptions[i].text);
    PaintBoxText(canvas, r, r.right - 2, shown, y + TextInset);
}
