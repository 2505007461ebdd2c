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
    ColSpan = std::max(1, spec.colSpan);
    RowSpan = std::max(1, spec.rowSpan);
    VAlign = spec.vAlign;
    SpecWd = std::max(0, spec.width);
    SpecWdPercent = spec.widthIsPercent;
    if (SpecWdPercent)
        SpecWd = std::min(SpecWd, 1000);
    SpecHt = std::clamp(spec.height, 0, MaxBoxPixels);
    SpecHtPercent = std::clamp(spec.heightPercent, 0, 100);
    Background = spec.background;
    SetBackgroundPicture(spec.backgroundImage, spec.backgroundPlacement);
    FCell.OwnerKind = TCellOwner::Other;
}

TCellObj::TCellObj(const TCellObj& source, TSectionList& target)
    : ColSpan(source.ColSpan), RowSpan(source.RowSpan), Ht(source.Ht), Wd(source.Wd), CellHeight(source.CellHeight),
      YIndent(source.YIndent), SpecWd(source.SpecWd), VAlign(source.VAlign), SpecWdPercent(source.SpecWdPercent),
      SpecHt(source.SpecHt), SpecHtPercent(source.SpecHtPercent), Background(source.Background),
      FCell(&target), FPadding(source.FPadding), FBorder(source.FBorder)
{
    if (source.FOwn && source.FOwn->spec)
        Own().spec = std::make_unique<const TCellSpec>(*source.FOwn->spec);
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
    bool styled = HasBorderStyle();
    const TCellSpec& spec = Spec();
    for (size_t i = 0; i < 4; ++i) {
        FPadding[i] = spec.padding[i] == TCellSpec::NotGiven ? cellPadding : std::clamp(spec.padding[i], 0, MaxBoxPixels);
        FBorder[i] = styled && spec.borderStyles[i] != TBorderKind::None ? std::clamp(spec.border[i], 0, MaxBoxPixels) : 0;
        if (tableBorder && !styled)
            FBorder[i] = std::max(FBorder[i], 1);
    }
}
