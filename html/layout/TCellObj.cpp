#include "html/layout/TCellObj.h"

#include <algorithm>

#include "html/layout/TSectionList.h"

TCellObj::TCellObj(TSectionList& document, const TCellSpec& spec, int depth, TCellBasic* parent)
    : FSpec(spec), FCell(std::make_unique<TCell>(&document, depth, parent))
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
    BackgroundImage = spec.backgroundImage;
    FCell->OwnerTag = "td";
}

TCellObj::TCellObj(const TCellObj& source, TSectionList& target)
    : ColSpan(source.ColSpan), RowSpan(source.RowSpan), Ht(source.Ht), Wd(source.Wd), CellHeight(source.CellHeight),
      YIndent(source.YIndent), VAlign(source.VAlign), SpecWd(source.SpecWd), SpecWdPercent(source.SpecWdPercent),
      SpecHt(source.SpecHt), SpecHtPercent(source.SpecHtPercent), Background(source.Background),
      BackgroundImage(target.ShowImages ? source.BackgroundImage : std::string()), FSpec(source.FSpec),
      FCell(std::make_unique<TCell>(&target)), FPadding(source.FPadding), FBorder(source.FBorder),
      FHzSpace(source.FHzSpace), FVrSpace(source.FVrSpace)
{
    FCell->CloneSectionsFrom(*source.FCell, target);
}

bool TCellObj::HasBorderStyle() const
{
    return std::any_of(FSpec.borderStyles.begin(), FSpec.borderStyles.end(),
                       [](TBorderKind k) { return k != TBorderKind::None; });
}

void TCellObj::Prepare(int cellPadding, bool tableBorder)
{
    bool styled = HasBorderStyle();
    for (size_t i = 0; i < 4; ++i) {
        FPadding[i] = FSpec.padding[i] == TCellSpec::NotGiven ? cellPadding : std::clamp(FSpec.padding[i], 0, MaxBoxPixels);
        FBorder[i] = styled && FSpec.borderStyles[i] != TBorderKind::None ? std::clamp(FSpec.border[i], 0, MaxBoxPixels) : 0;
        if (tableBorder && !styled)
            FBorder[i] = std::max(FBorder[i], 1);
    }
    FHzSpace = FPadding[3] + FBorder[3] + FBorder[1] + FPadding[1];
    FVrSpace = FPadding[0] + FBorder[0] + FBorder[2] + FPadding[2];
}
