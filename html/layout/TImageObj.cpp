#include "html/layout/TImageObj.h"

#include <algorithm>
#include <array>

#include "html/layout/Borders.h"
#include "html/layout/ObjectAttributes.h"
#include "html/layout/Placeholders.h"
#include "html/layout/TGIFImage.h"
#include "html/layout/TImageFormControlObj.h"
#include "html/layout/TMapItem.h"
#include "html/layout/TSectionList.h"
#include "util/CodePage.h"

// The style border of a floating picture.
struct TImageBorder {
    std::array<int, 4> widths; // top, right, bottom, left
    TBorderSides sides;
};

namespace {

// Placeholders leave this much room left of the alt text, and draw their
// picture only in boxes larger than this.
constexpr int PlaceholderTextX = 24;
constexpr int PlaceholderMinBox = 23;
constexpr int PlaceholderInset = 4;
constexpr int AltFontPoints = 8;

TFontRef AltFont(TCanvas& canvas)
{
    TFontSpec spec;
    spec.name = "Arial";
    spec.height = -(AltFontPoints * canvas.pixelsPerInchY() + 36) / 72;
    return canvas.createFont(spec);
}

std::u16string Utf16(const std::string& text) { return CodePage::ToUtf16(CodePage::Utf8, text); }

int Scaled(int value, int numerator, int denominator)
{
    return denominator > 0 ? ClampPixels((long long)value * numerator / denominator) : value;
}

// A size in document pixels at the document's zoom.
int Zoomed(int pixels, const TSectionList& document) { return Scaled(pixels, document.Zoom, 100); }

} // namespace

TImageObj::TImageObj(TSectionList& document, const TAttributeList& attrs)
    : TFloatingObj(document, attrs), FDocument(&document), FCache(document.Objects.BitmapList)
{
    Source = AttrText(attrs, SrcSy);
    if (auto border = AttrInt(attrs, BorderSy); border && *border == 0)
        NoBorder = true;
    if (HasAttr(attrs, TranspSy))
        FTransparent = TTransparency::LowerLeft;
    IsMap = HasAttr(attrs, IsMapSy);
    if (HasAttr(attrs, UseMapSy)) {
        MapName = UpperTrim(AttrText(attrs, UseMapSy));
        if (!MapName.empty() && MapName[0] == '#')
            MapName.erase(0, 1);
        UseMap = !MapName.empty();
    }
    Active = HasAttr(attrs, ActiveSy);
}

TImageObj::TImageObj(const TImageObj& source, TSectionList& target)
    : TFloatingObj(source), Source(source.Source), NoBorder(source.NoBorder), IsMap(source.IsMap),
      UseMap(source.UseMap), MapName(source.MapName), Active(source.Active), FDocument(&target),
      FBitmap(source.FBitmap), FAnimation(source.FAnimation), FTransparent(source.FTransparent),
      FPlaceholder(source.FPlaceholder), FLoaded(true), FFramed(source.FFramed), FIsCopy(true), FLink(source.FLink),
      FLinkColor(source.FLinkColor), FStyleBorder(source.FStyleBorder)
{
}

TImageObj::~TImageObj()
{
    if (FCache && !FCacheKey.empty())
        FCache->Release(FCacheKey);
}

std::unique_ptr<TFloatingObj> TImageObj::Clone(TSectionList& target) const
{
    return std::unique_ptr<TFloatingObj>(new TImageObj(*this, target));
}

void TImageObj::ApplyStyle(const TObjectStyle& style)
{
    TFloatingObj::ApplyStyle(style);
    if (style.hasBorderStyle)
        NoBorder = true;
    if (style.hasBorderStyle && Floats())
        FStyleBorder = std::make_shared<const TImageBorder>(
            TImageBorder{style.borderWidths, TBorderSides{style.borderColors, style.borderStyles}});
}

void TImageObj::SetLink(const TLinkInfo& link, TColor linkColor)
{
    FLink = link;
    FLinkColor = linkColor;
    FFramed = !link.empty();
}

// ---------------------------------------------------------------- loading

void TImageObj::LoadPicture()
{
    FLoaded = true;
    TSectionList& doc = *FDocument;
    if (!doc.ShowImages) {
        FPlaceholder = TPlaceholder::Waiting;
        return;
    }
    TDocumentObjects& objects = doc.Objects;
    std::string name = objects.ExpandImageName(Source);
    if (Source.empty() || name.empty()) {
        FPlaceholder = TPlaceholder::Error;
        return;
    }
    if (objects.IsPending(name)) {
        FPlaceholder = TPlaceholder::Waiting;
        objects.AddPending(name, this);
        return;
    }
    TImageFetch fetch = objects.GetImage(name, FTransparent);
    if (fetch.waiting) {
        FPlaceholder = TPlaceholder::Waiting;
        objects.AddPending(name, this);
        return;
    }
    if (fetch.Empty()) {
        FPlaceholder = TPlaceholder::Error;
        return;
    }
    FCacheKey = name;
    TakePicture(fetch);
}

