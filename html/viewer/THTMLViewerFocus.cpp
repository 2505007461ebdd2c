// THTMLViewer: the keyboard focus — Tab and Shift+Tab move it through the
// document's links and form controls in reading order, Enter follows the
// focused link.
#include <QKeyEvent>
#include <algorithm>

#include "html/layout/TFontObj.h"
#include "html/layout/TFormControlObj.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TPaintPanel.h"

namespace {

// A place the focus can stop at: a link (its first run) or a form control.
struct TFocusStop {
    int y = 0;
    int x = 0;
    TFontObj* link = nullptr;
    TFormControlObj* control = nullptr;
};

// Every focus stop of the laid-out document, top to bottom, left to right.
std::vector<TFocusStop> FocusStops(TSectionList& doc, TCanvas& canvas)
{
    std::vector<TFocusStop> stops;
    for (TFontObj* run : doc.LinkList) {
        if (run->FirstOfLink() != run || !run->Section())
            continue;
        TFocusStop stop { run->YValue(), 0, run, nullptr };
        int x = 0, y = 0;
        if (doc.CaretXY(canvas, run->Section()->StartCurs + run->Pos, x, y))
            stop.x = x;
        stops.push_back(stop);
    }
    for (TFormControlObj* control : doc.FormControlList) {
        TControl* window = control->TheControl();
        if (!window || !window->isEnabled() || window->kind() == TControlKind::TabStop)
            continue;
        // Controls not painted yet wait parked far left; their place in the line is not known.
        TRect bounds = window->bounds();
        stops.push_back(TFocusStop { control->YValue, std::max(0, bounds.left), nullptr, control });
    }
    std::stable_sort(stops.begin(), stops.end(),
        [](const TFocusStop& a, const TFocusStop& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    return stops;
}

bool HasFocus(const TFocusStop& stop, int ownLinkId)
{
    if (stop.control)
        return stop.control->TheControl()->hasFocus();
    if (TControl* tabStop = stop.link->TabStop(); tabStop && tabStop->hasFocus())
        return true;
    return ownLinkId != 0 && stop.link->Link().id == ownLinkId;
}

} // namespace

bool THTMLViewer::MoveFocus(TFocusStep step)
{
    if (FProcessing)
        return false;
    std::vector<TFocusStop> stops = FocusStops(*FSectionList, MeasuringCanvas());
    if (stops.empty())
        return false;
    auto current = std::find_if(
        stops.begin(), stops.end(), [this](const TFocusStop& s) { return HasFocus(s, FFocusedLinkId); });
    const int count = int(stops.size());
    int index = 0;
    if (current == stops.end())
        index = step == TFocusStep::Next ? 0 : count - 1;
    else
        index = (int(current - stops.begin()) + (step == TFocusStep::Next ? 1 : count - 1)) % count;
    const TFocusStop& next = stops[size_t(index)];
    MarkFocusedLink(0);
    if (next.control) {
        next.control->TheControl()->setFocus();
        ScrollIntoView(next.control->YValue, 30);
    } else if (TControl* tabStop = next.link->TabStop()) {
        tabStop->setFocus();
    } else {
        setFocus(Qt::TabFocusReason);
        MarkFocusedLink(next.link->Link().id);
        ScrollIntoView(next.link->YValue(), 30);
    }
    FPaintPanel->update();
    return true;
}

void THTMLViewer::MarkFocusedLink(int linkId)
{
    if (linkId == FFocusedLinkId)
        return;
    for (TFontObj* run : FSectionList->LinkList) {
        if (run->Link().id == FFocusedLinkId)
            run->Focused = false;
        if (linkId != 0 && run->Link().id == linkId)
            run->Focused = true;
    }
    FFocusedLinkId = linkId;
}

std::string THTMLViewer::FocusedLink() const
{
    for (TFontObj* run : FSectionList->LinkList) {
        TControl* tabStop = run->TabStop();
        if ((FFocusedLinkId != 0 && run->Link().id == FFocusedLinkId) || (tabStop && tabStop->hasFocus()))
            return run->Link().url;
    }
    return {};
}

void THTMLViewer::ActivateLink(const TLinkInfo& link)
{
    FURL = link.url;
    FTarget = link.target;
    bool handled = false;
    try {
        if (OnHotSpotClick)
            OnHotSpotClick(this, FURL, handled);
        if (!handled)
            FollowLink(FURL);
    } catch (const std::exception& error) {
        ReportError(error);
    }
}

bool THTMLViewer::ActivateFocusedLink()
{
    if (FFocusedLinkId == 0)
        return false;
    auto run = std::find_if(FSectionList->LinkList.begin(), FSectionList->LinkList.end(),
        [this](TFontObj* r) { return r->Link().id == FFocusedLinkId; });
    if (run == FSectionList->LinkList.end())
        return false;
    ActivateLink((*run)->Link());
    return true;
}

bool THTMLViewer::focusNextPrevChild(bool next)
{
    // Tab stays within the document: it walks its links and controls round.
    return MoveFocus(next ? TFocusStep::Next : TFocusStep::Previous) || QWidget::focusNextPrevChild(next);
}
