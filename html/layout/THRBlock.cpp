#include "html/layout/THRBlock.h"

#include <algorithm>

#include "html/layout/ObjectAttributes.h"
#include "html/layout/TSectionList.h"
#include "html/style/StyleValues.h"

namespace {

constexpr int MinimumRuleWidth = 15;

int RuleSize(const TAttributeList& attrs)
{
    int size = AttrInt(attrs, SizeSy).value_or(THorzLine::DefaultSize);
    return size >= 1 && size <= THorzLine::MaxSize ? size : THorzLine::DefaultSize;
}

// The rule's SIZE and WIDTH become the block's height and width unless the
// style gives them.
TBlockStyle RuleStyle(TBlockStyle style, const TAttributeList& attrs)
{
    int size = RuleSize(attrs);
    std::optional<TAttrLength> width = AttrLength(attrs, WidthSy);
    if (width && width->percent)
        width->value = std::clamp(width->value, 0, 100);
    TBoxResolver inner = style.boxValues;
    style.boxValues = [inner, size, width](int widthBase, int heightBase) {
        TMargArray m = inner ? inner(widthBase, heightBase) : TMargArray{};
        if (width && width->value > 0 && m[BoxWidth] == BoxAuto) {
            m[BoxWidth] = width->percent ? int((long long)widthBase * width->value / 100) : ClampPixels(width->value);
            m.widthIsPercent = width->percent;
            m.autoCount = std::max(0, m.autoCount - 1);
        }
        if (m[BoxHeight] <= 0)
            m[BoxHeight] = size;
        return m;
    };
    return style;
}

TRuleAlign AlignOf(const TAttributeList& attrs)
{
    std::string align = LowerText(AttrText(attrs, AlignSy));
    return align == "left" ? TRuleAlign::Left : align == "right" ? TRuleAlign::Right : TRuleAlign::Center;
}

} // namespace

THRBlock::THRBlock(TSectionList& document, TCellBasic& cell, TBlockStyle style, const TAttributeList& attrs,
                   TColor styleColor, std::optional<TRuleAlign> styleAlign)
    : TBlock(document, cell, RuleStyle(std::move(style), attrs))
{
    Align = styleAlign.value_or(AlignOf(attrs));
    TColor color = styleColor;
    if (color == ClNone && HasAttr(attrs, ColorSy))
        color = ParseColor(AttrText(attrs, ColorSy)).value_or(ClNone);
    auto line = std::make_unique<THorzLine>(document, RuleSize(attrs), color, Align, HasAttr(attrs, NoShadeSy));
    FLine = line.get();
    MyCell.AddSection(std::move(line));
}

THRBlock::THRBlock(const THRBlock& source, TSectionList& target) : TBlock(source, target), Align(source.Align)
{
    if (!MyCell.Sections.empty())
        FLine = dynamic_cast<THorzLine*>(MyCell.Sections.front().get());
}

std::unique_ptr<TSectionBase> THRBlock::CloneInto(TSectionList& target) const
{
    return std::unique_ptr<TSectionBase>(new THRBlock(*this, target));
}

int THRBlock::ContentWidth(TCanvas&, TMargArray& m, int availWidth, int)
{
    for (int i : {BoxMarginLeft, BoxMarginRight})
        if (m[i] == BoxAuto)
            m[i] = 0;
    TRuleAlign align = IsAbsolute() ? TRuleAlign::Left : Align;
    int room = std::max(MinimumRuleWidth, availWidth - HorizontalExtras(m) - m[BoxMarginLeft] - m[BoxMarginRight]);
    int w = m[BoxWidth] == BoxAuto || m[BoxWidth] <= 0 ? room : std::min(m[BoxWidth], room);
    int freeSpace = std::max(0, room - w);
    if (align == TRuleAlign::Center)
        m[BoxMarginLeft] += freeSpace / 2;
    else if (align == TRuleAlign::Right)
        m[BoxMarginLeft] += freeSpace;
    return w;
}