void TImageObj::TakePicture(const TImageFetch& fetch)
{
    FPlaceholder = TPlaceholder::None;
    FBitmap = fetch.bitmap;
    FTransparent = fetch.transparency;
    FAnimation = fetch.animation;
    ImageKnown = false;
    if (!FAnimation)
        return;
    // The cache holds one reference and the fetch another; any more means
    // another image already animates this one and needs its own frame state.
    if (FAnimation.use_count() > 2)
        FAnimation = FAnimation->CreateCopy();
    if (!Active)
        SetAnimated(true);
}

void TImageObj::InsertImage(const TImageFetch& fetch)
{
    FLoaded = true;
    if (fetch.Empty()) {
        FPlaceholder = TPlaceholder::Error;
        return;
    }
    FCacheKey = FDocument->Objects.ExpandImageName(Source);
    TakePicture(fetch);
}

void TImageObj::SetAnimated(bool inList)
{
    auto& list = FDocument->AnimList;
    auto it = std::find(list.begin(), list.end(), this);
    if (inList && it == list.end()) {
        FAnimation->SetAnimate(true, FDocument->Objects.Now());
        list.push_back(this);
    } else if (!inList) {
        FAnimation->SetAnimate(false);
        if (it != list.end())
            list.erase(it);
    }
}

// ---------------------------------------------------------------- sizing

int TImageObj::NaturalWidth() const { return FAnimation ? FAnimation->Width() : FBitmap ? FBitmap->width : 0; }
int TImageObj::NaturalHeight() const { return FAnimation ? FAnimation->Height() : FBitmap ? FBitmap->height : 0; }

void TImageObj::SizeFor(TCanvas& canvas, int lineWidth, int availHeight)
{
    if (!FLoaded)
        LoadPicture();
    int frame = Framed() ? 2 : 0;
    if (!ImageKnown || PercentWidth || PercentHeight) {
        if (FPlaceholder != TPlaceholder::None)
            SizePlaceholder(canvas, lineWidth, availHeight);
        else
            SizePicture(lineWidth, availHeight);
        ObjWidth += frame;
        ObjHeight += frame;
        if (FStyleBorder) {
            const auto& w = FStyleBorder->widths;
            ObjWidth += w[1] + w[3];
            ObjHeight += w[0] + w[2];
        }
    }
}

void TImageObj::SizePicture(int lineWidth, int availHeight)
{
    int nw = Zoomed(NaturalWidth(), *FDocument), nh = Zoomed(NaturalHeight(), *FDocument);
    int pixelHeight = !PercentHeight ? Zoomed(SpecHeight, *FDocument) : 0;
    int pixelWidth = !PercentWidth ? Zoomed(SpecWidth, *FDocument) : 0;
    int w = nw, h = nh;
    if (PercentWidth) {
        w = Scaled(std::max(0, lineWidth), SpecWidth, 100);
        h = PercentHeight ? Scaled(std::max(0, availHeight), SpecHeight, 100)
            : pixelHeight > 0 ? pixelHeight
                              : Scaled(nh, w, nw);
    } else if (PercentHeight) {
        h = Scaled(std::max(0, availHeight), SpecHeight, 100);
        w = pixelWidth > 0 ? pixelWidth : Scaled(nw, h, nh);
    } else if (pixelWidth > 0 && pixelHeight > 0) {
        w = pixelWidth;
        h = pixelHeight;
    } else if (pixelWidth > 0) {
        w = pixelWidth;
        h = Scaled(nh, w, nw);
    } else if (pixelHeight > 0) {
        h = pixelHeight;
        w = Scaled(nw, h, nh);
    }
    ObjWidth = std::max(0, w);
    ObjHeight = std::max(0, h);
    ImageKnown = !PercentWidth && !PercentHeight;
}

void TImageObj::SizePlaceholder(TCanvas& canvas, int lineWidth, int availHeight)
{
    if (SpecWidth > 0 && SpecHeight > 0) {
        ObjWidth = PercentWidth ? Scaled(std::max(0, lineWidth), SpecWidth, 100) : Zoomed(SpecWidth, *FDocument);
        ObjHeight = PercentHeight ? Scaled(std::max(0, availHeight), SpecHeight, 100) : Zoomed(SpecHeight, *FDocument);
        ImageKnown = !PercentWidth && !PercentHeight;
        return;
    }
    const TBitmap& picture = FPlaceholder == TPlaceholder::Error ? ErrorPicture() : WaitingPicture();
    TFontRef font = AltFont(canvas);
    std::u16string alt = Utf16(Alt);
    ObjWidth = std::max(picture.width, font->textWidth(alt) + 2 + PlaceholderTextX);
    ObjHeight = std::max({picture.height, PlaceholderTextX, font->metrics().height});
    ImageKnown = true;
}

