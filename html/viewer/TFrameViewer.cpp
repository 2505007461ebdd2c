#include "html/viewer/TFrameViewer.h"
#include "html/viewer/FrameCycling.h"

#include <QFileInfo>
#include <QResizeEvent>
#include <algorithm>

#include "html/layout/TFontObj.h"
#include "html/layout/TSectionList.h"
#include "html/layout/TStringBitmapList.h"
#include "html/viewer/LaterDeleter.h"
#include "html/viewer/LinkNames.h"
#include "html/viewer/TDocumentReader.h"
#include "html/viewer/TFrameSet.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TfvFrame.h"
#include "html/viewer/ViewerErrors.h"

namespace {

bool FileExists(const std::string& name) { return QFileInfo(QString::fromStdString(name)).isFile(); }

// The viewer is busy for a scope and idle again on every way out of it, a
// load that fails included: a busy flag left set would refuse every later
// load and keep the owner's window disabled for good.
class TBusyScope {
public:
    explicit TBusyScope(TFrameViewer& viewer) : FViewer(viewer) { FViewer.SetBusy(true); }
    ~TBusyScope() { FViewer.SetBusy(false); }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    TFrameViewer& FViewer;
};

// Suspends repainting of a widget for a scope.
struct NoRedraw {
    QWidget& w;
    explicit NoRedraw(QWidget& widget) : w(widget) { w.setUpdatesEnabled(false); }
    ~NoRedraw() { w.setUpdatesEnabled(true); }
};

} // namespace

TFrameViewer::TFrameViewer(QWidget* parent)
    : TFVBase(parent), FImageCache(std::make_shared<TStringBitmapList>())
{
    FCurrent = NewFrameSet();
    FCurrent->BevelWidth = 2;
    FCurrent->show();
    InstallFrameCycleKeys(*this);
}

TFrameViewer::~TFrameViewer()
{
    FHistory.clear();
    FCurrent.reset();
}

std::shared_ptr<TFrameSet> TFrameViewer::NewFrameSet()
{
    std::shared_ptr<TFrameSet> set(new TFrameSet(*this), TLaterDeleter{});
    set->setGeometry(rect());
    return set;
}

void TFrameViewer::resizeEvent(QResizeEvent*)
{
    if (FCurrent) {
        FCurrent->setGeometry(rect());
        FCurrent->Place();
    }
}

void TFrameViewer::SetBusy(bool busy)
{
    FBusy = busy;
    if (OnProcessing)
        OnProcessing(this, busy);
}

bool TFrameViewer::Busy() const { return FBusy || DocumentReader().Reading(); }

std::string TFrameViewer::CurrentFile() const { return FCurrent->CurrentFile; }

std::string TFrameViewer::DocumentTitle() const
{
    if (FCurrent->FrameCount() == 1)
        if (THTMLViewer* v = FCurrent->Frames().front()->Viewer())
            return v->DocumentTitle();
    return FCurrent->Title;
}

THTMLViewer* TFrameViewer::ActiveView()
{
    std::vector<TfvFrame*> frames = FCurrent->Frames();
    if (frames.size() == 1)
        return frames.front()->Viewer();
    return FCurrent->FocusedViewer;
}

THTMLViewer* TFrameViewer::ViewFromTarget(const std::string& name)
{
    TfvFrame* frame = FCurrent->FrameNamed(name);
    return frame ? frame->Viewer() : nullptr;
}

std::string TFrameViewer::ExpandLinkName(const std::string& link)
{
    if (THTMLViewer* v = ActiveView())
        return v->ExpandLinkName(link);
    return ::ExpandLinkName(link, TLinkContext{FServerRoot, FCurrent->Base, FCurrent->CurrentFile});
}

// ---- Whole-view loads ----------------------------------------------------------

void TFrameViewer::ShowFile(const std::string& name)
{
    if (Busy())
        return;
    std::string file, anchor;
    SplitAnchor(name, file, anchor);
    if (RequestedBuffer(file)) {
        LoadWholeView(file, anchor);
        return;
    }
    std::string expanded = ::ExpandLinkName(file, TLinkContext{FServerRoot, "", ""});
    if (!FileExists(expanded))
        throw EfvLoadError("Can't locate file: " + name);
    LoadWholeView(expanded, anchor);
}

std::optional<std::string> TFrameViewer::RequestedBuffer(const std::string& name)
{
    if (!OnBufferRequest || name.empty())
        return std::nullopt;
    std::string buffer;
    OnBufferRequest(this, name, buffer);
    if (buffer.empty())
        return std::nullopt;
    return buffer;
}

int TFrameViewer::SinglePosition(TFrameSet& set)
{
    std::vector<TfvFrame*> frames = set.Frames();
    if (frames.size() == 1 && frames.front()->Viewer())
        return frames.front()->Viewer()->ViewPosition();
    return 0;
}

