#include "html/layout/TCellList.h"

#include <algorithm>

TCellList::TCellList(const TRowSpec& spec)
    : SpecHt(std::clamp(spec.height, 0, MaxBoxPixels)), SpecHtPercent(std::clamp(spec.heightPercent, 0, 100)),
      Background(spec.background), BackgroundImage(spec.backgroundImage), BreakBefore(spec.pageBreakBefore),
      BreakAfter(spec.pageBreakAfter), KeepTogether(spec.pageBreakInsideAvoid)
{
}

TCellList::TCellList(const TCellList& source, TSectionList& target)
    : SpecHt(source.SpecHt), SpecHtPercent(source.SpecHtPercent), Background(source.Background),
      BackgroundImage(source.BackgroundImage), BreakBefore(source.BreakBefore), BreakAfter(source.BreakAfter),
      KeepTogether(source.KeepTogether), RowHeight(source.RowHeight), SpannedHeight(source.SpannedHeight)
{
    Cells.reserve(source.Cells.size());
    for (const auto& c : source.Cells)
        Cells.push_back(c ? std::make_unique<TCellObj>(*c, target) : nullptr);
}

void TCellList::Add(std::unique_ptr<TCellObj> cell)
{
    if (!cell)
        return;
    cell->SpecHt = std::max(cell->SpecHt, SpecHt);
    if (cell->Spec().pageBreakBefore)
        BreakBefore = true;
    if (cell->Spec().pageBreakAfter)
        BreakAfter = true;
    if (cell->Spec().pageBreakInsideAvoid)
        KeepTogether = true;
    Cells.push_back(std::move(cell));
}

void TCellList::InsertPlaceholders(size_t column, size_t count)
{
    if (column >= Cells.size()) {
        Cells.resize(column + count);
        return;
    }
    size_t end = Cells.size();
    Cells.resize(end + count);
    std::rotate(Cells.begin() + std::ptrdiff_t(column), Cells.begin() + std::ptrdiff_t(end), Cells.end());
}
