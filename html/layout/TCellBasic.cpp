#include "html/layout/TCellBasic.h"

#include <algorithm>
#include <cstdint>

#include "html/layout/EProcessError.h"
#include "html/layout/IndentManager.h"
#include "html/layout/TBlock.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"

TCellOwner CellOwnerOfTag(std::string_view tag)
{
    if (tag == "body")
        return TCellOwner::Body;
    if (tag == "li")
        return TCellOwner::ListItem;
    return TCellOwner::Other;
}

TCellBasic::TCellBasic(TSectionList* owner, int depth, TCellBasic* parent)
    : FOwner(owner), FParent(parent), FDepth(int16_t(std::clamp(depth, 0, int(INT16_MAX))))
{
}

TCellBasic::~TCellBasic() = default;

TCellBasic& TCellBasic::BlockTarget()
{
    // A block here would nest one level too deep: it goes next to this
    // cell's owner instead.
    if (FDepth >= MaxBlockNesting && FParent)
        return FParent->BlockTarget();
    return *this;
}

bool TCellBasic::KeepSection(TSectionBase& section)
{
    auto* text = dynamic_cast<TSection*>(&section);
    if (!text)
        return true;
    text->Finish();
    if (!text->Droppable())
        return true;
    if (FOwner)
        FOwner->ForgetSection(*text);
    return false;
}

void TCellBasic::AddSection(std::unique_ptr<TSectionBase> section)
{
    if (!section)
        return;
    if (dynamic_cast<TBlock*>(section.get()) && &BlockTarget() != this) {
        BlockTarget().AddSection(std::move(section));
        return;
    }
    if (!KeepSection(*section))
        return;
    section->SetOwner(FOwner);
    Sections.push_back(std::move(section));
}

void TCellBasic::CloneSectionsFrom(const TCellBasic& source, TSectionList& target)
{
    OwnerKind = source.OwnerKind;
    Sections.reserve(source.Sections.size());
    for (const auto& s : source.Sections)
        Sections.push_back(s->CloneInto(target));
}

int TCellBasic::LayoutSections(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor)
{
    StartY = area.y;
    StartCurs = cursor;
    IMgr = &im;
    TextBot = area.y;
    tcDrawTop = 990000;
    tcDrawBot = 0;
    maxWidth = 0;
    int height = 0;
    for (size_t i = 0; i < Sections.size();) {
        TSectionBase& s = *Sections[i];
        TLayoutArea a = area;
        a.y = AddDoc(area.y, height);
        int sectionMax = 0;
        try {
            height = AddDoc(height, s.LayOut(canvas, a, im, sectionMax, cursor));
        } catch (const EProcessError& e) {
            if (FOwner)
                FOwner->ReportError(e.message());
            Sections.erase(Sections.begin() + std::ptrdiff_t(i));
            continue;
        }
        maxWidth = std::max(maxWidth, sectionMax);
        if (!s.IsAbsolute())
            TextBot = std::max(TextBot, s.ContentBot);
        tcDrawTop = std::min(tcDrawTop, s.DrawTop);
        tcDrawBot = std::max(tcDrawBot, s.DrawBot);
        ++i;
    }
    Len = cursor - StartCurs;
    BuildPaintIndex();
    return height;
}

void TCellBasic::BuildPaintIndex()
{
    // Below this many sections a walk over all of them costs less than the index.
    constexpr size_t IndexFrom = 16;
    static_assert(IndexFrom <= INT8_MAX, "the count of a cell without an index is kept in a byte");
    size_t n = Sections.size();
    if (n < IndexFrom) {
        FPaintIndex.reset();
        FIndexedFew = int8_t(n);
        return;
    }
    if (!FPaintIndex)
        FPaintIndex = std::make_unique<TPaintIndex>();
    std::vector<int>& maxBot = FPaintIndex->maxBotPrefix;
    std::vector<int>& minTop = FPaintIndex->minTopSuffix;
    maxBot.resize(n);
    minTop.resize(n);
    int bottom = -DocumentLimit;
    for (size_t i = 0; i < n; ++i)
        maxBot[i] = bottom = std::max(bottom, Sections[i]->DrawBot);
    int top = DocumentLimit;
    for (size_t i = n; i-- > 0;)
        minTop[i] = top = std::min(top, Sections[i]->DrawTop);
}

int TCellBasic::IndexedCount() const
{
    return FPaintIndex ? int(FPaintIndex->maxBotPrefix.size()) : FIndexedFew;
}

std::pair<size_t, size_t> TCellBasic::SectionsInBand(int top, int bottom) const
{
    size_t n = Sections.size();
    if (IndexedCount() != int(n))
        return {0, n};
    // Sections before `first` all end above the band; from `last` on they
    // all start below it.
    if (!FPaintIndex) {
        size_t first = 0;
        for (int bottomSoFar = -DocumentLimit; first < n; ++first) {
            bottomSoFar = std::max(bottomSoFar, Sections[first]->DrawBot);
            if (bottomSoFar > top)
                break;
        }
        size_t last = n;
        for (int topSoFar = DocumentLimit; last > 0; --last) {
            topSoFar = std::min(topSoFar, Sections[last - 1]->DrawTop);
            if (topSoFar <= bottom)
                break;
        }
        return {first, std::max(first, last)};
    }
    const std::vector<int>& maxBot = FPaintIndex->maxBotPrefix;
    const std::vector<int>& minTop = FPaintIndex->minTopSuffix;
    size_t first = size_t(std::upper_bound(maxBot.begin(), maxBot.end(), top) - maxBot.begin());
    size_t last = size_t(std::upper_bound(minTop.begin(), minTop.end(), bottom) - minTop.begin());
    return {first, std::max(first, last)};
}