// ---------------------------------------------------------------- drawing

void TImageObj::Draw(TCanvas& canvas, int x, int y)
{
    TRect box{x, y, x + ObjWidth, y + ObjHeight};
    if (FStyleBorder) {
        const auto& w = FStyleBorder->widths;
        const TRect outer = box;
        box = {box.left + w[3], box.top + w[0], box.right - w[1], box.bottom - w[2]};
        DrawBorders(canvas, outer, box, FStyleBorder->sides, ClNone);
    }
    try {
        if (HasPicture()) {
            TRect inner = Framed() ? TRect{x + 1, y + 1, box.right - 1, box.bottom - 1} : box;
            DrawPicture(canvas, inner);
            if (Framed())
                canvas.frameRect(box, FLinkColor);
        } else {
            DrawPlaceholder(canvas, box);
        }
        if (MyFormControl && MyFormControl->TheControl() && MyFormControl->TheControl()->hasFocus())
            canvas.drawFocusRect(box);
    } catch (...) {
        // A picture that cannot be drawn is left out.
    }
}

void TImageObj::DrawPicture(TCanvas& canvas, const TRect& r)
{
    if (FAnimation) {
        if (FIsCopy)
            canvas.drawBitmap(r, FAnimation->StillBitmap());
        else
            FAnimation->Draw(canvas, r);
        return;
    }
    canvas.drawBitmap(r, *FBitmap);
}

void TImageObj::DrawPlaceholder(TCanvas& canvas, const TRect& box)
{
    if (box.width() > PlaceholderMinBox && box.height() > PlaceholderMinBox) {
        const TBitmap& picture = FPlaceholder == TPlaceholder::Error ? ErrorPicture() : WaitingPicture();
        int px = box.left + PlaceholderInset, py = box.top + PlaceholderInset;
        canvas.drawBitmap({px, py, px + picture.width, py + picture.height}, picture);
    }
    if (!Alt.empty()) {
        canvas.save();
        canvas.intersectClip(box);
        canvas.setFont(AltFont(canvas));
        canvas.setTextColor(Framed() ? FLinkColor : 0);
        canvas.setBackgroundMode(TBackgroundMode::Transparent);
        canvas.setTextAlign(TTextAlign::Top);
        canvas.textOut(box.left + PlaceholderTextX, box.top + PlaceholderInset, Utf16(Alt));
        canvas.restore();
    }
    if (Framed())
        canvas.frameRect(box, FLinkColor);
    else
        canvas.drawEdge(box, TEdgeKind::Sunken);
}

// ---------------------------------------------------------------- queries

int TImageObj::LinkAt(int x, int y, TLinkHit& hit)
{
    int frame = Framed() ? 1 : 0;
    int ix = x - frame, iy = y - frame;
    if (Active)
        FDocument->Objects.HitImage(this);
    int flags = 0;
    if (MyFormControl) {
        MyFormControl->SetClickPosition(ix, iy);
        hit.control = MyFormControl;
        flags = HitControl;
    } else if (UseMap) {
        const TMapItem* map = FDocument->Objects.FindMap(MapName);
        std::string href, target, title;
        if (map && map->GetURL(ix, iy, href, target, title)) {
            hit.link = FLink;
            hit.link.url = href;
            hit.link.target = target;
            flags = HitLink;
            if (!title.empty()) {
                hit.title = title;
                flags |= HitTitle;
            }
        }
    } else if (!FLink.empty()) {
        hit.link = FLink;
        if (IsMap)
            hit.link.url += "?" + std::to_string(ix) + "," + std::to_string(iy);
        flags = HitLink;
    }
    hit.flags |= flags;
    return flags;
}

// ---------------------------------------------------------------- animation

bool TImageObj::Animate(int64_t now) { return FAnimation && !FIsCopy && FAnimation->Step(now); }

void TImageObj::SetHover(int state)
{
    if (state == FHover)
        return;
    FHover = state;
    if (!Active || !FAnimation || FIsCopy)
        return;
    int frames = FAnimation->NumFrames();
    if (state > 0) {
        if (frames == 2)
            FAnimation->SetCurrentFrame(2);
        else if (frames == 3)
            FAnimation->SetCurrentFrame(state == 2 ? 3 : 2);
        else if (frames > 3)
            SetAnimated(true);
    } else {
        SetAnimated(false);
        if (frames <= 3)
            FAnimation->SetCurrentFrame(1);
    }
    if (FDocument->Host.invalidate)
        FDocument->Host.invalidate();
}
