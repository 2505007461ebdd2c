#include "html/viewer/TfvFrame.h"

#include <QFileInfo>

#include "html/viewer/DocumentFile.h"
#include "html/viewer/LinkNames.h"
#include "html/viewer/TDocumentReader.h"
#include "html/viewer/TFrameSet.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/ViewerErrors.h"
#include "util/Utilities.h"

namespace {

// Frame loads nested this deep leave the next frame empty: a frame set that
// shows itself in a frame stops here.
constexpr int MaxFrameNesting = 4;

bool IsImageName(const std::string& ext)
{
    return ext == ".GIF" || ext == ".JPG" || ext == ".JPEG" || ext == ".BMP" || ext == ".PNG";
}

std::string ReadFile(const std::string& name)
{
    try {
        return ReadDocumentFile(name, name);
    } catch (const EInOutError& e) {
        throw EfvLoadError(e.message());
    }
}

} // namespace

TfvFrame::TfvFrame(QWidget* parent, TFrameSet* master, TSubFrameSet* owner) : TFrameBase(parent, master, owner)
{
    RefreshTimer.setSingleShot(true);
    connect(&RefreshTimer, &QTimer::timeout, this, [this] { RefreshFired(); });
}

TfvFrame::~TfvFrame()
{
    // Sets kept in the history are children of this panel: free them before it.
    FHistory.clear();
    FNested.reset();
    FViewer.reset();
}

TFrameViewer& TfvFrame::FrameViewer() const { return MasterSet->Viewer(); }

void TfvFrame::CollectFrames(std::vector<TfvFrame*>& frames)
{
    if (FNested)
        FNested->CollectFrames(frames);
    else
        frames.push_back(this);
}

void TfvFrame::Place()
{
    QRect inner = rect().adjusted(BevelWidth, BevelWidth, -BevelWidth, -BevelWidth);
    if (FViewer)
        FViewer->setGeometry(inner);
    if (FNested) {
        FNested->setGeometry(rect());
        FNested->Place();
    }
}

THTMLViewer& TfvFrame::EnsureViewer()
{
    TFrameViewer& fv = FrameViewer();
    if (FViewer) {
        // Fonts, colours and switches changed since the viewer was made apply
        // to the next document it shows.
        fv.ApplySettings(*FViewer);
        return *FViewer;
    }
    FViewer.reset(new THTMLViewer(this));
    THTMLViewer& v = *FViewer;
    fv.ApplySettings(v);
    v.SetImageCache(fv.SharedImageCache());
    v.MarginWidth = FrameMarginWidth;
    v.MarginHeight = FrameMarginHeight;
    v.SetInFrameSet(true);
    if (BevelWidth == 0 || (fv.fvOptions & fvNoBorder))
        v.SetBorderStyle(THTMLBorderStyle::htNone);
    if (NoScroll)
        v.SetScrollBars(TScrollStyle::ssNone);
    v.OnHotSpotClick = [&fv](THTMLViewer* sender, const std::string& url, bool& handled) {
        handled = true; // the frame viewer decides where the link goes
        fv.FrameLinkClick(*sender, url);
    };
    v.OnHotSpotCovered = [&fv](THTMLViewer* sender, const std::string& url) { fv.FrameLinkCovered(*sender, url); };
    v.OnMetaRefresh = [this](THTMLViewer*, int delay, const std::string& url) { RequestRefresh(delay, url); };
    // The active frame is the one the user chose, with the mouse or the
    // keyboard; focus that only passed through (a set shown, a window
    // activated) chooses nothing.
    v.OnFocusReceived = [this](THTMLViewer* sender, Qt::FocusReason reason) {
        if (reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::ShortcutFocusReason)
            MasterSet->FocusedViewer = sender;
    };
    Place();
    v.show();
    return v;
}

void TfvFrame::DropViewer()
{
    if (MasterSet->FocusedViewer == FViewer.get())
        MasterSet->FocusedViewer = nullptr;
    FViewer.reset();
}

void TfvFrame::SaveCurrentEntry()
{
    if (FHistory.empty())
        return;
    PositionObj& pos = *FHistory[size_t(FHistoryIndex)].pos;
    if (FViewer && !FNested) {
        pos.Pos = FViewer->ViewPosition();
        pos.FormData = FViewer->SaveFormData();
    }
}

void TfvFrame::AddHistory(const std::string& file, TFrameHistory mode)
{
    auto pos = std::make_unique<PositionObj>();
    pos->Pos = FViewer && !FNested ? FViewer->ViewPosition() : 0;
    pos->NavStamp = NextNavStamp();
    if (mode == TFrameHistory::Replace && !FHistory.empty()) {
        HistoryEntry& entry = FHistory[size_t(FHistoryIndex)];
        entry.file = file;
        entry.set = FNested;
        entry.pos->Pos = pos->Pos;
        return;
    }
    FHistory.erase(FHistory.begin(), FHistory.begin() + FHistoryIndex);
    FHistory.insert(FHistory.begin(), HistoryEntry{file, FNested, std::move(pos)});
    FHistoryIndex = 0;
    size_t keep = size_t(std::max(1, FrameViewer().HistoryMaxCount()));
    if (FHistory.size() > keep)
        FHistory.resize(keep);
    FrameViewer().FrameHistoryChanged();
}

void TfvFrame::ShowNested(std::shared_ptr<TSubFrameSet> set)
{
    if (FNested && FNested != set)
        FNested->hide();
    FNested = std::move(set);
    if (FNested) {
        BevelWidth = 0;
        DropViewer();
        FNested->setParent(this);
        FNested->show();
    }
    Place();
}

