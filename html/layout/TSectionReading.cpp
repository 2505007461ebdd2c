// Copying and finding the text of sections in reading order: the text of
// an inline block standing in a line counts as if it stood at the block's
// placeholder, though its document positions follow the section's own.
#include <algorithm>
#include <climits>

#include "html/layout/SelTextBuf.h"
#include "html/layout/TInlineBlockObj.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"
#include "html/layout/TextCase.h"

namespace {

std::u16string_view Haystack(const TSectionText& buff, bool matchCase, std::u16string& lowered)
{
    return matchCase ? buff.view() : std::u16string_view(lowered = LowerText(buff));
}

} // namespace

TInlineBlockObj* TSection::BoxHolding(int pos) const
{
    if (pos < StartCurs + Len || pos >= TextEnd())
        return nullptr;
    for (const auto& img : Images())
        if (auto* box = dynamic_cast<TInlineBlockObj*>(img.get()); box && box->HoldsPosition(pos))
            return box;
    return nullptr;
}

int TSection::ReadingIndex(int pos, bool end) const
{
    if (pos <= StartCurs + Len)
        return std::max(pos, StartCurs) - StartCurs;
    // A selection that starts in a block's text goes on after its
    // placeholder; one that ends there stops before it.
    if (TInlineBlockObj* box = BoxHolding(end ? pos - 1 : pos))
        return end ? box->Pos : box->Pos + 1;
    return Len + 1;
}

std::vector<TInlineBlockObj*> TSection::InlineBlocks() const
{
    std::vector<TInlineBlockObj*> boxes;
    if (TextEnd() == StartCurs + Len)
        return boxes;
    for (const auto& img : Images())
        if (auto* box = dynamic_cast<TInlineBlockObj*>(img.get()); box && box->TextLength() > 0)
            boxes.push_back(box);
    return boxes;
}

void TSection::CopySelection()
{
    TSectionList* doc = Owner();
    SelTextCount* buffer = doc ? doc->CurrentSelBuffer() : nullptr;
    if (!buffer)
        return;
    const int selB = doc->SelB, selE = doc->SelE;
    TInlineBlockObj* first = BoxHolding(selB);
    if (first)
        first->CopyText(selB, selE);
    const int selStart = ReadingIndex(selB, false), selEnd = ReadingIndex(selE, true);
    std::u16string text;
    for (const LineRec& line : FLines) {
        int a = std::max(selStart, line.Start), b = std::min(selEnd, line.Start + line.Ln);
        for (int i = a; i < b; ++i) {
            char16_t c = Buff[size_t(i)];
            if (c == BreakChar) {
                text += u'\n';
            } else if (c == 160) {
                text += u' ';
            } else if (c == ImageChar) {
                if (auto* box = dynamic_cast<TInlineBlockObj*>(ImageAt(i)); box && box->TextLength() > 0) {
                    buffer->AddText(text);
                    text.clear();
                    box->CopyText(INT_MIN, INT_MAX);
                }
            } else if (c != ControlChar) {
                text += c;
            }
        }
    }
    buffer->AddText(text);
    if (TInlineBlockObj* last = BoxHolding(selE - 1); last && last != first)
        last->CopyText(selB, selE);
    if (selE > TextEnd())
        buffer->AddLineBreak();
}

int TSection::FindText(int from, const std::u16string& text, bool matchCase)
{
    if (text.empty())
        return -1;
    if (TInlineBlockObj* box = BoxHolding(from)) {
        if (int found = box->FindText(from, text, matchCase); found >= 0)
            return found;
    }
    const int start = ReadingIndex(from, false);
    const std::vector<TInlineBlockObj*> boxes = InlineBlocks();
    if (start >= int(Buff.size()) || (boxes.empty() && text.size() > Buff.size()))
        return -1;
    std::u16string lowered;
    std::u16string_view hay = Haystack(Buff, matchCase, lowered);
    const size_t at = hay.find(text, size_t(start));
    for (TInlineBlockObj* box : boxes) {
        if (box->Pos < start)
            continue;
        if (at != std::u16string_view::npos && at < size_t(box->Pos))
            break;
        if (int found = box->FindText(INT_MIN, text, matchCase); found >= 0)
            return found;
    }
    return at == std::u16string_view::npos ? -1 : StartCurs + int(at);
}

int TSection::FindTextBack(int from, const std::u16string& text, bool matchCase)
{
    if (text.empty())
        return -1;
    if (TInlineBlockObj* box = BoxHolding(from - 1)) {
        if (int found = box->FindTextBack(from, text, matchCase); found >= 0)
            return found;
    }
    // The match must end before the from position.
    const int limit = std::min(int(Buff.size()), ReadingIndex(from, true));
    const std::vector<TInlineBlockObj*> boxes = InlineBlocks();
    std::u16string lowered;
    std::u16string_view hay = Haystack(Buff, matchCase, lowered);
    const size_t at = limit < int(text.size()) ? std::u16string_view::npos : hay.rfind(text, size_t(limit) - text.size());
    for (auto it = boxes.rbegin(); it != boxes.rend(); ++it) {
        TInlineBlockObj* box = *it;
        if (box->Pos >= limit)
            continue;
        if (at != std::u16string_view::npos && at > size_t(box->Pos))
            break;
        if (int found = box->FindTextBack(INT_MAX, text, matchCase); found >= 0)
            return found;
    }
    return at == std::u16string_view::npos ? -1 : StartCurs + int(at);
}

void TSection::VisitText(const TTextVisitor& visit)
{
    visit(StartCurs, Buff.view());
    for (TInlineBlockObj* box : InlineBlocks())
        box->VisitText(visit);
}
