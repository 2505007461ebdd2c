#pragma once
// Base of the HTML form controls: a window control standing in the text as
// placeholder 2, sized before each layout and moved over its place when
// painted. Subclasses read their element, submit, reset, save and restore.
//
// Construction API: see FormElements.h (CreateFormControls). The document
// owns every control (TDocumentObjects); forms and sections only point to them.
#include <memory>
#include <span>
#include <string>

#include "gfx/TControls.h"
#include "html/layout/LayoutTypes.h"
#include "html/layout/TDocumentObjects.h"
#include "html/layout/TIDObject.h"
#include "html/layout/TObjectStyle.h"

class TAttributeList;
class TSectionList;
class ThtmlForm;

class TFormControlObj : public TIDObject {
public:
    // Reads NAME, VALUE, ID (entered in the ID list), ONCLICK, ONFOCUS,
    // ONBLUR, ONCHANGE, TABINDEX and DISABLED; joins the form.
    TFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs, const TObjectStyle& style);
    ~TFormControlObj() override;
    TFormControlObj(const TFormControlObj&) = delete;
    TFormControlObj& operator=(const TFormControlObj&) = delete;
    int YPosition() const override { return YValue; }

    virtual TControl* TheControl() const { return FControl.get(); }
    // Fires the change script when the contents differ from the remembered ones.
    virtual void CheckChange() {}
    virtual void RememberContents() {}
    // Margins (percentage base 100), width, height and vertical-align.
    virtual void ApplyStyle(const TObjectStyle& style);
    // Printing copies draw the control's look instead of showing the window.
    virtual void PaintImage(TCanvas&, int /*x*/, int /*y*/) {}
    virtual void ResetToInitial() {}
    // The index-th name=value text of the control (an empty text stands for
    // an option not chosen); false past the last one.
    virtual bool SubmissionItem(int /*index*/, std::string& /*text*/) { return false; }
    virtual void SetValue(int /*index*/, const std::string& /*text*/) {}
    virtual void ClearValue() {}
    // Computes the control's size for the canvas (every layout).
    virtual void SizeControl(TCanvas&) {}
    // The user clicked the control (or its picture).
    void Click() { DoClick(); }

    // Whether this object has a window at all (hidden inputs do not).
    bool HasWindow() const { return FControl != nullptr; }
    int Width() const { return FControl ? FControl->bounds().width() : FWidth; }
    int Height() const { return FControl ? FControl->bounds().height() : FHeight; }
    void SetWidth(int w);

    ThtmlForm& Form() const { return *FForm; }
    TSectionList& Document() const { return *FDocument; }
    const std::string& Name() const { return FName; }
    const std::string& Value() const { return FValue; }
    bool Disabled() const { return FDisabled; }

    int Pos = 0;              // placeholder index in its section
    int YValue = 0;
    int HSpaceL = 0, HSpaceR = 0;
    TVAlign VertAlign = TVAlign::Bottom;
    int PercentWidth = -1;    // >= 0: width is this percentage of the line
    int StyleWidth = 0;       // pixels from the style, 0 when none
    int StyleHeight = 0;
    bool Shown = false;       // painted in the current pass
    bool Focused = false;
    std::string OnClick, OnFocus, OnBlur, OnChange;
    int CodePageNumber = 65001; // of the document's text: VALUE is read and typed text submitted in it

protected:
    // Takes the window: parked at X -4000, the style's font, disabled when
    // DISABLED, events wired, TABINDEX entered in the tab order.
    void SetControl(std::unique_ptr<TControl> control);
    TControlFactory& Factory() const;
    // The window's font on the canvas.
    TFontRef ControlFont(TCanvas& canvas) const;
    static constexpr int TextInset = 4; // text from the edge of a printed box
    // Printing pictures of boxed controls: text lines in the control's font
    // and colour from firstY down, TextInset in from the box's left, clipped
    // to the inside of its sunken edge (and at textRight).
    void PaintBoxText(TCanvas& canvas, const TRect& box, int textRight, std::span<const std::u16string> lines,
                      int firstY) const;
    int TextHeightOfA(TCanvas& canvas) const;
    void FireScript(TControlEvent event, const std::string& script);
    void Invalidate() const;
    virtual void DoClick();
    // A key while the control has the focus; true swallows it.
    virtual bool KeyPressed(int /*key*/, TShiftState /*shift*/) { return false; }

    TSectionList* FDocument;
    ThtmlForm* FForm;
    std::string FValue;
    std::string FName;
    std::string FID;
    bool FDisabled = false;
    int FTabIndex = 0;
    TObjectStyle FStyle;
    std::unique_ptr<TControl> FControl;
    int FWidth = 0;
    int FHeight = 0;

private:
    void Entered();
    void Exited();
};
