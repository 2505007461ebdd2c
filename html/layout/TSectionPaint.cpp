// Painting and the position queries of text sections.
#include <algorithm>

#include "gfx/TControls.h"
#include "html/layout/Borders.h"
#include "html/layout/IndentManager.h"
#include "html/layout/TFloatingObj.h"
#include "html/layout/TFormControlObj.h"
#include "html/layout/TInlineBlockObj.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"

namespace {

bool IsTextChar(char16_t c) { return c != ControlChar && c != ImageChar && c != BreakChar; }

TColor Inverted(TColor c) { return (~DrawColor(c)) & 0xFFFFFF; }

// Searched words: black on yellow (0x00BBGGRR), readable on any page; the
// one stepped to on orange.
constexpr TColor HighlightBackground = 0x00FFFF;
constexpr TColor CurrentBackground = 0x0096FF;
constexpr TColor HighlightText = 0x000000;

} // namespace

// The lowest point a line paints: its text and inline pictures, and the
// floating pictures placed from it, which hang below it (a line that holds
// only a float has no height of its own).
int TSection::LineReach(const LineRec& line) const
{
    int reach = line.Y + std::max(line.Height(), line.LineImgHt);
    for (const auto& img : Images())
        if (img->Floats() && img->Pos >= line.Start && img->Pos < line.Start + line.Ln)
            reach = std::max(reach, img->FloatY + img->VSpaceT + img->ObjHeight);
    return reach;
}

int TSection::Paint(TPaintContext& pc, IndentManager&, int, int, int)
{
    int after = DrawTop + SectionHeight;
    if (Buff.empty())
        return after;
    int top = pc.clip.top + pc.yOffset - pc.shiftY;
    int bottom = std::max(pc.clip.bottom + pc.yOffset, pc.printing ? pc.pageBottom : 0) - pc.shiftY;
    if (DrawBot <= top || DrawTop > bottom)
        return after;
    TSectionList* doc = Owner();
    int selStart = doc ? doc->SelB - StartCurs : 0;
    int selEnd = doc ? doc->SelE - StartCurs : 0;
    pc.canvas.setTextAlign(TTextAlign::Baseline);
    // Lines are sorted by Y: start at the first that can reach the band.
    auto it = std::upper_bound(FLines.begin(), FLines.end(), top, [](int v, const LineRec& l) { return v < l.Y; });
    if (it != FLines.begin())
        --it;
    while (it != FLines.begin() && LineReach(*(it - 1)) > top)
        --it;
    for (; it != FLines.end(); ++it) {
        LineRec& line = *it;
        if (line.Y > bottom)
            break;
        if (line.Ln == 0 || LineReach(line) <= top)
            continue;
        if (pc.printing && line.Y + line.Height() > pc.pageBottom) {
            int pageHeight = pc.clip.bottom - pc.clip.top;
            if (line.Height() <= pageHeight && line.Y > pc.clip.top + pc.yOffset) {
                pc.pageBottom = std::min(pc.pageBottom, line.Y);
                break;
            }
        }
        PaintLine(pc, line, selStart, selEnd);
    }
    return after;
}

