#include "html/layout/TDocumentObjects.h"

#include <algorithm>
#include <chrono>
#include <functional>

#include "gfx/THeadlessControls.h"
#include "gfx/TTimer.h"
#include "html/layout/TFormControlObj.h"
#include "html/layout/TGIFImage.h"
#include "html/layout/TImageObj.h"
#include "html/layout/TMapItem.h"
#include "html/layout/TSectionList.h"
#include "html/layout/ThtmlForm.h"
#include "util/FileLookup.h"
#include "util/Utilities.h"

namespace {

constexpr int FirstTimerInterval = 50;
constexpr int TimerInterval = 40;

TImageFetch FromDecoded(TDecodedImage decoded)
{
    TImageFetch fetch;
    if (!decoded.ok())
        return fetch;
    fetch.transparency = decoded.transparency;
    if (decoded.animated())
        fetch.animation = std::make_shared<TGIFImage>(decoded.animation);
    else if (!decoded.bitmap.isEmpty())
        fetch.bitmap = std::make_shared<const TBitmap>(std::move(decoded.bitmap));
    return fetch;
}

} // namespace

TDocumentObjects::TDocumentObjects(TSectionList& document) : FDocument(document) {}

TDocumentObjects::~TDocumentObjects() = default;

int64_t TDocumentObjects::Now() const
{
    if (Clock)
        return Clock();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string TDocumentObjects::ExpandImageName(const std::string& source) const
{
    if (Host.expandName)
        return Host.expandName(source);
    if (!HasImageCallbacks() && Host.viewerExpandName)
        return Host.viewerExpandName(source);
    return source;
}

// ---------------------------------------------------------------- fetching

TImageFetch TDocumentObjects::GetImage(const std::string& name, TTransparency requested)
{
    if (TBitmapItem* item = BitmapList->UseImage(name)) {
        if (requested == TTransparency::LowerLeft && item->MImage && !item->MImage->hasMask()) {
            TBitmap masked = *item->MImage;
            MakeLowerLeftMask(masked);
            item->MImage = std::make_shared<const TBitmap>(std::move(masked));
            item->Transp = TTransparency::LowerLeft;
        }
        TImageFetch fetch;
        fetch.bitmap = item->MImage;
        fetch.animation = item->Animation;
        fetch.transparency = item->Transp;
        fetch.fromCache = true;
        return fetch;
    }
    TImageFetch fetch = FetchUncached(name, requested);
    if (!fetch.waiting && !fetch.Empty()) {
        TBitmapItem item;
        item.MImage = fetch.bitmap;
        item.Animation = fetch.animation;
        item.Transp = fetch.transparency;
        BitmapList->AddImage(name, std::move(item));
    }
    return fetch;
}

TImageFetch TDocumentObjects::FetchUncached(const std::string& name, TTransparency requested)
{
    if (auto drawing = FInlineDrawings.find(TStringBitmapList::Key(name)); drawing != FInlineDrawings.end()) {
        const std::string& bytes = drawing->second;
        return FromData(TByteSpan(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), requested);
    }
    if (Host.bitmapRequest) {
        TBitmap bitmap;
        TColor color = ClNone;
        if (Host.bitmapRequest(name, bitmap, color) && !bitmap.isEmpty()) {
            TImageFetch fetch;
            if (color != ClNone) {
                MakeHostColorMask(bitmap, color);
                fetch.transparency = TTransparency::HostColor;
            } else if (requested == TTransparency::LowerLeft) {
                MakeLowerLeftMask(bitmap);
                fetch.transparency = TTransparency::LowerLeft;
            }
            fetch.bitmap = std::make_shared<const TBitmap>(std::move(bitmap));
            return fetch;
        }
    }
    if (Host.streamRequest) {
        TImageStream stream = Host.streamRequest(name);
        if (stream.kind == TImageStream::Kind::Wait) {
            TImageFetch fetch;
            fetch.waiting = true;
            return fetch;
        }
        if (stream.kind == TImageStream::Kind::Data)
            return FromData(stream.data, requested);
        std::string file = Host.viewerExpandName ? Host.viewerExpandName(name) : name;
        return FromFile(ResolveFileName(file), requested);
    }
    return FromFile(ResolveFileName(name), requested);
}

TImageFetch TDocumentObjects::FromData(TByteSpan data, TTransparency requested) const
{
    TDecodedImage decoded = DecodeImageData(data, requested);
    const TImageFormat format = DetectImageFormat(data);
    // Data our decoders own stays theirs even when broken; drawings and
    // icons go to the host.
    if (decoded.ok() || !Host.drawingRequest || (format != TImageFormat::Unknown && format != TImageFormat::Ico))
        return FromDecoded(std::move(decoded));
    TImageFetch fetch;
    TBitmap bitmap;
    if (Host.drawingRequest(data, bitmap) && !bitmap.isEmpty())
        fetch.bitmap = std::make_shared<const TBitmap>(std::move(bitmap));
    return fetch;
}

TImageFetch TDocumentObjects::FromFile(const std::string& path, TTransparency requested) const
{
    TDecodedImage decoded = LoadImageFile(path, requested);
    if (decoded.ok() || !Host.drawingRequest)
        return FromDecoded(std::move(decoded));
    std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes)
        return {};
    return FromData(TByteSpan(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()), requested);
}

