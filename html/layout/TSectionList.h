#pragma once
// The document root: the top-level cell of one displayed document plus the
// document-wide stores (IDs, positions, links, inline boxes, controls) and
// the host callbacks the viewer installs.
//
// Life cycle: create empty; the builder fills Sections through AddSection
// (normally one TBodyBlock whose content cell receives everything);
// LayOut(width) places everything; Paint draws a band; the queries answer
// hit tests, search, caret and selection; ClearDocument empties it for the
// next document. A printing copy is made with the copy constructor.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "html/layout/TCell.h"
#include "html/layout/Backgrounds.h"
#include "html/layout/TDrawList.h"
#include "html/layout/TFontObj.h"
#include "html/layout/TInlineList.h"
#include "html/layout/SelTextBuf.h"
#include "html/layout/TDocumentObjects.h"
#include "html/layout/TIDNameList.h"
#include "html/layout/TBlockStylePool.h"
#include "html/layout/PositionedBox.h"
#include "html/layout/TFixedLayer.h"
#include "html/layout/THighlightRanges.h"

class TFontObj;
class TSection;
class TControl;
class TFormControlObj;
class TFloatingObj;
class TTimer;
class TControlFactory;

// The viewer's services. Every one is optional.
struct TDocumentHost {
    // A layout error to show in a modal box with an "OK" button.
    std::function<void(const std::string& message)> showError;
    // Selected text for the clipboard.
    std::function<void(const std::u16string& text)> copyToClipboard;
    // The background colour changed.
    std::function<void(TColor color)> backgroundChanged;
    // Repaint the paint panel.
    std::function<void()> invalidate;
    // A link run or control got the keyboard focus: scroll it into view.
    std::function<void(int y)> focusedAt;
    // Layout progress in percent.
    std::function<void(int percent)> progress;
    // Enter pressed on a focused link.
    std::function<void(const TLinkInfo& link)> linkAction;
};

class TSectionList : public TCell {
public:
    TSectionList();
    // A copy for printing or preview: same settings, host and inline boxes;
    // its own copies of every section; no timer, no animation.
    static std::unique_ptr<TSectionList> CreateCopy(const TSectionList& source);
    ~TSectionList() override;

    void ClearDocument();

    // Lays the document out for a width; answers the document height.
    int LayOut(TCanvas& canvas, int y, int width, int availHeight, int& maxWidth);
    // Paints the band clip (window pixels) of the document scrolled to
    // pc.yOffset; answers the Y after the document.
    int PaintDocument(TPaintContext& pc, int x);

    void ScrollTo(int y);
    // Link under a point plus hover tracking; answers TLinkHitFlag bits.
    int LinkAt(TCanvas& canvas, int x, int y, TLinkHit& hit) override;
    // As the cell's, but fixed boxes (where the window shows them) first.
    bool ObjectAt(int x, int y, TFloatingObj*& obj, int& xObj, int& yObj);
    int PositionAt(TCanvas& canvas, int x, int y, TCaretHit& hit);
    void ClearHover();
    void SetLinkPressed(bool down);

    int FindText(int from, const std::u16string& text, bool matchCase)
    {
        return TCellBasic::FindText(from, text, matchCase);
    }
    int FindTextBack(int from, const std::u16string& text, bool matchCase)
    {
        return TCellBasic::FindTextBack(from, text, matchCase);
    }
    bool CaretXY(TCanvas& canvas, int pos, int& x, int& y);
    int DocPosOf(int sourcePos, bool previous) const;
    // The last section in the position list whose anchor Y is at or above y.
    TSectionBase* SectionAtY(int y, int& sectionY, int& index) const;

    int GetSelLength();
    std::u16string GetSelText();
    void CopyToClipboard();

    void SetFonts(const std::string& name, int size, TColor link, TColor visited, TColor hover, bool linksActive,
                  TColor background);
    void SetBackground(TColor color);

    // The layout dump: every block, section and line with x, y, width and
    // height, two spaces of indentation per level. Lines have the form
    //   block <tag> x=<content left> y=<content top> w=<content width> h=<height>
    //   section x=.. y=.. w=.. h=..
    //     line x=.. y=.. w=<text width> h=.. n=<characters>
    // further kinds (table, row, cell, rule, page) follow the same pattern.
    std::string Dump() const;

