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
    : FSpec(NeedsSpecCopy(spec) ? std::make_unique<const TCellSpec>(spec) : nullptr), FCell(&document, depth, parent)
{
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
      FPicture(source.FPicture && target.ShowImages ? std::make_unique<TBackgroundPicture>(*source.FPicture)
                                                    : nullptr),
      FSpec(source.FSpec ? std::make_unique<const TCellSpec>(*source.FSpec) : nullptr), FCell(&target), FPadding(source.FPadding), FBorder(source.FBorder),
      FHzSpace(source.FHzSpace), FVrSpace(source.FVrSpace)
{
    FCell.CloneSectionsFrom(source.FCell, target);
}

void TCellObj::SetBackgroundPicture(const std::string& name, const TBackgroundPlacement& placement)
{
    if (name.empty())
        FPicture.reset();
    else
        FPicture = std::make_unique<TBackgroundPicture>(TBackgroundPicture{name, placement});
}

const TCellSpec& TCellObj::Spec() const { return FSpec ? *FSpec : DefaultSpec; }

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
    FHzSpace = FPadding[3] + FBorder[3] + FBorder[1] + FPadding[1];
    FVrSpace = FPadding[0] + FBorder[0] + FBorder[2] + FPadding[2];
}