void TFrameViewer::ShowSet(const std::shared_ptr<TFrameSet>& set)
{
    NoRedraw freeze(*this);
    if (FCurrent && FCurrent != set)
        FCurrent->hide();
    FCurrent = set;
    FCurrent->setGeometry(rect());
    FCurrent->Place();
    FCurrent->show();
    FCurrent->raise();
    // A set kept in the history may have been built at another zoom.
    ZoomFrames();
}

void TFrameViewer::LoadWholeView(const std::string& file, const std::string& anchor)
{
    TBusyScope busy(*this);
    if (OnSoundRequest)
        OnSoundRequest(nullptr, "", 0, true);
    if (!SameTextNoCase(file, FCurrent->CurrentFile)) {
        auto set = NewFrameSet();
        set->lower();
        set->show();
        try {
            set->LoadFromFile(file, anchor);
        } catch (...) {
            set->hide();
            throw; // the old set stays shown
        }
        std::shared_ptr<TFrameSet> old = FCurrent;
        std::string oldFile = old->CurrentFile, oldTitle = DocumentTitle();
        int oldPosition = SinglePosition(*old);
        ShowSet(set);
        AddFrameSetHistory(old, oldFile, oldTitle, oldPosition);
    } else {
        NoRedraw freeze(*this);
        std::vector<TfvFrame*> frames = FCurrent->Frames();
        if (frames.size() == 1) {
            // The place already shown, loaded again, is no step to go back to.
            TfvFrame& only = *frames.front();
            only.LoadFrame(file, anchor, anchor == only.Destination ? TFrameHistory::Replace : TFrameHistory::Add);
        } else
            FCurrent->ReloadFiles();
        if (!FHistory.empty()) {
            FHistory[size_t(FHistoryIndex)].position = SinglePosition(*FCurrent);
            FHistory[size_t(FHistoryIndex)].title = DocumentTitle();
        }
    }
    MarkVisited(file + anchor);
    RemarkVisited();
}

void TFrameViewer::AddFrameSetHistory(const std::shared_ptr<TFrameSet>& oldSet, const std::string& oldFile,
                                      const std::string& oldTitle, int oldPosition)
{
    if (FHistoryMaxCount <= 0 || FCurrent->CurrentFile.empty()) {
        if (oldSet && oldSet != FCurrent)
            oldSet->hide();
        return;
    }
    if (!FHistory.empty() && !oldFile.empty()) {
        HistoryEntry& entry = FHistory[size_t(FHistoryIndex)];
        entry = HistoryEntry{oldFile, oldSet, oldTitle, oldPosition};
        FHistory.erase(FHistory.begin(), FHistory.begin() + FHistoryIndex);
    }
    FHistoryIndex = 0;
    FHistory.insert(FHistory.begin(), HistoryEntry{FCurrent->CurrentFile, FCurrent, DocumentTitle(), 0});
    if (FHistory.size() > size_t(FHistoryMaxCount))
        FHistory.resize(size_t(FHistoryMaxCount));
    if (OnHistoryChange)
        OnHistoryChange(this);
}

void TFrameViewer::SetHistoryMaxCount(int count)
{
    if (count < 0 || count == FHistoryMaxCount)
        return;
    if (count < FHistoryMaxCount && !FHistory.empty()) {
        FHistory.clear();
        FHistoryIndex = 0;
        if (OnHistoryChange)
            OnHistoryChange(this);
    }
    FHistoryMaxCount = count;
}

void TFrameViewer::SetViewImages(bool view)
{
    if (view == FViewImages || FBusy)
        return;
    FViewImages = view;
    for (TfvFrame* frame : FCurrent->Frames())
        if (THTMLViewer* v = frame->Viewer())
            v->SetViewImages(view);
}

void TFrameViewer::SetZoom(int percent)
{
    percent = std::clamp(percent, 10, 1000);
    if (percent == Zoom || FBusy)
        return;
    Zoom = percent;
    ZoomFrames();
}

void TFrameViewer::ZoomFrames()
{
    for (TfvFrame* frame : FCurrent->Frames())
        if (THTMLViewer* v = frame->Viewer(); v && v->Zoom != Zoom) {
            v->Zoom = Zoom;
            v->Rebuild();
        }
}

void TFrameViewer::SetImageCacheCount(int count)
{
    ImageCacheCount = std::max(0, count);
    for (TfvFrame* frame : FCurrent->Frames())
        if (THTMLViewer* v = frame->Viewer())
            v->ImageCacheCount = ImageCacheCount;
    FImageCache->SetMaxAge(ImageCacheCount);
}