    // Builder and section services.
    void AddID(const std::string& name, TIDObject* obj);
    // An ID target at a character position, owned by the document.
    void AddChPosID(const std::string& name, int32_t sourcePos);
    // Looked up without regard to letter case.
    TIDObject* FindID(const std::string& name) const;
    void ForgetSection(TSection& section);
    void ReportError(const std::string& message);
    int NextTextSequence() { return ++FTextSectionCount; }
    int TextSectionCount() const { return FTextSectionCount; }
    // Whether layout reports progress at text section seq: once per layout
    // pass, for sections beyond the last one reported (cells measured and
    // then placed are laid out twice).
    bool TakeProgressStep(int seq);
    void SelectionBuffer(SelTextCount* buffer) { FSelBuffer = buffer; }
    // The canvas of the last layout (anchors inside text measure with it).
    TCanvas* MeasuringCanvas() const { return FCanvas; }
    SelTextCount* CurrentSelBuffer() const { return FSelBuffer; }
    // The distinct fonts of the text runs.
    TRunFontPool& RunFonts() { return FRunFonts; }
    // The distinct styles of the blocks.
    TBlockStylePool& BlockStyles() { return FBlockStyles; }
    // Scratch space for the character extents of line fitting, shared by all
    // sections (one layout runs at a time).
    std::vector<int>& FitExtents() { return FFitExtents; }

    // Settings.
    bool ShowImages = true;
    bool Printing = false;
    bool PrintBackground = false;
    bool PrintMonochrome = false;
    bool LinksActive = false;
    bool ManyLinks = false;
    bool ShowCaret = false;
    int CaretPos = -1;
    int YOff = 0;
    bool YOffChange = false;
    int SelB = 0;
    int SelE = 0;
    // Searched words marked on the screen; a printing copy has none.
    THighlightRanges Highlights;
    std::string FontName = "Times New Roman";
    int FontSize = 12;
    int Zoom = 100; // percent pictures are shown at (the reader scales the fonts)
    TColor LinkColor = 0xFF0000, VisitedColor = 0x800080, HoverColor = 0xFF00FF;
    TColor Background = 0xFFFFFF;
    std::string BackgroundImage;
    TBackgroundPlacement BackgroundPlacement;
    bool BackgroundFixed = false; // the picture stays in place while the document scrolls
    TDocumentHost Host;
    TControlFactory* Controls = nullptr; // where tab stops and timers are made
    // Pictures, maps, panels and forms: their host callbacks, the shared
    // image cache and the objects the document owns.
    TDocumentObjects Objects{*this};

    // Stores.
    std::vector<TFontObj*> LinkList;        // every link run, in document order
    std::vector<TFormControlObj*> FormControlList;
    std::vector<TFormControlObj*> PanelList;
    std::vector<TFloatingObj*> AnimList;
    std::vector<TSectionBase*> PositionList;
    std::multimap<std::string, TControl*> TabOrderList;
    std::shared_ptr<TInlineList> InlineList;
    TDrawList DrawList;
    int* ListItemMarkerY = nullptr;         // the list item waiting for its marker Y
    int LayoutCounter = 0;
    // Positioned boxes: the viewport of the last layout (its height 0 when
    // not known), the fixed boxes, and the nesting of second layout passes
    // of boxes hanging from their containing block's bottom.
    int ViewportWidth = 0;
    int ViewportHeight = 0;
    TContainingBlock Viewport() const { return {0, 0, ViewportWidth, ViewportHeight}; }
    TFixedLayer FixedBoxes;
    int HangingPasses = 0;
    // Absolutely positioned boxes that hang from the bottom of a containing
    // block whose height was not known yet: that block lays its content out
    // again once its height is known.
    int WaitingForHeight = 0;
    bool IsCopy = false;
    TFontObj* HoverRun = nullptr;
    TFormControlObj* HoverControl = nullptr;
    int HoverControlState = 0;
    int ProgressBase = 0;

private:
    // A document is laid out for a width (LayOut above), never as a cell
    // inside an area; the cell overload stays visible here but not callable.
    using TCellBasic::LayOut;

    explicit TSectionList(const TSectionList* source);
    void ShowUnshownControls();
    void HideUnpaintedControls();
    void SetHoverLink(TFontObj* run);

    // IDs and anchor names: sections and controls are pointed at, character
    // positions are owned.
    TIDNameList IDNameList{this};
    std::unique_ptr<TTimer> FTimer;
    SelTextCount* FSelBuffer = nullptr;
    TCanvas* FCanvas = nullptr;
    int FTextSectionCount = 0;
    int FProgressPass = -1; // layout counter and section of the last progress report
    int FProgressSeq = 0;
    TRunFontPool FRunFonts;
    TBlockStylePool FBlockStyles;
    IndentManager FEdges; // float edges of the top-level flow
    std::vector<int> FFitExtents;
};
