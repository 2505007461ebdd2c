#pragma once
// An IMG (or the picture of an image INPUT) standing in a text section.
//
// Construction API (the builder, for IMG):
//   auto img = std::make_unique<TImageObj>(document, attrs);
//   img->ApplyStyle(ObjectStyleOf(properties));
//   section.AddImage(std::move(img), sourceIndex);
// The section tells an image inside a link its link (SetLink), which makes
// it framed unless BORDER=0, a style border or a background image says no.
// The picture is fetched at the first sizing through the document's cache
// and host callbacks (TDocumentObjects::GetImage).
#include <memory>
#include <string>

#include "html/layout/TDocumentObjects.h"
#include "html/layout/TFloatingObj.h"

class TGIFImage;
struct TImageBorder;
class TImageFormControlObj;
class TCellBasic;

// What the box shows instead of a picture.
enum class TPlaceholder : uint8_t { None, Waiting, Error };

class TImageObj : public TFloatingObj {
public:
    // Reads SRC, ALT, TITLE, ALIGN, BORDER, WIDTH, HEIGHT, HSPACE, VSPACE,
    // TRANSP, ISMAP, USEMAP, ACTIVE, NAME and ID.
    TImageObj(TSectionList& document, const TAttributeList& attrs);
    ~TImageObj() override;

    void ApplyStyle(const TObjectStyle& style) override;
    void SizeFor(TCanvas& canvas, int lineWidth, int availHeight) override;
    void Draw(TCanvas& canvas, int x, int y) override;
    std::unique_ptr<TFloatingObj> Clone(TSectionList& target) const override;
    int LinkAt(int x, int y, TLinkHit& hit) override;
    void SetLink(const TLinkInfo& link, TColor linkColor) override;
    bool Animate(int64_t now) override;

    // The picture of a waiting image arrived (or failed: an empty fetch).
    void InsertImage(const TImageFetch& fetch);
    // Hover state of ACTIVE images: 0 normal, 1 hover, 2 pressed.
    void SetHover(int state);
    int HoverState() const { return FHover; }

    TPlaceholder Placeholder() const { return FPlaceholder; }
    bool HasPicture() const { return FBitmap || FAnimation; }
    const std::shared_ptr<TGIFImage>& Animation() const { return FAnimation; }
    const std::shared_ptr<const TBitmap>& Bitmap() const { return FBitmap; }
    TTransparency Transparency() const { return FTransparent; }
    bool Framed() const { return FFramed && !NoBorder; }

    std::string Source;
    bool NoBorder = false;
    bool IsMap = false;
    bool UseMap = false;
    std::string MapName;
    bool Active = false;
    TImageFormControlObj* MyFormControl = nullptr; // the image INPUT this picture stands for
    TCellBasic* MyCell = nullptr;

private:
    TImageObj(const TImageObj& source, TSectionList& target);
    void LoadPicture();
    void TakePicture(const TImageFetch& fetch);
    void SizePlaceholder(TCanvas& canvas, int lineWidth, int availHeight);
    void SizePicture(int lineWidth, int availHeight);
    void DrawPicture(TCanvas& canvas, const TRect& r);
    void DrawPlaceholder(TCanvas& canvas, const TRect& box);
    void SetAnimated(bool inList);
    int NaturalWidth() const;
    int NaturalHeight() const;

    TSectionList* FDocument;
    std::shared_ptr<TStringBitmapList> FCache; // where Release goes
    std::string FCacheKey;                     // set while this image counts as a user
    std::shared_ptr<const TBitmap> FBitmap;
    std::shared_ptr<TGIFImage> FAnimation;
    TTransparency FTransparent = TTransparency::None;
    TPlaceholder FPlaceholder = TPlaceholder::None;
    bool FLoaded = false;
    bool FFramed = false;
    bool FIsCopy = false;
    TLinkInfo FLink;
    TColor FLinkColor = 0;
    int FHover = 0;
    // A floating picture's style border, drawn around the picture (none for
    // most pictures, so kept apart).
    std::shared_ptr<const TImageBorder> FStyleBorder;
};
