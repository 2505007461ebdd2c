#include "html/layout/TCellObj.h"

#include <algorithm>

#include "html/layout/TSectionList.h"

namespace {
const TCellSpec DefaultSpec;

// Whether the cell style says anything the cell reads after construction (border
// widths and colours count only with a border style).
bool NeedsSpecCopy(const TCellSpec& spec)
{
    return spec.padding != DefaultSpec.padding || spec.borderStyles != DefaultSpec.borderStyles ||
           spec.pageBreakBefore || spec.pageBreakAfter || spec.pageBreakInsideAvoid;
}
} // namespace

TCellObj::TCellObj(TSectionList& document, const TCellSpec& spec, int depth, TCellBasic* parent)
    : FCell(&document, depth, parent)
{
    if (NeedsSpecCopy(spec))
        Own().spec = std::make_unique<const TCellSpec>(spec);
    ColSpan = int16_t(std::clamp(spec.colSpan, 1, MaxCellSpan));
    RowSpan = int16_t(std::clamp(spec.rowSpan, 1, MaxCellSpan));
    VAlign = spec.vAlign;
    SpecWd = std::max(0, spec.width);
    SpecWdPercent = spec.widthIsPercent;
    if (SpecWdPercent)
        SpecWd = std::min(SpecWd, 1000);
    SpecHt = std::clamp(spec.height, 0, MaxBoxPixels);
    SpecHtPercent = int8_t(std::clamp(spec.heightPercent, 0, 100));
    Background = spec.background;
    SetBackgroundPicture(spec.backgroundImage, spec.backgroundPlacement);
    FCell.OwnerKind = TCellOwner::Other;
}

TCellObj::TCellObj(const TCellObj& source, TSectionList& target)
    : FCell(&target), ColSpan(source.ColSpan), RowSpan(source.RowSpan), VAlign(source.VAlign),
      SpecHtPercent(source.SpecHtPercent), SpecWdPercent(source.SpecWdPercent), FTableBorder(source.FTableBorder),
      FPrepared(source.FPrepared), FCellPadding(source.FCellPadding), Ht(source.Ht), Wd(source.Wd),
      CellHeight(source.CellHeight), YIndent(source.YIndent), SpecWd(source.SpecWd), SpecHt(source.SpecHt),
      Background(source.Background)
{
    if (source.FOwn && source.FOwn->spec)
        Own().spec = std::make_unique<const TCellSpec>(*source.FOwn->spec);
    if (const TCellSides* sides = source.CollapsedSides())
        Own().collapsed = std::make_unique<TCellSides>(*sides);
    if (const TBackgroundPicture* picture = source.BackgroundPicture(); picture && target.ShowImages)
        Own().picture = std::make_unique<TBackgroundPicture>(*picture);
    FCell.CloneSectionsFrom(source.FCell, target);
}

TCellObj::TOwnData& TCellObj::Own()
{
    if (!FOwn)
        FOwn = std::make_unique<TOwnData>();
    return *FOwn;
}

void TCellObj::TrimOwn()
{
    if (FOwn && FOwn->Empty())
        FOwn.reset();
}

const TCellObj::TBackgroundPicture* TCellObj::BackgroundPicture() const
{
    return FOwn ? FOwn->picture.get() : nullptr;
}

void TCellObj::SetBackgroundPicture(const std::string& name, const TBackgroundPlacement& placement)
{
    if (name.empty())
        DropBackgroundPicture();
    else
        Own().picture = std::make_unique<TBackgroundPicture>(TBackgroundPicture{name, placement});
}

void TCellObj::DropBackgroundPicture()
{
    if (FOwn)
        FOwn->picture.reset();
    TrimOwn();
}

const TCellSpec& TCellObj::Spec() const { return FOwn && FOwn->spec ? *FOwn->spec : DefaultSpec; }

bool TCellObj::HasBorderStyle() const
{
    const TCellSpec& spec = Spec();
    return std::any_of(spec.borderStyles.begin(), spec.borderStyles.end(),
                       [](TBorderKind k) { return k != TBorderKind::None; });
}

void TCellObj::Prepare(int cellPadding, bool tableBorder)
{
    FCellPadding = uint8_t(std::clamp(cellPadding, 0, 255));
    FTableBorder = tableBorder;
    FPrepared = true;
}

std::array<int, 4> TCellObj::Padding() const
{
    std::array<int, 4> padding{};
    if (!FPrepared)
        return padding;
    const TCellSpec& spec = Spec();
    for (size_t i = 0; i < 4; ++i)
        padding[i] = spec.padding[i] == TCellSpec::NotGiven ? FCellPadding : std::clamp(spec.padding[i], 0, MaxBoxPixels);
    return padding;
}

std::array<int, 4> TCellObj::Border() const
{
    std::array<int, 4> border{};
    if (!FPrepared)
        return border;
    if (const TCellSides* sides = CollapsedSides()) {
        for (size_t i = 0; i < 4; ++i)
            border[i] = (*sides)[i].style == TBorderKind::None ? 0 : (*sides)[i].width;
        return border;
    }
    if (!HasBorderStyle()) {
        // Without border styles of its own, a cell of a bordered table has a
        // one-pixel frame.
        border.fill(FTableBorder ? 1 : 0);
        return border;
    }
    const TCellSpec& spec = Spec();
    for (size_t i = 0; i < 4; ++i)
        border[i] = spec.borderStyles[i] != TBorderKind::None ? std::clamp(spec.border[i], 0, MaxBoxPixels) : 0;
    return border;
}

int TCellObj::HzSpace() const
{
    std::array<int, 4> p = Padding(), b = Border();
    return p[3] + b[3] + b[1] + p[1];
}

int TCellObj::VrSpace() const
{
    std::array<int, 4> p = Padding(), b = Border();
    return p[0] + b[0] + b[2] + p[2];
}

TCellSides TCellObj::OwnSides(TColor frameColor) const
{
    TCellSides sides;
    if (!HasBorderStyle()) {
        if (FTableBorder)
            sides.fill(TBorderSide{1, TBorderKind::Solid, frameColor});
        return sides;
    }
    const TCellSpec& spec = Spec();
    for (size_t i = 0; i < 4; ++i) {
        if (spec.borderStyles[i] == TBorderKind::None)
            continue;
        sides[i].style = spec.borderStyles[i];
        sides[i].width = std::clamp(spec.border[i], 0, MaxBoxPixels);
        sides[i].color = spec.borderColors[i] == ClNone ? TColor(0) : spec.borderColors[i];
    }
    return sides;
}

void TCellObj::SetCollapsedSides(const TCellSides& sides) { Own().collapsed = std::make_unique<TCellSides>(sides); }
