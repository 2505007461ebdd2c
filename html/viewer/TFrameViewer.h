#pragma once
// TFrameViewer: the browser view. Shows a frame-set document split into
// frames, or any other document as a frame set of one frame; resolves link
// targets to frames; keeps a history of whole frame sets plus one history
// per frame and steps back and forward across both in the order the user
// navigated; keeps the visited-link list of all frames; refreshes frames.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "html/viewer/TFVBase.h"
#include "html/viewer/TVisitedList.h"

class QPrinter;
class TFrameSet;
class TfvFrame;
class TSubFrameSet;
class TStringBitmapList;

class TFrameViewer : public TFVBase {
public:
    explicit TFrameViewer(QWidget* parent = nullptr);
    ~TFrameViewer() override;

    // A name ending in "#" and an anchor is split; a missing file raises
    // EfvLoadError "Can't locate file: " + name. Ignored while busy.
    void ShowFile(const std::string& name);
    // Loads into the frame the target names (with frame history); an empty
    // target, "_top", "_parent" or "_self" loads the whole view; any other
    // name raises OnBlankWindowRequest.
    void ShowInTarget(const std::string& target, const std::string& name);
    void ReloadFile();
    void ClearView();

    void StepBack();
    void StepForward();
    bool BackButtonEnabled();
    bool FwdButtonEnabled();
    int HistoryIndex() const { return FHistoryIndex; }
    void SetHistoryIndex(int index);
    int HistoryCount() const { return int(FHistory.size()); }
    const std::string& HistoryFile(int i) const { return FHistory[size_t(i)].file; }
    const std::string& HistoryTitle(int i) const { return FHistory[size_t(i)].title; }
    void SetHistoryMaxCount(int count) override;
    void SetViewImages(bool view) override;
    // Shows every frame's document at this percent of its size at once.
    void SetZoom(int percent);
    // The cache size applies to the shown frames and trims the shared cache.
    void SetImageCacheCount(int count);

    std::string CurrentFile() const;
    std::string DocumentTitle() const;
    THTMLViewer* ActiveView();
    THTMLViewer* ViewFromTarget(const std::string& name);
    std::string ExpandLinkName(const std::string& link);
    TFrameSet& CurrentFrameSet() const { return *FCurrent; }
    // A load of this view is running, or another viewer's long load is
    // reading a document: loads, clicks and history steps are refused.
    bool Busy() const;
    // The image cache all frames share.
    const std::shared_ptr<TStringBitmapList>& SharedImageCache() const { return FImageCache; }

    // A link's load of the whole view failed (its file has gone): the owner
    // reports the message as it reports a failed load of its own. Without a
    // handler the failure goes on to the clicked viewer.
    std::function<void(TFrameViewer*, const std::string& message)> OnLoadError;

    // Document commands on the active view.
    void SelectAll();
    void CopyToClipboard();
    bool FindInText(const std::string& text, bool matchCase, bool backwards = false);
    // FindInText that goes round the document once (THTMLViewer::FindWrapping).
    TFindOutcome FindWrapping(const std::string& text, bool matchCase, bool backwards);
    void Print(int fromPage, int toPage, QPrinter& printer);
    int PrintedPages() const { return FPrintedPages; }

    // Visited links across all frames.
    int VisitedMaxCount() const { return FVisited.MaxCount(); }
    void SetVisitedMaxCount(int count);
    void MarkVisited(const std::string& url);
    void RemarkVisited();
    const TVisitedList& Visited() const { return FVisited; }

    // Used by the frames.
    void FrameLinkClick(THTMLViewer& viewer, const std::string& url);
    void FrameLinkCovered(THTMLViewer& viewer, const std::string& url);
    void FrameHistoryChanged();
    void SetBusy(bool busy);
    // The text OnBufferRequest supplies for a name; none when no handler
    // answers for it.
    std::optional<std::string> RequestedBuffer(const std::string& name);
    // Whether a frame refresh is wanted (fvMetaRefresh).
    bool MetaRefreshEnabled() const { return (fvOptions & fvMetaRefresh) != 0; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct HistoryEntry {
        std::string file;
        std::shared_ptr<TFrameSet> set;
        std::string title;
        int position = 0;
    };
    void LoadWholeView(const std::string& file, const std::string& anchor);
    void ShowSet(const std::shared_ptr<TFrameSet>& set);
    void AddFrameSetHistory(const std::shared_ptr<TFrameSet>& oldSet, const std::string& oldFile,
                            const std::string& oldTitle, int oldPosition);
    int SinglePosition(TFrameSet& set);
    std::string TargetOfLink(TfvFrame& frame, THTMLViewer& viewer);
    TfvFrame* ParentFrame(TfvFrame& frame);
    std::shared_ptr<TFrameSet> NewFrameSet();
    void ZoomFrames();

    std::shared_ptr<TStringBitmapList> FImageCache;
    std::shared_ptr<TFrameSet> FCurrent;
    std::vector<HistoryEntry> FHistory;
    int FHistoryIndex = 0;
    TVisitedList FVisited;
    bool FBusy = false;
    int FPrintedPages = 0;
};