void TFrameViewer::SetHistoryIndex(int index)
{
    if (index == FHistoryIndex || index < 0 || index >= int(FHistory.size()) || Busy())
        return;
    HistoryEntry& current = FHistory[size_t(FHistoryIndex)];
    current.title = DocumentTitle();
    current.position = SinglePosition(*FCurrent);
    HistoryEntry& entry = FHistory[size_t(index)];
    if (entry.set && entry.set != FCurrent) {
        ShowSet(entry.set);
        std::vector<TfvFrame*> frames = FCurrent->Frames();
        if (frames.size() == 1 && frames.front()->Viewer())
            frames.front()->Viewer()->SetViewPosition(entry.position);
    } else if (FCurrent->FrameCount() == 1) {
        FCurrent->Frames().front()->LoadFrame(entry.file, "", TFrameHistory::Replace);
    }
    FHistoryIndex = index;
    if (OnHistoryChange)
        OnHistoryChange(this);
    RemarkVisited();
}

void TFrameViewer::ReloadFile()
{
    if (Busy())
        return;
    {
        TBusyScope busy(*this);
        FCurrent->ReloadFiles();
    }
    RemarkVisited();
}

void TFrameViewer::ClearView()
{
    if (Busy())
        return;
    FHistory.clear();
    FHistoryIndex = 0;
    if (FCurrent)
        FCurrent->hide();
    FCurrent = NewFrameSet();
    FCurrent->BevelWidth = 2;
    FCurrent->show();
    FVisited.Clear();
    FImageCache->Clear();
    if (OnHistoryChange)
        OnHistoryChange(this);
}

// ---- Back and forward ------------------------------------------------------------

void TFrameViewer::StepBack()
{
    TfvFrame* best = nullptr;
    for (TfvFrame* frame : FCurrent->Frames()) {
        const auto& history = frame->History();
        if (frame->HistoryIndex() + 1 >= int(history.size()))
            continue;
        if (!best || history[size_t(frame->HistoryIndex())].pos->NavStamp >
                         best->History()[size_t(best->HistoryIndex())].pos->NavStamp)
            best = frame;
    }
    if (best)
        best->SetHistoryIndex(best->HistoryIndex() + 1);
    else
        SetHistoryIndex(FHistoryIndex + 1);
    if (OnSoundRequest)
        OnSoundRequest(nullptr, "", 0, true);
}

void TFrameViewer::StepForward()
{
    TfvFrame* best = nullptr;
    int bestStamp = 9999;
    for (TfvFrame* frame : FCurrent->Frames()) {
        if (frame->HistoryIndex() <= 0)
            continue;
        int stamp = frame->History()[size_t(frame->HistoryIndex() - 1)].pos->NavStamp;
        if (stamp < bestStamp) {
            bestStamp = stamp;
            best = frame;
        }
    }
    if (best)
        best->SetHistoryIndex(best->HistoryIndex() - 1);
    else
        SetHistoryIndex(FHistoryIndex - 1);
    if (OnSoundRequest)
        OnSoundRequest(nullptr, "", 0, true);
}

bool TFrameViewer::BackButtonEnabled()
{
    if (FHistoryIndex + 1 < int(FHistory.size()))
        return true;
    for (TfvFrame* frame : FCurrent->Frames())
        if (frame->HistoryIndex() + 1 < int(frame->History().size()))
            return true;
    return false;
}

bool TFrameViewer::FwdButtonEnabled()
{
    if (FHistoryIndex > 0)
        return true;
    for (TfvFrame* frame : FCurrent->Frames())
        if (frame->HistoryIndex() > 0)
            return true;
    return false;
}

void TFrameViewer::FrameHistoryChanged()
{
    if (OnHistoryChange)
        OnHistoryChange(this);
}

// ---- Links ---------------------------------------------------------------------------

std::string TFrameViewer::TargetOfLink(TfvFrame& frame, THTMLViewer& viewer)
{
    std::string target = viewer.LinkTarget();
    if (target.empty())
        target = viewer.BaseTarget();
    for (TSubFrameSet* set = frame.OwnerSet; target.empty() && set;) {
        target = set->BaseTarget;
        if (set->OwnerSet)
            set = set->OwnerSet;
        else if (set->OwnerFrame)
            set = set->OwnerFrame->OwnerSet;
        else
            set = nullptr;
    }
    return target;
}

TfvFrame* TFrameViewer::ParentFrame(TfvFrame& frame)
{
    for (TSubFrameSet* set = frame.OwnerSet; set; set = set->OwnerSet)
        if (set->OwnerFrame)
            return set->OwnerFrame;
    return nullptr;
}

void TFrameViewer::FrameLinkCovered(THTMLViewer& viewer, const std::string& url)
{
    if (!OnHotSpotTargetCovered)
        return;
    TfvFrame* frame = FCurrent->FrameOf(&viewer);
    std::string target = url.empty() || !frame ? std::string() : TargetOfLink(*frame, viewer);
    OnHotSpotTargetCovered(this, target, url);
}