std::string TDocumentObjects::AddInlineDrawing(std::string data)
{
    // Named by its content: the image cache outlives the document, and an
    // equal drawing may take the picture already made.
    const std::string name = "inline-drawing-" + std::to_string(std::hash<std::string>()(data)) + ".svg";
    const std::string expanded = ExpandImageName(name);
    FInlineDrawings.emplace(TStringBitmapList::Key(expanded), std::move(data));
    return name;
}

// ---------------------------------------------------------------- pending images

void TDocumentObjects::AddPending(const std::string& name, TImageObj* image)
{
    auto& list = FPending[TStringBitmapList::Key(name)];
    if (image)
        list.push_back(image);
}

bool TDocumentObjects::IsPending(const std::string& name) const
{
    return FPending.count(TStringBitmapList::Key(name)) > 0;
}

int TDocumentObjects::InsertImage(const std::string& name, TByteSpan data)
{
    auto it = FPending.find(TStringBitmapList::Key(name));
    if (it == FPending.end())
        return 0;
    std::vector<TImageObj*> waiting = std::move(it->second);
    FPending.erase(it);
    TImageFetch fetch = FromData(data, TTransparency::None);
    if (!fetch.Empty()) {
        TBitmapItem item;
        item.MImage = fetch.bitmap;
        item.Animation = fetch.animation;
        item.Transp = fetch.transparency;
        BitmapList->AddImage(name, std::move(item));
    }
    if (!fetch.Empty() && TStringBitmapList::Key(name) == FBodyBackgroundKey) {
        if (!waiting.empty())
            BitmapList->UseImage(name);
        FBodyBackground = fetch;
        FBackgroundKeys.push_back(name);
        FBodyBackgroundKey.clear();
    }
    for (size_t i = 0; i < waiting.size(); ++i) {
        if (i > 0 && !fetch.Empty())
            BitmapList->UseImage(name); // every image counts as a user
        waiting[i]->InsertImage(fetch);
    }
    if (FDocument.Host.invalidate)
        FDocument.Host.invalidate();
    return int(waiting.size());
}

// ---------------------------------------------------------------- backgrounds

const TImageFetch& TDocumentObjects::LoadBackground(const std::string& name)
{
    if (!FBodyBackgroundLoaded && FDocument.ShowImages && !name.empty()) {
        FBodyBackgroundLoaded = true;
        std::string expanded = ExpandImageName(name);
        FBodyBackground = GetImage(expanded, TTransparency::None);
        if (FBodyBackground.waiting) {
            AddPending(expanded, nullptr);
            FBodyBackgroundKey = TStringBitmapList::Key(expanded);
        }
        else if (!FBodyBackground.Empty())
            FBackgroundKeys.push_back(expanded);
    }
    return FBodyBackground;
}