void TSection::PaintLine(TPaintContext& pc, LineRec& line, int selStart, int selEnd)
{
    TCanvas& canvas = pc.canvas;
    TSectionList* doc = Owner();
    if (doc && doc->InlineList && !doc->InlineList->Empty()) {
        BuildBorders(canvas);
        PaintBorders(pc, size_t(&line - FLines.data()));
    }
    pc.nothingPrinted = false;
    int baseline = pc.WindowY(line.Baseline());
    int end = line.Start + line.Ln;
    // A final space or line break is not drawn.
    int drawEnd = end;
    while (drawEnd > line.Start && (Buff[size_t(drawEnd - 1)] == u' ' || Buff[size_t(drawEnd - 1)] == BreakChar))
        --drawEnd;
    int i = line.Start;
    while (i < drawEnd) {
        int x = CharX(canvas, line, i) + pc.shiftX;
        char16_t c = Buff[size_t(i)];
        if (c == ImageChar) {
            if (TFloatingObj* img = ImageAt(i)) {
                if (img->Floats()) {
                    img->DrawX = img->FloatX + pc.shiftX;
                    img->DrawYY = img->FloatY + img->VSpaceT;
                } else {
                    TFontObj* run = FFonts.GetFontObjAt(i);
                    int descent = run ? run->Descent() : 0;
                    int charHeight = run ? run->CharHeight() : 0;
                    img->DrawX = x + img->HSpaceL;
                    switch (img->VertAlign) {
                    case TVAlign::Top:
                        img->DrawYY = line.Y + line.SpaceBefore + img->VSpaceT;
                        break;
                    case TVAlign::Middle:
                        img->DrawYY = line.Baseline() + descent - charHeight / 2 -
                                      (img->ObjHeight + img->VSpaceB - img->VSpaceT) / 2;
                        break;
                    default:
                        img->DrawYY = line.Baseline() - img->ObjHeight - img->VSpaceB + img->BelowBaseline;
                        break;
                    }
                }
                if (doc)
                    doc->DrawList.Add(img, img->DrawX, pc.WindowY(img->DrawYY));
            }
            ++i;
            continue;
        }
        if (c == ControlChar) {
            if (TFormControlObj* ctl = ControlAt(i)) {
                int h = ctl->Height();
                int lineTop = pc.WindowY(line.Y + line.SpaceBefore);
                int top = ctl->VertAlign == TVAlign::Top      ? lineTop
                          : ctl->VertAlign == TVAlign::Middle ? baseline - (line.LineHt + h) / 2
                          : ctl->VertAlign == TVAlign::Baseline ? baseline - h - line.Descent
                                                                : baseline - h;
                int left = x + ctl->HSpaceL;
                if (doc && doc->IsCopy) {
                    // A control's picture sets its own font, colours and
                    // alignment; the text after it keeps the line's.
                    canvas.save();
                    ctl->PaintImage(canvas, left, top);
                    canvas.restore();
                } else if (TControl* w = ctl->TheControl()) {
                    w->setPosition(left, top);
                    w->setVisible(true);
                    ctl->Shown = true;
                    if (ctl->Focused && (w->kind() == TControlKind::CheckBox || w->kind() == TControlKind::RadioButton))
                        canvas.drawFocusRect({left - 2, top - 2, left + w->bounds().width() + 2, top + h + 2});
                }
            }
            ++i;
            continue;
        }
        if (c == BreakChar) {
            ++i;
            continue;
        }
        TFontObj* run = FFonts.GetFontObjAt(i);
        int pieceEnd = std::min(drawEnd, i + FFonts.GetFontCountAt(i, drawEnd));
        int j = i;
        while (j < pieceEnd && IsTextChar(Buff[size_t(j)]))
            ++j;
        j = std::max(j, i + 1); // every turn moves on, whatever the text holds
        bool selected = i >= selStart && i < selEnd;
        if (!selected && selStart > i && selStart < j)
            j = selStart;
        if (selected && selEnd < j)
            j = selEnd;
        TTextMark mark = selected ? TTextMark::Selected : TTextMark::None;
        if (!selected && doc && !doc->Highlights.Empty()) {
            int changesAt = 0;
            const THighlightMark marked = doc->Highlights.MarkAt(StartCurs + i, changesAt);
            if (marked != THighlightMark::None)
                mark = marked == THighlightMark::Current ? TTextMark::CurrentHighlight : TTextMark::Highlighted;
            if (changesAt - StartCurs < j)
                j = std::max(i + 1, changesAt - StartCurs);
        }
        PaintText(pc, *run, line, i, j, x, mark);
        i = j;
    }
    int caret = pc.caretPos - StartCurs;
    if (pc.caretPos >= 0 && (!doc || doc->SelE <= doc->SelB) && caret >= line.Start &&
        (caret < end || (caret == end && &line == &FLines.back()))) {
        int x = CharX(canvas, line, caret) + pc.shiftX;
        canvas.setPen({0, 1, TPenStyle::Solid});
        int top = pc.WindowY(line.Y + line.SpaceBefore);
        canvas.line(x, top, x, top + line.LineHt);
    }
}

