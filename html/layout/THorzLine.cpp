#include "html/layout/THorzLine.h"

#include <algorithm>

#include "html/layout/Borders.h"
#include "html/layout/IndentManager.h"
#include "html/layout/SelTextBuf.h"
#include "html/layout/TSectionList.h"

namespace {
constexpr TColor LightGrey = 0xC0C0C0;
constexpr TColor White = 0xFFFFFF;
constexpr TColor SystemHighlight = ClSystemBase + 20; // button highlight
constexpr TColor SystemShadow = ClSystemBase + 16;    // button shadow
} // namespace

THorzLine::THorzLine(TSectionList& document, int size, TColor color, TRuleAlign align, bool noShade)
    : TSectionBase(&document), VSize(size >= 1 && size <= MaxSize ? size : DefaultSize), Color(color), Align(align),
      NoShade(noShade)
{
}

THorzLine::THorzLine(const THorzLine& source, TSectionList& target)
    : TSectionBase(source, target), VSize(source.VSize), Color(source.Color), Align(source.Align),
      NoShade(source.NoShade), XX(source.XX), Wid(source.Wid)
{
}

std::unique_ptr<TSectionBase> THorzLine::CloneInto(TSectionList& target) const
{
    return std::unique_ptr<TSectionBase>(new THorzLine(*this, target));
}

void THorzLine::CopySelection()
{
    TSectionList* doc = Owner();
    if (doc && doc->CurrentSelBuffer() && doc->SelB <= StartCurs && StartCurs < doc->SelE)
        doc->CurrentSelBuffer()->AddLineBreak();
}

int THorzLine::LayOut(TCanvas&, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor)
{
    StartCurs = cursor;
    Len = 0;
    YValue = LayoutY = DrawTop = area.y;
    XX = std::max(area.x, im.LeftIndent(area.y));
    Wid = std::max(0, std::min(area.width, im.RightSide(area.y) - XX));
    ContentLeft = XX;
    SectionHeight = DrawHeight = VSize;
    ContentBot = DrawBot = AddDoc(area.y, VSize);
    maxWidth = 0;
    return SectionHeight;
}

int THorzLine::Paint(TPaintContext& pc, IndentManager&, int, int, int)
{
    int top = pc.WindowY(YValue);
    TRect r{XX + pc.shiftX, top, XX + Wid + pc.shiftX, top + VSize};
    if (r.bottom <= pc.clip.top || r.top >= pc.clip.bottom || r.isEmpty())
        return DrawBot;
    TCanvas& canvas = pc.canvas;
    if (Color != ClNone) {
        canvas.fillRect(r, DrawColor(Color));
        return DrawBot;
    }
    TSectionList* doc = Owner();
    // Shading turns black only where the printer has no colours to show, as
    // text does; colour printers and PDFs keep the grey.
    bool mono = NoShade || (pc.printing && pc.printMonochrome && canvas.colorDepth() < 2);
    bool whiteGround = doc && DrawColor(doc->Background) == White;
    TColor light = mono ? 0 : (pc.printing || whiteGround) ? LightGrey : SystemHighlight;
    TColor dark = mono ? 0 : SystemShadow;
    canvas.fillRect({r.left, r.top, r.right, r.top + 1}, dark);
    canvas.fillRect({r.left, r.top, r.left + 1, r.bottom}, dark);
    canvas.fillRect({r.right - 1, r.top, r.right, r.bottom}, light);
    canvas.fillRect({r.left, r.bottom - 1, r.right, r.bottom}, light);
    return DrawBot;
}

void THorzLine::Dump(std::string& out, int depth) const
{
    DumpIndent(out, depth);
    out += "rule x=" + std::to_string(XX) + " y=" + std::to_string(YValue) + " w=" + std::to_string(Wid) +
           " h=" + std::to_string(VSize) + "\n";
}
