#include "html/layout/TFloatingObj.h"

#include <algorithm>
#include <cstdlib>

#include "html/layout/ObjectAttributes.h"
#include "html/layout/TSectionList.h"

namespace {

constexpr int MaxSpace = 40;
constexpr int FloatSpace = 3;

int SpaceOf(int v) { return std::min(MaxSpace, std::abs(v)); }

} // namespace

TFloatingObj::TFloatingObj(TSectionList& document, const TAttributeList& attrs)
{
    for (THtmlSymbol which : {NameSy, IDSy}) {
        std::string name = AttrText(attrs, which);
        if (!name.empty())
            document.AddID(name, this);
    }
    Alt = AttrText(attrs, AltSy);
    Title = HasAttr(attrs, TitleSy) ? AttrText(attrs, TitleSy) : Alt;
    std::string align = UpperTrim(AttrText(attrs, AlignSy));
    if (align == "TOP")
        VertAlign = TVAlign::Top;
    else if (align == "MIDDLE" || align == "ABSMIDDLE")
        VertAlign = TVAlign::Middle;
    else if (align == "LEFT")
        FloatKind = TFloatKind::Left;
    else if (align == "RIGHT")
        FloatKind = TFloatKind::Right;
    if (auto w = AttrLength(attrs, WidthSy)) {
        PercentWidth = w->percent;
        SpecWidth = PercentWidth ? std::clamp(w->value, 1, 100) : std::max(0, ClampPixels(w->value));
    }
    if (auto h = AttrLength(attrs, HeightSy)) {
        PercentHeight = h->percent;
        SpecHeight = PercentHeight ? std::clamp(h->value, 1, 100) : std::max(1, ClampPixels(h->value));
    }
    if (auto h = AttrInt(attrs, HSpaceSy)) {
        HSpaceL = HSpaceR = SpaceOf(*h);
        FHSpaceGiven = true;
    } else if (Floats()) {
        HSpaceL = HSpaceR = FloatSpace;
    }
    if (auto v = AttrInt(attrs, VSpaceSy))
        VSpaceT = VSpaceB = SpaceOf(*v);
}

void TFloatingObj::SetSpaces(int h, int v)
{
    HSpaceL = HSpaceR = SpaceOf(h);
    VSpaceT = VSpaceB = SpaceOf(v);
    FHSpaceGiven = true;
}

void TFloatingObj::ApplyStyle(const TObjectStyle& style)
{
    if (style.verticalAlign)
        VertAlign = *style.verticalAlign;
    if (style.floatKind != TFloatKind::None) {
        FloatKind = style.floatKind;
        if (!FHSpaceGiven)
            HSpaceL = HSpaceR = FloatSpace;
    }
    if (Title.empty() && !style.title.empty())
        Title = style.title;
    constexpr int MarginBase = 200;
    int* spaces[4] = {&HSpaceL, &HSpaceR, &VSpaceT, &VSpaceB};
    for (int side = 0; side < 4; ++side)
        if (style.margins[size_t(side)].IsSet())
            *spaces[side] = std::max(0, ClampPixels(style.margins[size_t(side)].Resolve(MarginBase)));
    auto takeLength = [](const TStyleLength& l, int& spec, bool& percent) {
        if (!l.IsSet())
            return;
        percent = l.IsPercent();
        spec = percent ? std::clamp(l.value, 0, 100) : std::max(0, ClampPixels(l.Resolve(0)));
    };
    takeLength(style.width, SpecWidth, PercentWidth);
    takeLength(style.height, SpecHeight, PercentHeight);
}
