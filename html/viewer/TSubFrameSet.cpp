#include "html/viewer/TSubFrameSet.h"

#include <exception>

#include <QMouseEvent>
#include <QRubberBand>

#include "html/parse/TAttributeList.h"
#include "html/viewer/LinkNames.h"
#include "html/viewer/TFrameSet.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TfvFrame.h"

namespace {

std::string AttrText(const TAttributeList& a, THtmlSymbol which)
{
    const TAttribute* attribute = a.Find(which);
    return attribute ? attribute->Text : std::string();
}

} // namespace

TSubFrameSet::TSubFrameSet(QWidget* parent, TFrameSet* master, TSubFrameSet* owner)
    : TFrameBase(parent, master, owner)
{
    RefreshTimer.setSingleShot(true);
    connect(&RefreshTimer, &QTimer::timeout, this, [this] { RefreshFired(); });
}

TSubFrameSet::~TSubFrameSet() = default;

void TSubFrameSet::InitFromAttributes(const TAttributeList& attributes, bool isTop)
{
    const TAttribute* rows = attributes.Find(RowsSy);
    if (rows)
        Specs = ParseFrameSpecs(rows->Text);
    Rows = true;
    if (Specs.size() <= 1) {
        if (const TAttribute* cols = attributes.Find(ColsSy)) {
            Specs = ParseFrameSpecs(cols->Text);
            Rows = false;
        }
    }
    const TAttribute* border = attributes.Find(BorderSy);
    if (!border)
        border = attributes.Find(FrameBorderSy);
    BorderSize = border ? std::clamp(border->Value, 0, 20) : 2;
    if (isTop) {
        if (MasterSet->Viewer().fvOptions & fvNoBorder)
            BorderSize = 0;
        BevelWidth = std::max(0, 2 - BorderSize);
    } else if (OwnerSet) {
        BorderSize = OwnerSet->BorderSize;
    }
}

TfvFrame& TSubFrameSet::AddFrame(const TAttributeList& a)
{
    auto frame = std::make_unique<TfvFrame>(this, MasterSet, this);
    TFrameViewer& fv = MasterSet->Viewer();
    frame->Name = AttrText(a, NameSy);
    std::string src = TrimText(AttrText(a, SrcSy));
    SplitAnchor(src, frame->Source, frame->Destination); // expanded once the head's base is known
    frame->NoResize = a.Find(NoResizeSy) != nullptr;
    frame->NoScroll = SameTextNoCase(TrimText(AttrText(a, ScrollingSy)), "NO");
    const TAttribute* mw = a.Find(MarginWidthSy);
    const TAttribute* mh = a.Find(MarginHeightSy);
    frame->FrameMarginWidth = mw ? mw->Value : fv.MarginWidth;
    frame->FrameMarginHeight = mh ? mh->Value : fv.MarginHeight;
    frame->BevelWidth = BorderSize > 0 && !(fv.fvOptions & fvNoBorder) ? BorderSize : 0;
    if (!frame->Name.empty())
        MasterSet->RegisterName(frame->Name, *frame);
    TfvFrame& result = *frame;
    frame->show();
    Children.push_back(std::move(frame));
    return result;
}

TSubFrameSet& TSubFrameSet::AddFrameSet(const TAttributeList& attributes)
{
    auto set = std::make_unique<TSubFrameSet>(this, MasterSet, this);
    set->InitFromAttributes(attributes, false);
    TSubFrameSet& result = *set;
    set->show();
    Children.push_back(std::move(set));
    return result;
}

void TSubFrameSet::Place()
{
    int length = Length();
    if (!FProportions.empty() && FProportions.size() == Children.size()) {
        Sizes.assign(Children.size(), 0);
        for (size_t i = 0; i < Children.size(); ++i)
            Sizes[i] = int(FProportions[i] * length + 0.5);
    } else {
        std::vector<FrameSpec> specs = Specs.empty() ? std::vector<FrameSpec>{-1} : Specs;
        Sizes = LayoutFrameSpecs(specs, length);
    }
    int offset = 0;
    for (size_t i = 0; i < Children.size(); ++i) {
        int size = i < Sizes.size() ? Sizes[i] : 0;
        TFrameBase& child = *Children[i];
        if (Rows)
            child.setGeometry(0, offset, width(), size);
        else
            child.setGeometry(offset, 0, size, height());
        child.setVisible(size > 0);
        child.Place();
        offset += size;
    }
}

void TSubFrameSet::CollectFrames(std::vector<TfvFrame*>& frames)
{
    for (auto& child : Children)
        child->CollectFrames(frames);
}

void TSubFrameSet::LoadFiles()
{
    for (auto& child : Children) {
        if (auto* frame = dynamic_cast<TfvFrame*>(child.get()))
            frame->LoadFiles();
        else if (auto* set = dynamic_cast<TSubFrameSet*>(child.get()))
            set->LoadFiles();
    }
}

