#pragma once
// What a document keeps for its pictures, maps, panels and forms: the host
// callbacks for them, the shared image cache, the images waiting for data,
// the image maps, the forms and the form controls it owns.
//
// The viewer sets Host and shares its cache through BitmapList before the
// builder runs; TSectionList::ClearDocument empties the rest.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "html/layout/TStringBitmapList.h"

class TSectionList;
class TImageObj;
class TMapItem;
class ThtmlForm;
class TFormControlObj;
class TControl;
class TTimer;
class TGIFImage;
class TControlFactory;
class THeadlessControlFactory;
struct TPaintContext;

// What the host's stream callback answers for an image name.
struct TImageStream {
    enum class Kind : uint8_t { None, Wait, Data };
    Kind kind = Kind::None;
    std::vector<uint8_t> data;
};

// A form submission as the host receives it; the list is the host's to keep.
struct TFormSubmission {
    std::string action;
    std::vector<std::string> items; // name=value, in document order
    std::string method;
    std::string encType;
    std::string target;
};

enum class TControlEvent : uint8_t { Focus, Blur, Click, Change };

// The host's services for objects. Every one is optional.
struct TObjectHost {
    // The host's name expansion of an image source.
    std::function<std::string(const std::string& name)> expandName;
    // The viewer's own expansion (relative names against the document's folder).
    std::function<std::string(const std::string& name)> viewerExpandName;
    // A bitmap for a name; transparentColor receives a colour (0x00BBGGRR) or ClNone.
    std::function<bool(const std::string& name, TBitmap& bitmap, TColor& transparentColor)> bitmapRequest;
    // Image data for a name: none (load the file), wait (pending) or the bytes.
    std::function<TImageStream(const std::string& name)> streamRequest;
    // Draws picture data none of the decoders reads (a scalable drawing) into a
    // bitmap at the drawing's own size; false when it cannot be drawn.
    std::function<bool(TByteSpan data, TBitmap& bitmap)> drawingRequest;
    // Embedded panels.
    std::function<void(const std::string& name, TControl& panel, const std::string& source, const std::string& type)>
        panelCreate;
    std::function<void(TControl& panel)> panelDestroy;
    std::function<void(TControl& panel, TBitmap& picture)> panelPrint;
    // Forms.
    std::function<void(TFormSubmission submission)> formSubmit;
    // Browse for a file starting from the edit's text; answers false when cancelled.
    std::function<bool(std::u16string& fileName)> fileBrowse;
    std::function<void(TFormControlObj& control)> controlEntered;
    std::function<void(TFormControlObj& control, TControlEvent event, const std::string& script)> script;
};

// What GetImage answers.
struct TImageFetch {
    std::shared_ptr<const TBitmap> bitmap;  // a still picture with its mask
    std::shared_ptr<TGIFImage> animation;   // or an animation
    TTransparency transparency = TTransparency::None;
    bool waiting = false;
    bool fromCache = false;
    bool Empty() const { return !bitmap && !animation; }
};

class TDocumentObjects {
public:
    explicit TDocumentObjects(TSectionList& document);
    ~TDocumentObjects();
    TDocumentObjects(const TDocumentObjects&) = delete;
    TDocumentObjects& operator=(const TDocumentObjects&) = delete;

    // Fetches a picture through the cache and the host callbacks (the name is
    // already expanded). A new picture enters the cache with one user.
    TImageFetch GetImage(const std::string& name, TTransparency requested);
    // The expanded name of an image source.
    std::string ExpandImageName(const std::string& source) const;
    bool HasImageCallbacks() const { return bool(Host.bitmapRequest) || bool(Host.streamRequest); }

    // A drawing written in the document (inline SVG): answers the image
    // source that shows it; the data is drawn by the host like an SVG file.
    std::string AddInlineDrawing(std::string data);

    // Images waiting for their data, by cache key.
    void AddPending(const std::string& name, TImageObj* image);
    bool IsPending(const std::string& name) const;
    // The data of a waiting image arrived: every image waiting for it takes it.
    // Answers how many images were served.
    int InsertImage(const std::string& name, TByteSpan data);

    // The body background, loaded once per document when images are shown.
    const TImageFetch& LoadBackground(const std::string& name);
    // A block, cell or row background by name (loaded once per document;
    // missing pictures answer an empty fetch).
    const TImageFetch& BackgroundImage(const std::string& name);

    TMapItem& AddMap(const std::string& name);
    // The map of an exact (upper-cased) name, or null.
    const TMapItem* FindMap(const std::string& name) const;

    // Forms and the controls the document owns.
    ThtmlForm& AddForm(std::unique_ptr<ThtmlForm> form);
    ThtmlForm* CurrentForm() const { return FCurrentForm; }
    void EndForm() { FCurrentForm = nullptr; }
    TFormControlObj& AdoptControl(std::unique_ptr<TFormControlObj> control);
    const std::vector<std::unique_ptr<ThtmlForm>>& Forms() const { return FForms; }
    // Where form controls get their windows: the document's factory, else a
    // headless one of our own (documents with forms lay out without a window).
    TControlFactory& ControlFactory();

    // Hover tracking of ACTIVE images, bracketing a hit test.
    void BeginHitTest() { FHoverCandidate = nullptr; }
    void HitImage(TImageObj* image) { FHoverCandidate = image; }
    void EndHitTest(int pressedState);
    void ClearHover();
    void SetPressed(bool down);
    TImageObj* HoverImage() const { return FHoverImage; }
    void ForgetImage(TImageObj* image);

    // The document timer fired: steps the animations; the first tick after
    // 50 ms switches the timer to 40 ms.
    void AnimationTick(TTimer& timer);
    int64_t Now() const;

    void Clear();

    TObjectHost Host;
    std::shared_ptr<TStringBitmapList> BitmapList = std::make_shared<TStringBitmapList>();
    // Milliseconds of a steady clock; tests replace it.
    std::function<int64_t()> Clock;

private:
    TImageFetch FetchUncached(const std::string& name, TTransparency requested);
    // Decodes picture data, or has the host draw it when no decoder reads it.
    TImageFetch FromData(TByteSpan data, TTransparency requested) const;
    // Loads a picture file as FromData does.
    TImageFetch FromFile(const std::string& path, TTransparency requested) const;

    TSectionList& FDocument;
    std::map<std::string, std::vector<TImageObj*>> FPending;
    std::map<std::string, std::string> FInlineDrawings; // by cache key
    std::map<std::string, TImageFetch> FBackgrounds;
    std::vector<std::string> FBackgroundKeys; // cache entries the backgrounds use
    bool FBodyBackgroundLoaded = false;
    TImageFetch FBodyBackground;
    std::string FBodyBackgroundKey; // set while the body background waits for its data
    std::vector<std::unique_ptr<TMapItem>> FMaps;
    std::vector<std::unique_ptr<ThtmlForm>> FForms;
    ThtmlForm* FCurrentForm = nullptr;
    std::unique_ptr<THeadlessControlFactory> FOwnFactory; // outlives the controls below
    std::vector<std::unique_ptr<TFormControlObj>> FControls;
    TImageObj* FHoverImage = nullptr;
    TImageObj* FHoverCandidate = nullptr;
};
