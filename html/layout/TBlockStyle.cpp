#include "html/layout/TBlockStyle.h"

#include <functional>
#include <tuple>

namespace {

bool SameBox(const TMargArray& a, const TMargArray& b)
{
    return a.v == b.v && a.autoCount == b.autoCount && a.topMarginExplicit == b.topMarginExplicit &&
           a.widthIsPercent == b.widthIsPercent;
}

// Every field but the resolver, for comparing.
auto FieldsOf(const TBlockStyle& s)
{
    return std::tie(s.borderStyles, s.floatKind, s.clear, s.position, s.hidden, s.displayNone, s.zIndex, s.emSize,
                    s.exSize, s.tag, s.className, s.id, s.title, s.backgroundImage, s.backgroundPosX, s.backgroundPosY,
                    s.backgroundPosXPercent, s.backgroundPosYPercent, s.backgroundRepeat, s.backgroundFixed,
                    s.pageBreakBefore, s.pageBreakAfter, s.pageBreakInsideAvoid, s.listStyleType, s.listStyleImage,
                    s.font);
}

bool SameLayout(const TBlockStyle& a, const TBlockStyle& b)
{
    return a.layout == b.layout || (a.layout && b.layout && *a.layout == *b.layout);
}

bool SameFlex(const TBlockStyle& a, const TBlockStyle& b)
{
    return a.flex == b.flex || (a.flex && b.flex && *a.flex == *b.flex);
}

void Mix(size_t& h, size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); }

} // namespace

bool TBlockStyle::hasBorderStyle() const
{
    for (TBorderKind k : borderStyles)
        if (k != TBorderKind::None)
            return true;
    return false;
}

bool TBlockStyle::Shareable() const { return boxValues.target<TFixedBoxValues>() != nullptr; }

bool TBlockStyle::SameAs(const TBlockStyle& other) const
{
    const auto* mine = boxValues.target<TFixedBoxValues>();
    const auto* theirs = other.boxValues.target<TFixedBoxValues>();
    return mine && theirs && SameBox(mine->values, theirs->values) && FieldsOf(*this) == FieldsOf(other) &&
           SameLayout(*this, other) && SameFlex(*this, other);
}

size_t TBlockStyle::Hash() const
{
    // Enough fields to tell the styles of a page apart; SameAs decides.
    size_t h = std::hash<std::string>()(tag);
    Mix(h, std::hash<std::string>()(className));
    Mix(h, std::hash<std::string>()(title));
    Mix(h, size_t(floatKind) | size_t(position) << 8 | size_t(hidden) << 16 | size_t(displayNone) << 17);
    Mix(h, size_t(font.spec.height) ^ size_t(font.color) << 20);
    if (layout)
        Mix(h, size_t(layout->overflow) | size_t(layout->fixed) << 4 | size_t(layout->maxWidth.value) << 8);
    if (flex)
        Mix(h, size_t(flex->display) | size_t(flex->order) << 4);
    if (const auto* fixed = boxValues.target<TFixedBoxValues>())
        for (int v : fixed->values.v)
            Mix(h, size_t(v));
    return h;
}

const TBoxLayoutStyle& TBlockStyle::Layout() const
{
    static const TBoxLayoutStyle none;
    return layout ? *layout : none;
}

const TFlexStyle& TBlockStyle::Flex() const
{
    static const TFlexStyle none;
    return flex ? *flex : none;
}

TBoxResolver FixedBoxValues(const TMargArray& values) { return TFixedBoxValues{values}; }
