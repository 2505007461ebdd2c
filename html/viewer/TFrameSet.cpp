#include "html/viewer/TFrameSet.h"

#include <stack>

#include "html/parse/TAttributeList.h"
#include "html/viewer/DocumentFile.h"
#include "html/viewer/LinkNames.h"
#include "html/viewer/MetaRefresh.h"
#include "html/viewer/TDocumentReader.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TfvFrame.h"
#include "html/viewer/ViewerErrors.h"
#include "util/Utilities.h"

namespace {

// The whole text of a document that may be a frame set, with the reader's
// reasons (missing, too large) as load errors of the frame viewer.
std::string ReadFrameSetSource(const std::string& path, const std::string& shownName)
{
    try {
        return ReadDocumentFile(path, shownName);
    } catch (const EInOutError& e) {
        throw EfvLoadError(e.message());
    }
}

} // namespace

TFrameSet::TFrameSet(TFrameViewer& viewer) : TSubFrameSet(&viewer, this, nullptr), FViewer(viewer) {}

TfvFrame* TFrameSet::FrameNamed(const std::string& name) const
{
    auto it = FNames.find(UpperCase(name));
    return it == FNames.end() ? nullptr : it->second;
}

void TFrameSet::RegisterName(const std::string& name, TfvFrame& frame) { FNames.emplace(UpperCase(name), &frame); }

std::vector<TfvFrame*> TFrameSet::Frames()
{
    std::vector<TfvFrame*> frames;
    CollectFrames(frames);
    return frames;
}

TfvFrame* TFrameSet::FrameOf(const THTMLViewer* viewer)
{
    for (TfvFrame* frame : Frames())
        if (frame->Viewer() == viewer)
            return frame;
    return nullptr;
}

void TFrameSet::BuildFrameSet(TSubFrameSet& root, const std::string& text, const std::string& documentFile,
                              TReaderResult& result)
{
    std::vector<TSubFrameSet*> open;
    TFrameSetEvents events;
    TReaderResult head;
    events.reader.onMeta = [this, &root, &documentFile](const std::string& httpEq, const std::string& name,
                                                      const std::string& content) {
        if (FViewer.OnMeta)
            FViewer.OnMeta(nullptr, httpEq, name, content);
        if (!SameTextNoCase(httpEq, "refresh"))
            return;
        if (auto refresh = ParseMetaRefresh(content)) {
            root.RefreshDelay = refresh->delay;
            root.RefreshURL = refresh->url.empty()
                                  ? documentFile
                                  : ::ExpandLinkName(refresh->url, TLinkContext{FViewer.ServerRoot(), "", documentFile});
        }
    };
    events.reader.onSound = [this](const std::string& src, int loop) {
        if (FViewer.OnSoundRequest)
            FViewer.OnSoundRequest(nullptr, src, loop, false);
    };
    // Every frame is a window with its own viewer: a set takes no more
    // children than ROWS or COLS can size, and a window no more than
    // MaxWindowFrames frames and sets; the rest is ignored (a null entry
    // stands for an ignored set, whose contents go with it).
    int room = MaxWindowFrames - FrameCount();
    auto accepts = [&](TSubFrameSet* parent) {
        return parent && parent->Children.size() < MaxFrameSpecs && room > 0;
    };
    events.onFrameSet = [&](const TAttributeList& attributes) {
        if (open.empty()) {
            root.InitFromAttributes(attributes, &root == this);
            open.push_back(&root);
        } else if (accepts(open.back())) {
            --room;
            open.push_back(&open.back()->AddFrameSet(attributes));
        } else {
            open.push_back(nullptr);
        }
    };
    std::vector<TfvFrame*> added;
    events.onFrame = [&](const TAttributeList& attributes) {
        if (!open.empty() && accepts(open.back())) {
            --room;
            added.push_back(&open.back()->AddFrame(attributes));
        }
    };
    events.onFrameSetEnd = [&] {
        if (!open.empty())
            open.pop_back();
    };
    DocumentReader().ParseFrameSet(text, events, result);
    // SRC is relative to the document's base when it has one, else to its folder.
    TLinkContext context{FViewer.ServerRoot(), result.base, documentFile};
    for (TfvFrame* frame : added)
        if (!frame->Source.empty())
            frame->Source = ::ExpandLinkName(frame->Source, context);
        else if (!frame->Destination.empty())
            frame->Source = documentFile;
}

void TFrameSet::LoadFromFile(const std::string& file, const std::string& anchor)
{
    std::string ext = UpperExtension(file);
    bool image = ext == ".GIF" || ext == ".JPG" || ext == ".JPEG" || ext == ".BMP" || ext == ".PNG";
    std::optional<std::string> supplied = FViewer.RequestedBuffer(file);
    CurrentFile = supplied ? file : FViewer.ExpandLinkName(file);
    if (!image && ext != ".TXT") {
        std::optional<std::string> text = supplied ? supplied : ReadFrameSetSource(CurrentFile, file);
        if (DocumentReader().IsFrameSet(*text)) {
            TReaderResult result;
            BuildFrameSet(*this, *text, CurrentFile, result);
            Title = result.title;
            Base = result.base;
            BaseTarget = result.baseTarget;
            setGeometry(FViewer.rect());
            LoadFiles();
            Place();
            StartRefresh();
            return;
        }
    }
    // Any other document is a frame set of one frame.
    auto frame = std::make_unique<TfvFrame>(this, this, this);
    frame->Source = CurrentFile;
    frame->Destination = anchor;
    frame->FrameMarginWidth = FViewer.MarginWidth;
    frame->FrameMarginHeight = FViewer.MarginHeight;
    TfvFrame& only = *frame;
    Children.push_back(std::move(frame));
    Specs = {-1};
    setGeometry(FViewer.rect());
    Place();
    only.show();
    only.LoadFrame(CurrentFile, anchor, TFrameHistory::Add);
    if (THTMLViewer* v = only.Viewer()) {
        Title = v->DocumentTitle();
        BaseTarget = v->BaseTarget();
    }
    Place();
}
