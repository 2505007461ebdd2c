#pragma once
// Base of the objects that stand in a text section as placeholder 4: images
// and embedded panels. The text section sizes them, places them in lines or
// as floats, and queues them in the document's draw list; subclasses fetch,
// scale and draw the picture.
#include <memory>
#include <string>

#include "html/layout/LayoutTypes.h"
#include "html/layout/TIDObject.h"

class TSectionList;
class TFontObj;

class TFloatingObj : public TIDObject {
public:
    ~TFloatingObj() override = default;
    int AnchorY() const override { return DrawYY; }

    // Sizes the object for a line width and an available height (percentages).
    virtual void SizeFor(TCanvas&, int /*lineWidth*/, int /*availHeight*/) {}
    // Draws at the given top-left window point.
    virtual void Draw(TCanvas&, int /*x*/, int /*y*/) {}
    // A copy for another document.
    virtual std::unique_ptr<TFloatingObj> Clone(TSectionList& target) const = 0;
    // Link or title of the point (x, y) inside the object (TLinkHitFlag bits).
    virtual int LinkAt(int /*x*/, int /*y*/, TLinkHit&) { return 0; }

    bool Floats() const { return FloatKind != TFloatKind::None; }

    int Pos = 0;              // index of the placeholder in its section
    int ObjWidth = 0;
    int ObjHeight = 0;
    TVAlign VertAlign = TVAlign::Bottom;
    TFloatKind FloatKind = TFloatKind::None;
    int HSpaceL = 0, HSpaceR = 0, VSpaceT = 0, VSpaceB = 0;
    // Set by layout for floats (document pixels) and by painting.
    int FloatX = 0, FloatY = 0;
    int DrawX = 0, DrawYY = 0;
    std::string Title;
};