void TSection::PaintText(TPaintContext& pc, TFontObj& run, const LineRec& line, int start, int end, int x,
                         TTextMark mark)
{
    if (end <= start || run.Font().invisible)
        return;
    TCanvas& canvas = pc.canvas;
    canvas.setFont(run.FontOn(canvas));
    canvas.setCharacterExtra(run.Font().letterSpacing);
    TColor color = DrawColor(run.Font().color);
    TColor background = run.Font().background;
    if (pc.readerColors) {
        const TReaderColors& own = *pc.readerColors;
        color = run.IsLink() ? (run.Visited() ? own.visited : own.link) : own.text;
        background = ClNone;
    }
    if (pc.printing) {
        // Black only where the printer has no colours to show (fewer than
        // three: one bit per pixel); colour printers and PDFs keep them.
        if (pc.printMonochrome && canvas.colorDepth() < 2 && color != 0xFFFFFF)
            color = 0;
        if (!pc.printBackground && RedOf(color) > 0xE0 && GreenOf(color) > 0xE0)
            color = 0xA0A0A0;
    }
    if (mark == TTextMark::Selected) {
        canvas.setBackgroundMode(TBackgroundMode::Opaque, color);
        canvas.setTextColor(background != ClNone ? DrawColor(background) : Inverted(color));
    } else if (mark == TTextMark::Highlighted || mark == TTextMark::CurrentHighlight) {
        canvas.setBackgroundMode(TBackgroundMode::Opaque,
                                 mark == TTextMark::Highlighted ? HighlightBackground : CurrentBackground);
        canvas.setTextColor(HighlightText);
    } else if (background != ClNone && pc.PaintsBackgrounds()) {
        canvas.setBackgroundMode(TBackgroundMode::Opaque, DrawColor(background));
        canvas.setTextColor(color);
    } else {
        canvas.setBackgroundMode(TBackgroundMode::Transparent);
        canvas.setTextColor(color);
    }
    int y = pc.WindowY(line.Baseline());
    if (run.Shift == TVAlign::Super)
        y -= run.TextHeight() / 3;
    else if (run.Shift == TVAlign::Sub)
        y += run.Descent() / 2 + 1;
    int extra = JustifyBefore(line, end) - JustifyBefore(line, start);
    std::u16string_view text(Buff.data() + start, size_t(end - start));
    canvas.textOut(x, y, text, extra);
    canvas.setBackgroundMode(TBackgroundMode::Transparent);
    canvas.setCharacterExtra(0);
    if (run.Focused && run.IsLink()) {
        int w = StretchWidth(canvas, start, end - start) + extra;
        int top = pc.WindowY(line.Y + line.SpaceBefore);
        canvas.drawFocusRect({x, top, x + w, top + line.LineHt});
    }
}

void TSection::BuildBorders(TCanvas& canvas)
{
    TSectionList* doc = Owner();
    const TLineBorders* made = LineBorders();
    if (!doc || (made && made->madeFor == doc->LayoutCounter))
        return;
    doc->InlineList->Resolve(*doc);
    auto& borders = Rare().lineBorders;
    if (!borders)
        borders = std::make_unique<TLineBorders>();
    borders->madeFor = doc->LayoutCounter;
    borders->lines.assign(FLines.size(), {});
    for (size_t i = 0; i < FLines.size(); ++i)
        BuildLineBorders(canvas, FLines[i], borders->lines[i]);
}

void TSection::BuildLineBorders(TCanvas& canvas, const LineRec& line, std::vector<BorderRec>& pieces)
{
    TSectionList* doc = Owner();
    int lineStart = StartCurs + line.Start, lineEnd = lineStart + line.Ln;
    std::vector<const InlineRec*> boxes;
    doc->InlineList->Overlapping(lineStart, lineEnd, boxes);
    for (const InlineRec* shown : boxes) {
        const InlineRec& box = *shown;
        BorderRec r;
        r.Box = &box;
        r.OpenStart = box.StartDoc < lineStart;
        r.OpenEnd = box.EndDoc > lineEnd;
        r.Start = std::max(box.StartDoc, lineStart) - StartCurs;
        r.End = std::min(box.EndDoc, lineEnd) - StartCurs;
        int left = CharX(canvas, line, r.Start);
        int right = CharX(canvas, line, r.End);
        r.Rect = {left - box.Box[BoxPaddingLeft], line.Y + line.SpaceBefore - box.Box[BoxPaddingTop],
                  right + box.Box[BoxPaddingRight], line.Y + line.SpaceBefore + line.LineHt + box.Box[BoxPaddingBottom]};
        pieces.push_back(r);
    }
}