int TCellBasic::LayOut(TCanvas& canvas, const TLayoutArea& area, int& maxWidth, int& cursor)
{
    return IMgr ? LayoutSections(canvas, area, *IMgr, maxWidth, cursor) : 0;
}

void TCellBasic::MeasureWidths(TCanvas& canvas, int& minWidth, int& maxWidth)
{
    minWidth = maxWidth = 0;
    for (auto& s : Sections) {
        int mn = 0, mx = 0;
        s->MeasureWidths(canvas, mn, mx);
        minWidth = std::max(minWidth, mn);
        maxWidth = std::max(maxWidth, mx);
    }
}

int TCellBasic::Paint(TPaintContext& pc, int x, int xRef, int yRef)
{
    int y = StartY;
    if (!IMgr)
        return y;
    int bottom = pc.clip.bottom + pc.yOffset;
    if (pc.printing)
        bottom = std::max(bottom, pc.pageBottom);
    auto [first, last] = SectionsInBand(pc.clip.top + pc.yOffset - pc.shiftY, bottom - pc.shiftY);
    for (size_t i = first; i < last; ++i)
        y = Sections[i]->Paint(pc, *IMgr, x, xRef, yRef);
    return y;
}

int TCellBasic::LinkAt(TCanvas& canvas, int x, int y, TLinkHit& hit)
{
    auto [first, last] = SectionsInBand(y, y);
    for (size_t i = first; i < last; ++i) {
        TSectionBase& s = *Sections[i];
        if (s.DrawTop <= y && y < s.DrawBot) {
            int flags = s.LinkAt(canvas, x, y, hit);
            if (flags & (HitLink | HitControl))
                return flags;
            hit.flags |= flags;
        }
    }
    return hit.flags & HitTitle;
}

bool TCellBasic::ObjectAt(int x, int y, TFloatingObj*& obj, int& xObj, int& yObj)
{
    auto [first, last] = SectionsInBand(y, y);
    for (size_t i = first; i < last; ++i) {
        TSectionBase& s = *Sections[i];
        if (s.DrawTop <= y && y < s.DrawBot && s.ObjectAt(x, y, obj, xObj, yObj))
            return true;
    }
    return false;
}

int TCellBasic::PositionAt(TCanvas& canvas, int x, int y, TCaretHit& hit)
{
    auto [first, last] = SectionsInBand(y, y);
    for (size_t i = first; i < last; ++i) {
        TSectionBase& s = *Sections[i];
        if (s.DrawTop <= y && y < s.DrawBot) {
            int pos = s.PositionAt(canvas, x, y, hit);
            if (pos >= 0)
                return pos;
        }
    }
    return -1;
}

namespace {

// Where a section's document positions end, the text of the inline blocks
// in a text section included.
int TextEndOf(const TSectionBase& section)
{
    const auto* text = dynamic_cast<const TSection*>(&section);
    return text ? text->TextEnd() : section.StartCurs + section.Len;
}

} // namespace

int TCellBasic::FindText(int from, const std::u16string& text, bool matchCase)
{
    for (auto& s : Sections) {
        if (TextEndOf(*s) < from)
            continue;
        int pos = s->FindText(from, text, matchCase);
        if (pos >= 0)
            return pos;
    }
    return -1;
}

void TCellBasic::VisitText(const TTextVisitor& visit)
{
    for (auto& s : Sections)
        s->VisitText(visit);
}

int TCellBasic::FindTextBack(int from, const std::u16string& text, bool matchCase)
{
    for (size_t i = Sections.size(); i-- > 0;) {
        if (Sections[i]->StartCurs > from)
            continue;
        int pos = Sections[i]->FindTextBack(from, text, matchCase);
        if (pos >= 0)
            return pos;
    }
    return -1;
}

int TCellBasic::SourcePosOf(int pos) const
{
    for (const auto& s : Sections) {
        int r = s->SourcePosOf(pos);
        if (r >= 0)
            return r;
    }
    return -1;
}

int TCellBasic::DocPosOf(int sourcePos, bool previous) const
{
    if (previous) {
        for (size_t i = Sections.size(); i-- > 0;) {
            int r = Sections[i]->DocPosOf(sourcePos, previous);
            if (r >= 0)
                return r;
        }
        return -1;
    }
    for (const auto& s : Sections) {
        int r = s->DocPosOf(sourcePos, previous);
        if (r >= 0)
            return r;
    }
    return -1;
}

bool TCellBasic::CaretXY(TCanvas& canvas, int pos, int& x, int& y)
{
    for (auto& s : Sections)
        if (pos >= s->StartCurs && pos <= TextEndOf(*s) && s->CaretXY(canvas, pos, x, y))
            return true;
    return false;
}

bool TCellBasic::CharAt(int pos, char16_t& ch, TIDObject*& obj)
{
    if (pos < StartCurs || pos > StartCurs + Len)
        return false;
    for (auto& s : Sections)
        if (s->CharAt(pos, ch, obj))
            return true;
    return false;
}

void TCellBasic::CopySelection()
{
    if (!FOwner)
        return;
    for (auto& s : Sections)
        if (s->StartCurs < FOwner->SelE && TextEndOf(*s) > FOwner->SelB)
            s->CopySelection();
}

void TCellBasic::ListPositions()
{
    for (auto& s : Sections)
        s->ListPositions();
}

void TCellBasic::Dump(std::string& out, int depth) const
{
    for (const auto& s : Sections)
        s->Dump(out, depth);
}