const TImageFetch& TDocumentObjects::BackgroundImage(const std::string& name)
{
    auto it = FBackgrounds.find(name);
    if (it != FBackgrounds.end())
        return it->second;
    TImageFetch fetch;
    if (FDocument.ShowImages && !name.empty()) {
        std::string expanded = ExpandImageName(name);
        fetch = GetImage(expanded, TTransparency::None);
        if (fetch.waiting)
            fetch = TImageFetch{};
        else if (!fetch.Empty())
            FBackgroundKeys.push_back(expanded);
    }
    return FBackgrounds.emplace(name, std::move(fetch)).first->second;
}

// ---------------------------------------------------------------- maps and forms

TMapItem& TDocumentObjects::AddMap(const std::string& name)
{
    FMaps.push_back(std::make_unique<TMapItem>(name));
    return *FMaps.back();
}

const TMapItem* TDocumentObjects::FindMap(const std::string& name) const
{
    for (const auto& map : FMaps)
        if (map->MapName() == name)
            return map.get();
    return nullptr;
}

ThtmlForm& TDocumentObjects::AddForm(std::unique_ptr<ThtmlForm> form)
{
    FForms.push_back(std::move(form));
    FCurrentForm = FForms.back().get();
    return *FCurrentForm;
}

TFormControlObj& TDocumentObjects::AdoptControl(std::unique_ptr<TFormControlObj> control)
{
    FControls.push_back(std::move(control));
    return *FControls.back();
}

TControlFactory& TDocumentObjects::ControlFactory()
{
    if (FDocument.Controls)
        return *FDocument.Controls;
    if (!FOwnFactory)
        FOwnFactory = std::make_unique<THeadlessControlFactory>();
    return *FOwnFactory;
}

// ---------------------------------------------------------------- hover and animation

void TDocumentObjects::EndHitTest(int pressedState)
{
    if (FHoverCandidate == FHoverImage)
        return;
    if (FHoverImage)
        FHoverImage->SetHover(0);
    FHoverImage = FHoverCandidate;
    if (FHoverImage)
        FHoverImage->SetHover(pressedState > 0 ? pressedState : 1);
}

void TDocumentObjects::ClearHover()
{
    if (FHoverImage)
        FHoverImage->SetHover(0);
    FHoverImage = FHoverCandidate = nullptr;
}

void TDocumentObjects::SetPressed(bool down)
{
    if (FHoverImage)
        FHoverImage->SetHover(down ? 2 : 1);
}

void TDocumentObjects::ForgetImage(TImageObj* image)
{
    if (FHoverImage == image)
        FHoverImage = nullptr;
    if (FHoverCandidate == image)
        FHoverCandidate = nullptr;
    for (auto& [key, list] : FPending)
        list.erase(std::remove(list.begin(), list.end(), image), list.end());
}

void TDocumentObjects::AnimationTick(TTimer& timer)
{
    if (timer.interval() == FirstTimerInterval)
        timer.setInterval(TimerInterval);
    int64_t now = Now();
    bool changed = false;
    for (TFloatingObj* obj : FDocument.AnimList)
        changed = obj->Animate(now) || changed;
    if (changed && FDocument.Host.invalidate)
        FDocument.Host.invalidate();
}

void TDocumentObjects::Clear()
{
    FHoverImage = FHoverCandidate = nullptr;
    FPending.clear();
    FInlineDrawings.clear();
    for (const std::string& key : FBackgroundKeys)
        BitmapList->Release(key);
    FBackgroundKeys.clear();
    FBackgrounds.clear();
    FBodyBackgroundLoaded = false;
    FBodyBackground = TImageFetch{};
    FBodyBackgroundKey.clear();
    FMaps.clear();
    FCurrentForm = nullptr;
    FForms.clear();
    FControls.clear();
}
