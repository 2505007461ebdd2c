#include "html/layout/TSectionBase.h"

#include "html/layout/IndentManager.h"
#include "html/layout/TSectionList.h"

TSectionBase::TSectionBase(const TSectionBase& source, TSectionList& target)
    : FOwner(&target), SectionHeight(source.SectionHeight), ZIndex(source.ZIndex)
{
}

int TSectionBase::LayOut(TCanvas&, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor)
{
    StartCurs = cursor;
    DrawHeight = SectionHeight;
    maxWidth = im.Width;
    YValue = DrawTop = LayoutY = area.y;
    ContentBot = AddDoc(area.y, SectionHeight);
    DrawBot = AddDoc(area.y, DrawHeight);
    return SectionHeight;
}

int TSectionBase::Paint(TPaintContext&, IndentManager&, int, int, int)
{
    return DrawTop + SectionHeight;
}

void TSectionBase::ListPositions()
{
    if (FOwner)
        FOwner->PositionList.push_back(this);
}

void TSectionBase::Dump(std::string& out, int depth) const
{
    DumpIndent(out, depth);
    out += KindName();
    out += " x=" + std::to_string(ContentLeft) + " y=" + std::to_string(LayoutY) + " h=" + std::to_string(SectionHeight) + "\n";
}
