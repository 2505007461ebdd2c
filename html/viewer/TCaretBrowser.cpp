#include "html/viewer/TCaretBrowser.h"

#include <QKeyEvent>
#include <algorithm>

#include "html/layout/TSectionList.h"
#include "html/viewer/TAccessibleMap.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/ViewerAccessibility.h"

namespace {

// How far up or down the next line is looked for (gaps between blocks).
constexpr int LineSearchPixels = 400;
constexpr int LineSearchStep = 2;

} // namespace

TCaretBrowser::TCaretBrowser(THTMLViewer& viewer) : FViewer(viewer) {}

TCaretBrowser::~TCaretBrowser() = default;

const TAccessibleMap& TCaretBrowser::Map()
{
    if (!FMap || FMapVersion != FViewer.LayoutVersion()) {
        FOffset = FOffsetPosition = -1;
        FMap = std::make_unique<TAccessibleMap>(FViewer.SectionList());
        FMapVersion = FViewer.LayoutVersion();
    }
    return *FMap;
}

void TCaretBrowser::SetOn(bool on)
{
    FOn = on;
    TSectionList& doc = FViewer.SectionList();
    doc.ShowCaret = on;
    FAnchor = -1;
    if (!on)
        FMap.reset();
    else if (doc.CaretPos < 0) {
        // Start at the first line shown.
        TCaretHit hit;
        int top = -1;
        for (int y = FViewer.VScrollBarPosition(); top < 0 && y < FViewer.VScrollBarPosition() + FViewer.SurfaceHeight();
             y += LineSearchStep)
            for (int x = 0; top < 0 && x < FViewer.SurfaceWidth(); x += 8 * LineSearchStep)
                top = doc.PositionAt(FViewer.MeasuringCanvas(), x + FViewer.HScrollBarPosition(), y, hit);
        doc.CaretPos = top >= 0 ? top : Map().DocPosition(0);
    }
    if (doc.Host.invalidate)
        doc.Host.invalidate();
    if (on)
        AnnounceCaretMoved(FViewer);
}

void TCaretBrowser::DocumentChanged()
{
    FAnchor = -1;
    FMap.reset();
    TSectionList& doc = FViewer.SectionList();
    doc.ShowCaret = FOn;
    if (FOn)
        doc.CaretPos = Map().DocPosition(0);
}

int TCaretBrowser::LineEdge(int offset, int direction)
{
    int start = offset, end = offset;
    if (!Map().LineAt(offset, start, end))
        return offset;
    if (direction < 0)
        return start;
    // The line's own end, before the break that closes its paragraph.
    return end > start && Map().CharAt(end - 1) == u'\n' ? end - 1 : end;
}

int TCaretBrowser::NextLine(int offset, int direction)
{
    TSectionList& doc = FViewer.SectionList();
    TAccessibleCharBox box;
    if (!Map().CharBox(doc, offset, box))
        return offset;
    int from = direction > 0 ? box.y + box.height : box.y - 1;
    TCaretHit hit;
    for (int probe = from; std::abs(probe - from) < LineSearchPixels && probe >= 0; probe += direction * LineSearchStep) {
        int found = doc.PositionAt(FViewer.MeasuringCanvas(), box.x, probe, hit);
        if (found < 0)
            continue;
        int next = Map().TextOffset(found);
        TAccessibleCharBox nextBox;
        if (next != offset && Map().CharBox(doc, next, nextBox) && nextBox.y != box.y)
            return next;
    }
    return offset;
}

void TCaretBrowser::MoveTo(int offset, bool extend)
{
    TSectionList& doc = FViewer.SectionList();
    offset = std::clamp(offset, 0, Map().TextLength());
    int position = Map().DocPosition(offset);
    if (extend) {
        if (FAnchor < 0 || doc.SelE <= doc.SelB)
            FAnchor = std::max(doc.CaretPos, 0);
        doc.SelB = std::min(FAnchor, position);
        doc.SelE = std::max(FAnchor, position);
    } else {
        FAnchor = -1;
        doc.SelB = doc.SelE = position;
    }
    doc.CaretPos = position;
    FOffset = offset;
    FOffsetPosition = position;
    TAccessibleCharBox box;
    if (Map().CharBox(doc, offset, box)) {
        int top = FViewer.VScrollBarPosition();
        int height = FViewer.SurfaceHeight();
        if (box.y < top || box.y + box.height > top + height)
            FViewer.SetVScrollBarPosition(std::max(0, box.y - height / 3));
    }
    if (doc.Host.invalidate)
        doc.Host.invalidate();
    AnnounceCaretMoved(FViewer);
}

bool TCaretBrowser::HandleKey(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_F7 && !(event.modifiers() & ~Qt::KeypadModifier)) {
        SetOn(!FOn);
        return true;
    }
    if (!FOn || FViewer.Processing())
        return false;
    int position = std::max(FViewer.SectionList().CaretPos, 0);
    const TAccessibleMap& map = Map(); // a new map forgets the offset
    int caret = position == FOffsetPosition && FOffset >= 0 ? FOffset : map.TextOffset(position);
    bool extend = event.modifiers() & Qt::ShiftModifier;
    bool control = event.modifiers() & Qt::ControlModifier;
    switch (event.key()) {
    case Qt::Key_Left: MoveTo(caret - 1, extend); return true;
    case Qt::Key_Right: MoveTo(caret + 1, extend); return true;
    case Qt::Key_Up: MoveTo(NextLine(caret, -1), extend); return true;
    case Qt::Key_Down: MoveTo(NextLine(caret, 1), extend); return true;
    case Qt::Key_Home: MoveTo(control ? 0 : LineEdge(caret, -1), extend); return true;
    case Qt::Key_End: MoveTo(control ? Map().TextLength() : LineEdge(caret, 1), extend); return true;
    default: return false;
    }
}