void TSection::PaintBorders(TPaintContext& pc, size_t lineIndex)
{
    const TLineBorders* borders = LineBorders();
    if (!borders || lineIndex >= borders->lines.size())
        return;
    for (const BorderRec& r : borders->lines[lineIndex]) {
        const TMargArray& b = r.Box->Box;
        TRect pad{r.Rect.left + pc.shiftX, pc.WindowY(r.Rect.top), r.Rect.right + pc.shiftX, pc.WindowY(r.Rect.bottom)};
        TColor bg = TColor(b[BoxBackgroundColor]);
        if (bg != ClNone && pc.PaintsBackgrounds())
            pc.canvas.fillRect(pad, DrawColor(bg));
        TBorderSides sides;
        for (int k = 0; k < 4; ++k) {
            sides.colors[size_t(k)] = TColor(b[BoxBorderTopColor + k]);
            sides.styles[size_t(k)] = r.Box->Styles[size_t(k)];
        }
        int left = r.OpenStart ? 0 : b[BoxBorderLeft];
        int right = r.OpenEnd ? 0 : b[BoxBorderRight];
        if (r.OpenStart)
            sides.styles[3] = TBorderKind::None;
        if (r.OpenEnd)
            sides.styles[1] = TBorderKind::None;
        TRect outer{pad.left - left, pad.top - b[BoxBorderTop], pad.right + right, pad.bottom + b[BoxBorderBottom]};
        DrawBorders(pc.canvas, outer, pad, sides, bg);
    }
}

// ---------------------------------------------------------------- queries

int TSection::LinkAt(TCanvas& canvas, int x, int y, TLinkHit& hit)
{
    for (auto& img : Images()) {
        int left = img->Floats() ? img->FloatX : img->DrawX;
        int top = img->Floats() ? img->FloatY + img->VSpaceT : img->DrawYY;
        if (x >= left && x < left + img->ObjWidth && y >= top && y < top + img->ObjHeight) {
            if (!img->Title.empty()) {
                hit.title = img->Title;
                hit.flags |= HitTitle;
            }
            return hit.flags | img->LinkAt(x - left, y - top, hit);
        }
    }
    const LineRec* line = LineAtY(y);
    if (!line || line->Ln == 0)
        return 0;
    int idx = IndexAtX(canvas, *line, x, false);
    if (idx >= line->Start + line->Ln || x < line->X)
        return 0;
    if (Buff[size_t(idx)] == ImageChar)
        return 0;
    TFontObj* run = FFonts.GetFontObjAt(idx);
    int flags = 0;
    if (run && !run->Title().empty()) {
        hit.title = run->Title();
        flags |= HitTitle;
    }
    if (run && run->IsLink()) {
        hit.link = run->Link();
        hit.run = run;
        flags |= HitLink;
    }
    if (run && run->Control()) {
        hit.control = run->Control();
        flags |= HitControl;
    }
    hit.flags |= flags;
    return flags;
}

bool TSection::ObjectAt(int x, int y, TFloatingObj*& obj, int& xObj, int& yObj)
{
    for (auto& img : Images()) {
        int left = img->Floats() ? img->FloatX : img->DrawX;
        int top = img->Floats() ? img->FloatY + img->VSpaceT : img->DrawYY;
        if (x >= left && x < left + img->ObjWidth && y >= top && y < top + img->ObjHeight) {
            obj = img.get();
            xObj = x - left;
            yObj = y - top;
            return true;
        }
    }
    return false;
}

