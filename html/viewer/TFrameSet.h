#pragma once
// The top frame set of a frame-set viewer: the frame names, every frame's
// viewer, the viewer that last had the focus, and the top document's file,
// title, base and base target.
#include <map>
#include <string>

#include "html/viewer/TSubFrameSet.h"

class TFrameViewer;
class THTMLViewer;
struct TReaderResult;

// Frames and nested sets one window shows at most.
constexpr int MaxWindowFrames = 100;

class TFrameSet : public TSubFrameSet {
public:
    TFrameSet(TFrameViewer& viewer);

    TFrameViewer& Viewer() const { return FViewer; }
    // Loads the top document: a frame set, or any other document as one frame.
    void LoadFromFile(const std::string& file, const std::string& anchor);
    // Reads a frame-set document into root (this set or a frame's nested set).
    void BuildFrameSet(TSubFrameSet& root, const std::string& text, const std::string& documentFile,
                       TReaderResult& result);

    TfvFrame* FrameNamed(const std::string& name) const;
    void RegisterName(const std::string& name, TfvFrame& frame);
    std::vector<TfvFrame*> Frames();
    int FrameCount() { return int(Frames().size()); }
    TfvFrame* FrameOf(const THTMLViewer* viewer);

    std::string CurrentFile;
    std::string Title;
    std::string Base;
    int Nesting = 0; // frame loads in progress, one inside the other
    THTMLViewer* FocusedViewer = nullptr;

private:
    TFrameViewer& FViewer;
    std::map<std::string, TfvFrame*> FNames; // upper-cased names
};
