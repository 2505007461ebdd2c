// THTMLViewer: mouse actions on the drawing surface — covered links and the
// leave timer, clicks, selection with auto-scroll, middle-button panning.
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>

#include "html/layout/TFloatingObj.h"
#include "html/layout/TFormControlObj.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TPaintPanel.h"

namespace {

bool IsWordChar(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' ||
           (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}

std::string ToUtf8(const std::u16string& text) { return QString::fromStdU16String(text).toStdString(); }

} // namespace

int THTMLViewer::LinkAtPanel(int x, int y, TLinkHit& hit)
{
    return FSectionList->LinkAt(MeasuringCanvas(), x + HScrollBarPosition(), y + VScrollBarPosition(), hit);
}

int THTMLViewer::PositionAtPanel(int x, int y)
{
    TCaretHit hit;
    return FSectionList->PositionAt(MeasuringCanvas(), x + HScrollBarPosition(), y + VScrollBarPosition(), hit);
}

void THTMLViewer::PanelMousePress(QMouseEvent* event)
{
    if (FProcessing)
        return;
    if (FPanning) {
        FPanning = false;
        FAutoScrollTimer.stop();
        FPaintPanel->unsetCursor();
        return;
    }
    if (event->button() == Qt::MiddleButton) {
        FPanning = true;
        FPanStart = event->position().toPoint();
        FLastMouse = FPanStart;
        FPaintPanel->setCursor(Qt::SizeAllCursor);
        FAutoScrollTimer.start();
        return;
    }
    FPressWasLeft = event->button() == Qt::LeftButton;
    if (!FPressWasLeft)
        return;
    setFocus(Qt::MouseFocusReason);
    MarkFocusedLink(0);
    FLeftButtonDown = true;
    FSectionList->SetLinkPressed(true);
    QPoint p = event->position().toPoint();
    int position = PositionAtPanel(p.x(), p.y());
    TSectionList& doc = *FSectionList;
    if (position < 0)
        position = doc.CaretPos >= 0 ? doc.CaretPos : 0;
    if ((event->modifiers() & Qt::ShiftModifier) && doc.CaretPos >= 0) {
        FSelAnchor = doc.CaretPos;
        doc.SelB = std::min(FSelAnchor, position);
        doc.SelE = std::max(FSelAnchor, position);
    } else {
        FSelAnchor = position;
        doc.SelB = doc.SelE = doc.CaretPos = position;
    }
    FPaintPanel->update();
}

void THTMLViewer::ExtendSelection(int x, int y)
{
    if (NoSelect || FSelAnchor < 0)
        return;
    int position = PositionAtPanel(x, y);
    if (position < 0)
        return;
    TSectionList& doc = *FSectionList;
    doc.SelB = std::min(FSelAnchor, position);
    doc.SelE = std::max(FSelAnchor, position);
    doc.CaretPos = position;
    FPaintPanel->update();
}

void THTMLViewer::PanelMouseMove(QMouseEvent* event)
{
    if (FProcessing)
        return;
    QPoint p = event->position().toPoint();
    FLastMouse = p;
    if (FPanning)
        return;
    TLinkHit hit;
    int flags = LinkAtPanel(p.x(), p.y(), hit);
    std::string url = (flags & HitLink) ? hit.link.url : std::string();
    std::string target = (flags & HitLink) ? hit.link.target : std::string();
    if (flags & (HitLink | HitControl))
        FPaintPanel->setCursor(Qt::PointingHandCursor);
    else {
        TCaretHit caret;
        int position = FSectionList->PositionAt(MeasuringCanvas(), p.x() + HScrollBarPosition(),
                                                p.y() + VScrollBarPosition(), caret);
        FPaintPanel->setCursor(position >= 0 && caret.inText ? Qt::IBeamCursor : Qt::ArrowCursor);
    }
    if (OnImageOver || OnImageClick) {
        TFloatingObj* image = nullptr;
        int ix = 0, iy = 0;
        if (FSectionList->ObjectAt(p.x() + HScrollBarPosition(), p.y() + VScrollBarPosition(), image, ix, iy) &&
            OnImageOver)
            OnImageOver(this, image, event->modifiers(), ix, iy);
    }
    if (url != FURL || target != FTarget) {
        FURL = url;
        FTarget = target;
        if (OnHotSpotCovered)
            OnHotSpotCovered(this, url);
    }
    if (flags & (HitLink | HitControl))
        FHoverTimer.start();
    if (FLeftButtonDown && (event->buttons() & Qt::LeftButton)) {
        ExtendSelection(p.x(), p.y());
        bool outside = p.y() < 0 || p.y() >= SurfaceHeight();
        if (outside && !FAutoScrollTimer.isActive())
            FAutoScrollTimer.start();
    }
}

void THTMLViewer::HoverTimerTick()
{
    QWidget* under = QApplication::widgetAt(QCursor::pos());
    if (under == FPaintPanel && FPaintPanel->underMouse())
        return;
    FHoverTimer.stop();
    FSectionList->ClearHover();
    if (!FURL.empty() || !FTarget.empty()) {
        FURL.clear();
        FTarget.clear();
        if (OnHotSpotCovered)
            OnHotSpotCovered(this, "");
    }
}

void THTMLViewer::AutoScrollTick()
{
    QPoint p = FPaintPanel->mapFromGlobal(QCursor::pos());
    if (FPanning) {
        int distance = p.y() - FPanStart.y();
        if (std::abs(distance) <= 20) {
            FPaintPanel->setCursor(Qt::SizeAllCursor);
            return;
        }
        int step = std::abs(distance) > 60 ? 32 : 8;
        FPaintPanel->setCursor(distance < 0 ? Qt::UpArrowCursor : Qt::SizeVerCursor);
        ScrollToY(VScrollBarPosition() + (distance < 0 ? -step : step));
        return;
    }
    if (!FLeftButtonDown) {
        FAutoScrollTimer.stop();
        return;
    }
    int outside = p.y() < 0 ? -p.y() : p.y() >= SurfaceHeight() ? p.y() - SurfaceHeight() + 1 : 0;
    if (outside == 0) {
        FAutoScrollTimer.stop();
        return;
    }
    int step = outside > 15 ? 8 * 16 : 16;
    ScrollToY(VScrollBarPosition() + (p.y() < 0 ? -step : step));
    ExtendSelection(p.x(), std::clamp(p.y(), 0, std::max(0, SurfaceHeight() - 1)));
}

void THTMLViewer::PanelMouseRelease(QMouseEvent* event)
{
    if (FProcessing)
        return;
    QPoint p = event->position().toPoint();
    bool wasLeft = FPressWasLeft && event->button() == Qt::LeftButton;
    FLeftButtonDown = false;
    FAutoScrollTimer.stop();
    FSectionList->SetLinkPressed(false);
    if (event->button() == Qt::RightButton) {
        TRightClickParameters parameters;
        TLinkHit hit;
        if (LinkAtPanel(p.x(), p.y(), hit) & HitLink) {
            parameters.URL = hit.link.url;
            parameters.Target = hit.link.target;
        }
        FSectionList->ObjectAt(p.x() + HScrollBarPosition(), p.y() + VScrollBarPosition(), parameters.Image,
                               parameters.ImageX, parameters.ImageY);
        parameters.ClickWord = WordAt(PositionAtPanel(p.x(), p.y()));
        if (OnRightClick)
            OnRightClick(this, parameters);
        return;
    }
    if (OnImageClick) {
        TFloatingObj* image = nullptr;
        int ix = 0, iy = 0;
        if (FSectionList->ObjectAt(p.x() + HScrollBarPosition(), p.y() + VScrollBarPosition(), image, ix, iy))
            OnImageClick(this, image, event->button(), event->modifiers(), ix, iy);
    }
    if (!wasLeft || (event->modifiers() & Qt::ShiftModifier) || SelLength() > 0)
        return;
    TLinkHit hit;
    int flags = LinkAtPanel(p.x(), p.y(), hit);
    if ((flags & HitControl) && hit.control) {
        hit.control->Click(); // image inputs submit their form
        return;
    }
    if (flags & HitLink)
        ActivateLink(hit.link);
}

std::string THTMLViewer::WordAt(int position) const
{
    if (position < 0)
        return "";
    TSectionList& doc = *FSectionList;
    auto charAt = [&doc](int pos, char16_t& c) {
        TIDObject* obj = nullptr;
        return doc.CharAt(pos, c, obj);
    };
    char16_t c = 0;
    int begin = position, end = position;
    while (begin > 0 && charAt(begin - 1, c) && IsWordChar(c))
        --begin;
    while (charAt(end, c) && IsWordChar(c))
        ++end;
    std::u16string word;
    for (int i = begin; i < end; ++i)
        if (charAt(i, c))
            word += c;
    return ToUtf8(word);
}

void THTMLViewer::PanelMouseDoubleClick(QMouseEvent* event)
{
    if (FProcessing)
        return;
    QPoint p = event->position().toPoint();
    int position = PositionAtPanel(p.x(), p.y());
    if (!NoSelect && position >= 0) {
        TSectionList& doc = *FSectionList;
        std::u16string word = QString::fromStdString(WordAt(position)).toStdU16String();
        char16_t c = 0;
        TIDObject* obj = nullptr;
        int begin = position;
        while (begin > 0 && doc.CharAt(begin - 1, c, obj) && IsWordChar(c))
            --begin;
        doc.SelB = begin;
        doc.SelE = begin + int(word.size());
        doc.CaretPos = doc.SelE;
        FPaintPanel->update();
    }
    if (OnMouseDouble)
        OnMouseDouble(this, event->button(), event->modifiers(), p.x(), p.y());
}