void TSubFrameSet::ReloadFiles()
{
    std::vector<TfvFrame*> frames;
    CollectFrames(frames);
    // A frame whose file has gone keeps what it shows; the others reload,
    // and the first failure is reported afterwards.
    std::exception_ptr firstFailure;
    for (TfvFrame* frame : frames) {
        try {
            frame->ReloadFile();
        } catch (...) {
            if (!firstFailure)
                firstFailure = std::current_exception();
        }
    }
    if (firstFailure)
        std::rethrow_exception(firstFailure);
}

void TSubFrameSet::StartRefresh()
{
    if (RefreshDelay > 0 && MasterSet->Viewer().MetaRefreshEnabled())
        RefreshTimer.start(RefreshDelay * 1000);
}

void TSubFrameSet::RefreshFired()
{
    TFrameViewer& fv = MasterSet->Viewer();
    if (fv.Busy())
        return;
    try {
        if (OwnerFrame)
            OwnerFrame->LoadFrame(RefreshURL.empty() ? OwnerFrame->Source : RefreshURL, "", TFrameHistory::Add);
        else if (RefreshURL.empty() || SameTextNoCase(RefreshURL, MasterSet->CurrentFile))
            fv.ReloadFile();
        else
            fv.ShowFile(RefreshURL);
    } catch (const std::exception&) {
        // a refresh that cannot load leaves the view as it is
    }
}

// ---- Border dragging -------------------------------------------------------

int TSubFrameSet::BorderOffset(int border) const
{
    int offset = 0;
    for (int i = 0; i <= border && i < int(Sizes.size()); ++i)
        offset += Sizes[size_t(i)];
    return offset;
}

int TSubFrameSet::BorderNear(QPoint p) const
{
    int c = Coordinate(p);
    int best = -1, bestDistance = 5;
    for (int i = 0; i + 1 < int(Children.size()); ++i) {
        int distance = std::abs(BorderOffset(i) - c);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    if (best < 0)
        return -1;
    auto fixed = [](const TFrameBase& b) {
        auto* frame = dynamic_cast<const TfvFrame*>(&b);
        return frame && frame->NoResize;
    };
    if (fixed(*Children[size_t(best)]) || fixed(*Children[size_t(best) + 1]))
        return -1;
    return best;
}

void TSubFrameSet::BorderMouse(QEvent::Type type, QPoint p, Qt::MouseButton button)
{
    bool nearOwnEdge = p.x() < 3 || p.y() < 3 || p.x() >= width() - 3 || p.y() >= height() - 3;
    if (FDragBorder < 0 && nearOwnEdge && OwnerSet && type != QEvent::MouseButtonRelease) {
        OwnerSet->BorderMouse(type, mapTo(OwnerSet, p), button);
        return;
    }
    if (type == QEvent::MouseMove && FDragBorder < 0) {
        int border = BorderNear(p);
        if (border >= 0)
            setCursor(Rows ? Qt::SplitVCursor : Qt::SplitHCursor);
        else
            unsetCursor();
        return;
    }
    if (type == QEvent::MouseButtonPress && button == Qt::LeftButton) {
        FDragBorder = BorderNear(p);
        if (FDragBorder < 0)
            return;
        grabMouse();
        if (!FMarker)
            FMarker = new QRubberBand(QRubberBand::Line, this);
        FDragPosition = BorderOffset(FDragBorder);
    }
    if (FDragBorder < 0)
        return;
    int low = (FDragBorder > 0 ? BorderOffset(FDragBorder - 1) : 0) + 1;
    int high = BorderOffset(FDragBorder + 1) - 1;
    FDragPosition = std::clamp(Coordinate(p), low, std::max(low, high));
    if (type == QEvent::MouseButtonRelease) {
        releaseMouse();
        FMarker->hide();
        int before = FDragPosition - (FDragBorder > 0 ? BorderOffset(FDragBorder - 1) : 0);
        int total = Sizes[size_t(FDragBorder)] + Sizes[size_t(FDragBorder) + 1];
        Sizes[size_t(FDragBorder)] = before;
        Sizes[size_t(FDragBorder) + 1] = total - before;
        int length = std::max(1, Length());
        FProportions.assign(Children.size(), 0.0);
        for (size_t i = 0; i < Children.size() && i < Sizes.size(); ++i)
            FProportions[i] = double(Sizes[i]) / length;
        FDragBorder = -1;
        Place();
        return;
    }
    if (Rows)
        FMarker->setGeometry(0, FDragPosition, width(), 1);
    else
        FMarker->setGeometry(FDragPosition, 0, 1, height());
    FMarker->show();
}

void TSubFrameSet::mousePressEvent(QMouseEvent* e) { BorderMouse(e->type(), e->position().toPoint(), e->button()); }
void TSubFrameSet::mouseMoveEvent(QMouseEvent* e) { BorderMouse(e->type(), e->position().toPoint(), e->button()); }
void TSubFrameSet::mouseReleaseEvent(QMouseEvent* e)
{
    BorderMouse(e->type(), e->position().toPoint(), e->button());
}
