#pragma once
// One frame of a frame set: shows its document in a THTMLViewer, or a
// nested frame set when the document is one; keeps its own history.
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "html/viewer/LaterDeleter.h"
#include "html/viewer/PositionObj.h"
#include "html/viewer/TFrameBase.h"

#include "html/viewer/THTMLViewer.h"
class TFrameViewer;

enum class TFrameHistory { Add, Replace };

class TfvFrame : public TFrameBase {
public:
    TfvFrame(QWidget* parent, TFrameSet* master, TSubFrameSet* owner);
    ~TfvFrame() override;

    std::string Name;        // as written
    std::string Source;      // expanded file name
    std::string Destination; // "#anchor" or empty
    bool NoResize = false;
    bool NoScroll = false;
    int FrameMarginWidth = 10;
    int FrameMarginHeight = 5;

    THTMLViewer* Viewer() const { return FViewer.get(); }
    TSubFrameSet* NestedSet() const { return FNested.get(); }

    // Loads a document into the frame (image, text, HTML or a frame set).
    // A failure shows an error line in the frame instead.
    void LoadFrame(const std::string& file, const std::string& destination, TFrameHistory history);
    void LoadFiles() { LoadFrame(Source, Destination, TFrameHistory::Add); }
    void ReloadFile();
    void Place() override;
    void CollectFrames(std::vector<TfvFrame*>& frames) override;

    // The frame's own history.
    struct HistoryEntry {
        std::string file;
        std::shared_ptr<TSubFrameSet> set; // when the entry showed a frame set
        std::unique_ptr<PositionObj> pos;
    };
    const std::vector<HistoryEntry>& History() const { return FHistory; }
    int HistoryIndex() const { return FHistoryIndex; }
    void SetHistoryIndex(int index);

    // A refresh meta tag of the frame's document.
    void RequestRefresh(int delay, const std::string& url);
    QTimer RefreshTimer;
    std::string RefreshURL;

    THTMLViewer& EnsureViewer();

private:
    TFrameViewer& FrameViewer() const;
    void AddHistory(const std::string& file, TFrameHistory mode);
    void SaveCurrentEntry();
    void ShowNested(std::shared_ptr<TSubFrameSet> set);
    void DropViewer();
    void LoadNestedSet(const std::string& file, const std::string& text);
    void ShowError(const std::string& file);
    void RefreshFired();

    std::unique_ptr<THTMLViewer, TLaterDeleter> FViewer;
    std::shared_ptr<TSubFrameSet> FNested;
    std::vector<HistoryEntry> FHistory;
    int FHistoryIndex = 0;
};