void TFrameViewer::FrameLinkClick(THTMLViewer& viewer, const std::string& url)
{
    if (Busy())
        return;
    TfvFrame* frame = FCurrent->FrameOf(&viewer);
    if (!frame)
        return;
    std::string target = TargetOfLink(*frame, viewer);
    bool handled = false;
    if (OnHotSpotTargetClick)
        OnHotSpotTargetClick(this, target, url, handled);
    if (handled)
        return;
    std::string rest, destination, query;
    SplitAnchor(url, rest, destination);
    if (size_t q = rest.find('?'); q != std::string::npos) {
        query = rest.substr(q);
        rest.erase(q);
    }
    std::string file = rest.empty() ? viewer.CurrentFile() : viewer.ExpandLinkName(rest);
    TfvFrame* targetFrame = nullptr;
    bool wholeView = false;
    if (target.empty() || SameTextNoCase(target, "_self"))
        targetFrame = frame;
    else if (TfvFrame* named = FCurrent->FrameNamed(target))
        targetFrame = named;
    else if (SameTextNoCase(target, "_top"))
        wholeView = true;
    else if (SameTextNoCase(target, "_parent")) {
        targetFrame = ParentFrame(*frame);
        wholeView = !targetFrame;
    } else {
        if (OnBlankWindowRequest) {
            MarkVisited(file + query + destination);
            OnBlankWindowRequest(this, target, url);
        }
        return;
    }
    if (targetFrame && FCurrent->FrameCount() == 1 && !SameTextNoCase(file, FCurrent->CurrentFile))
        wholeView = true;
    if (wholeView) {
        try {
            ShowFile(file + destination);
        } catch (const ELoadCancelled&) {
            return; // stopped by the user: the page shown stays
        } catch (const std::exception& e) {
            if (!OnLoadError)
                throw;
            OnLoadError(this, e.what());
            return;
        }
    } else {
        TBusyScope busy(*this);
        targetFrame->LoadFrame(file, destination, TFrameHistory::Add);
    }
    MarkVisited(file + query + destination);
    RemarkVisited();
}

void TFrameViewer::ShowInTarget(const std::string& target, const std::string& name)
{
    if (Busy())
        return;
    std::string file, destination;
    SplitAnchor(name, file, destination);
    TfvFrame* frame = target.empty() ? nullptr : FCurrent->FrameNamed(target);
    if (frame) {
        std::string expanded = frame->Viewer() ? frame->Viewer()->ExpandLinkName(file) : ExpandLinkName(file);
        if (!FileExists(expanded) && !OnFileRequest)
            throw EfvLoadError("Can't locate file: " + name);
        {
            TBusyScope busy(*this);
            frame->LoadFrame(expanded, destination, TFrameHistory::Add);
        }
        RemarkVisited();
    } else if (target.empty() || SameTextNoCase(target, "_top") || SameTextNoCase(target, "_parent") ||
               SameTextNoCase(target, "_self"))
        ShowFile(name);
    else if (OnBlankWindowRequest)
        OnBlankWindowRequest(this, target, name);
}

// ---- Visited links -------------------------------------------------------------------

void TFrameViewer::SetVisitedMaxCount(int count)
{
    FVisited.SetMaxCount(count);
    if (count == 0)
        RemarkVisited();
}

void TFrameViewer::MarkVisited(const std::string& url) { FVisited.Mark(url); }

void TFrameViewer::RemarkVisited()
{
    for (TfvFrame* frame : FCurrent->Frames())
        if (THTMLViewer* v = frame->Viewer())
            v->MarkLinks([this](const std::string& u) { return FVisited.Contains(u); });
}

// ---- Document commands ------------------------------------------------------------

void TFrameViewer::SelectAll()
{
    if (THTMLViewer* v = ActiveView())
        v->SelectAll();
}

void TFrameViewer::CopyToClipboard()
{
    if (THTMLViewer* v = ActiveView())
        v->CopyToClipboard();
}

bool TFrameViewer::FindInText(const std::string& text, bool matchCase, bool backwards)
{
    THTMLViewer* v = ActiveView();
    return v && v->FindInText(text, matchCase, backwards);
}

TFindOutcome TFrameViewer::FindWrapping(const std::string& text, bool matchCase, bool backwards)
{
    THTMLViewer* v = ActiveView();
    return v ? v->FindWrapping(text, matchCase, backwards) : TFindOutcome::NotFound;
}

void TFrameViewer::Print(int fromPage, int toPage, QPrinter& printer)
{
    FPrintedPages = 0;
    // A frame set prints the frame the user last worked in; before any frame
    // had the focus there is no document to print.
    THTMLViewer* v = ActiveView();
    if (!v)
        return;
    ApplySettings(*v);
    v->Print(fromPage, toPage, printer);
    FPrintedPages = v->PrintedPages();
}