int TSection::PositionAt(TCanvas& canvas, int x, int y, TCaretHit& hit)
{
    if (x < ContentLeft || FLines.empty())
        return -1;
    const LineRec* line = LineAtY(y);
    if (!line || line->Ln == 0)
        return -1;
    if (x > ContentLeft + std::max(line->DrawWidth, line->X - ContentLeft + line->TextWidth))
        return -1;
    hit.height = line->LineHt;
    hit.y = line->Y + line->SpaceBefore;
    if (x < line->X) {
        hit.x = line->X;
        hit.inText = false;
        return StartCurs + line->Start;
    }
    int idx = IndexAtX(canvas, *line, x, true);
    hit.x = CharX(canvas, *line, idx);
    hit.inText = idx < line->Start + line->Ln;
    return StartCurs + idx;
}

bool TSection::CaretXY(TCanvas& canvas, int pos, int& x, int& y)
{
    // A position in an inline block's text is shown where the block stands.
    const TInlineBlockObj* box = BoxHolding(pos);
    int idx = box ? box->Pos : pos - StartCurs;
    if (idx < 0 || idx > int(Buff.size()))
        return false;
    const LineRec* line = nullptr;
    for (const LineRec& l : FLines)
        if (l.Ln > 0 && idx >= l.Start && idx < l.Start + l.Ln)
            line = &l;
    if (!line && idx == int(Buff.size()))
        for (size_t i = FLines.size(); i-- > 0;)
            if (FLines[i].Ln > 0) {
                line = &FLines[i];
                break;
            }
    if (!line)
        return false;
    x = CharX(canvas, *line, idx);
    y = line->Y;
    return true;
}

bool TSection::CharAt(int pos, char16_t& ch, TIDObject*& obj)
{
    int idx = pos - StartCurs;
    if (idx < 0 || idx >= int(Buff.size()))
        return false;
    ch = Buff[size_t(idx)];
    obj = ch == ImageChar ? ImageAt(idx) : ch == ControlChar ? static_cast<TIDObject*>(ControlAt(idx)) : nullptr;
    return true;
}

int TSection::SourcePosOf(int pos) const
{
    int idx = pos - StartCurs;
    if (idx < 0 || idx >= int(Buff.size()) || SIndex.empty())
        return -1;
    size_t k = SIndex.RunAt(idx);
    if (k >= SIndex.size())
        return -1;
    TSourceRuns::Run run = SIndex[k];
    return run.second + (idx - run.first);
}

int TSection::DocPosOf(int sourcePos, bool previous) const
{
    int n = int(Buff.size());
    auto count = [&](size_t k) { return (k + 1 < SIndex.size() ? SIndex[k + 1].first : n) - SIndex[k].first; };
    if (previous) {
        // The last character whose source position is at or before sourcePos.
        for (size_t k = SIndex.size(); k-- > 0;)
            if (SIndex[k].second <= sourcePos)
                return StartCurs + SIndex[k].first + std::min(count(k) - 1, sourcePos - SIndex[k].second);
        return -1;
    }
    // The first character whose source position is at or after sourcePos.
    for (size_t k = 0; k < SIndex.size(); ++k)
        if (SIndex[k].second + count(k) - 1 >= sourcePos)
            return StartCurs + SIndex[k].first + std::max(0, sourcePos - SIndex[k].second);
    return -1;
}

void TSection::Dump(std::string& out, int depth) const
{
    DumpIndent(out, depth);
    out += std::string(KindName()) + " x=" + std::to_string(ContentLeft) + " y=" + std::to_string(LayoutY) +
           " h=" + std::to_string(SectionHeight) + " n=" + std::to_string(Buff.size()) + "\n";
    for (const LineRec& line : FLines) {
        DumpIndent(out, depth + 1);
        out += "line x=" + std::to_string(line.X) + " y=" + std::to_string(line.Y) + " w=" +
               std::to_string(line.TextWidth) + " h=" + std::to_string(line.Height()) + " n=" + std::to_string(line.Ln) +
               "\n";
    }
    for (const auto& img : Images())
        img->Dump(out, depth + 1);
}
