#pragma once
// Base of the objects that stand in a text section as placeholder 4: images
// and embedded panels. The text section sizes them, places them in lines or
// as floats, and queues them in the document's draw list; subclasses fetch,
// scale and draw the picture.
//
// Construction API (the builder, for IMG and PANEL): create the object with
// the document and the element's attributes (NAME and ID enter the
// document's ID list), call ApplyStyle with the element's style, then hand
// it to the text section with TSection::AddImage.
#include <cstdint>
#include <memory>
#include <string>

#include "html/layout/LayoutTypes.h"
#include "html/layout/TIDObject.h"
#include "html/layout/TObjectStyle.h"

class TSectionList;
class TFontObj;
class TAttributeList;

class TFloatingObj : public TIDObject {
public:
    TFloatingObj() = default;
    // Reads NAME, ID, ALT, ALIGN, WIDTH, HEIGHT, HSPACE and VSPACE.
    TFloatingObj(TSectionList& document, const TAttributeList& attrs);
    ~TFloatingObj() override = default;
    int YPosition() const override { return DrawYY; }

    // Sizes the object for a line width and an available height (percentages).
    virtual void SizeFor(TCanvas&, int /*lineWidth*/, int /*availHeight*/) {}
    // Draws at the given top-left window point.
    virtual void Draw(TCanvas&, int /*x*/, int /*y*/) {}
    // A copy for another document.
    virtual std::unique_ptr<TFloatingObj> Clone(TSectionList& target) const = 0;
    // Link or title of the point (x, y) inside the object (TLinkHitFlag bits).
    virtual int LinkAt(int /*x*/, int /*y*/, TLinkHit&) { return 0; }
    // The text section tells an object standing inside a link which link
    // and in which colour.
    virtual void SetLink(const TLinkInfo&, TColor /*linkColor*/) {}
    // A document timer tick at `now` (milliseconds): answers whether the
    // object changed its look.
    virtual bool Animate(int64_t /*now*/) { return false; }
    // Style overrides, applied after the attributes.
    virtual void ApplyStyle(const TObjectStyle& style);
    // The narrowest the object can be (after SizeFor with no line width,
    // which sizes it as wide as it likes).
    virtual int PreferredMinimumWidth() const { return ObjWidth; }
    // Layout dumps show objects that hold laid-out content of their own.
    virtual void Dump(std::string& /*out*/, int /*depth*/) const {}

    bool Floats() const { return FloatKind != TFloatKind::None; }

    int Pos = 0;              // index of the placeholder in its section
    int ObjWidth = 0;
    int ObjHeight = 0;
    // The part of the object below the line's baseline (inline blocks).
    int BelowBaseline = 0;
    TVAlign VertAlign = TVAlign::Bottom;
    TFloatKind FloatKind = TFloatKind::None;
    int HSpaceL = 0, HSpaceR = 0, VSpaceT = 0, VSpaceB = 0;
    // Specified size: pixels, or a percentage when the flag is set; 0 when not given.
    int SpecWidth = 0, SpecHeight = 0;
    bool PercentWidth = false, PercentHeight = false;
    bool ImageKnown = false;  // the pixel size is settled
    // Set by layout for floats (document pixels) and by painting.
    int FloatX = 0, FloatY = 0;
    int DrawX = 0, DrawYY = 0;
    std::string Alt;
    std::string Title;

protected:
    void SetSpaces(int h, int v);
    bool FHSpaceGiven = false;
};