void TfvFrame::LoadNestedSet(const std::string& file, const std::string& text)
{
    std::shared_ptr<TSubFrameSet> set(new TSubFrameSet(this, MasterSet, nullptr), TLaterDeleter{});
    set->OwnerFrame = this;
    TReaderResult result;
    MasterSet->BuildFrameSet(*set, text, file, result);
    set->BaseTarget = result.baseTarget;
    ShowNested(set);
    Source = file;
    AddHistory(file, TFrameHistory::Add);
    set->LoadFiles();
    set->Place();
    set->StartRefresh();
}

void TfvFrame::ShowError(const std::string& file)
{
    if (FNested) {
        FNested->hide();
        FNested.reset();
    }
    THTMLViewer& v = EnsureViewer();
    try {
        v.ShowHtmlText("<p><img src=\"qw%&.bmp\" alt=\"Error\"> Can't load " + file);
    } catch (const std::exception&) {
        // nothing more to show
    }
}

void TfvFrame::LoadFrame(const std::string& file, const std::string& destination, TFrameHistory history)
{
    if (file.empty() || MasterSet->Nesting >= MaxFrameNesting)
        return;
    ++MasterSet->Nesting;
    struct Leave {
        int& n;
        ~Leave() { --n; }
    } leave{MasterSet->Nesting};
    RefreshTimer.stop();
    // The page being left keeps its place and form contents in its entry;
    // they must be taken before the new page replaces it.
    SaveCurrentEntry();
    std::string ext = UpperExtension(file);
    try {
        if (IsImageName(ext) || ext == ".TXT") {
            if (FNested) {
                FNested->hide();
                FNested.reset();
            }
            THTMLViewer& v = EnsureViewer();
            if (ext == ".TXT")
                v.ShowTextFile(file);
            else
                v.ShowImageFile(file);
            Source = v.CurrentFile();
            Destination.clear();
            AddHistory(Source, history);
            return;
        }
        std::optional<std::string> supplied = FrameViewer().RequestedBuffer(file);
        std::string expanded = supplied ? file : FrameViewer().ExpandLinkName(file);
        if (FViewer && !FNested && !destination.empty() && expanded == FViewer->CurrentFile()) {
            // Only the place in the document changes.
            FViewer->GotoAnchor(destination);
            Destination = destination;
            AddHistory(expanded, history);
            return;
        }
        std::string text = supplied ? std::move(*supplied) : ReadFile(expanded);
        if (DocumentReader().IsFrameSet(text)) {
            LoadNestedSet(expanded, text);
            return;
        }
        if (FNested) {
            FNested->hide();
            FNested.reset();
        }
        THTMLViewer& v = EnsureViewer();
        v.SetBase(MasterSet->Base);
        if (supplied) {
            v.ShowHtmlText(text, expanded);
            v.GotoAnchor(destination);
        } else
            v.ShowFile(expanded + destination);
        if (v.Base().empty())
            v.SetBase(MasterSet->Base);
        Source = expanded;
        Destination = destination;
        AddHistory(expanded, history);
    } catch (const ELoadCancelled&) {
        throw; // the whole load stops, and what was shown stays
    } catch (const std::exception&) {
        ShowError(file);
    }
}

void TfvFrame::ReloadFile()
{
    if (FViewer && !FNested) {
        FrameViewer().ApplySettings(*FViewer);
        FViewer->Reload();
    }
}

void TfvFrame::SetHistoryIndex(int index)
{
    if (index == FHistoryIndex || index < 0 || index >= int(FHistory.size()))
        return;
    RefreshTimer.stop();
    SaveCurrentEntry();
    HistoryEntry& entry = FHistory[size_t(index)];
    if (entry.set) {
        ShowNested(entry.set);
    } else {
        if (FNested) {
            FNested->hide();
            FNested.reset();
            Place();
        }
        THTMLViewer& v = EnsureViewer();
        try {
            if (entry.file != v.CurrentFile()) {
                std::string ext = UpperExtension(entry.file);
                if (ext == ".TXT")
                    v.ShowTextFile(entry.file);
                else if (IsImageName(ext))
                    v.ShowImageFile(entry.file);
                else
                    v.ShowFile(entry.file);
                v.RestoreFormData(entry.pos->FormData.get());
            }
            v.SetViewPosition(entry.pos->Pos);
        } catch (const std::exception&) {
            ShowError(entry.file);
        }
    }
    Source = entry.file;
    FHistoryIndex = index;
    FrameViewer().FrameHistoryChanged();
}

void TfvFrame::RequestRefresh(int delay, const std::string& url)
{
    TFrameViewer& fv = FrameViewer();
    if (!fv.MetaRefreshEnabled() || delay <= 0)
        return;
    RefreshURL = url.empty() ? Source : (FViewer ? FViewer->ExpandLinkName(url) : url);
    if (QFileInfo(QString::fromStdString(RefreshURL)).isFile())
        RefreshTimer.start(delay * 1000);
}

void TfvFrame::RefreshFired()
{
    TFrameViewer& fv = FrameViewer();
    if (fv.Busy())
        return;
    try {
        if (MasterSet->FrameCount() > 1)
            LoadFrame(RefreshURL, "", TFrameHistory::Add);
        else if (!SameTextNoCase(RefreshURL, MasterSet->CurrentFile))
            fv.ShowFile(RefreshURL);
        else
            fv.ReloadFile();
    } catch (const std::exception&) {
        // the frame keeps what it shows
    }
}
