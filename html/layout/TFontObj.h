#pragma once
// One font run of a text section: the font from a position on, and for link
// runs the link with its four font variants (visited x hover), its focus
// state and its keyboard tab stop.
#include <array>
#include <memory>
#include <string>

#include "gfx/TCanvas.h"
#include "html/layout/LayoutTypes.h"
#include "html/layout/TTextStyle.h"

class TSection;
class TControl;

class TFontObj {
public:
    TFontObj(TSection* section, int pos, const TTextStyle& style, const TLinkInfo* link);
    // A copy for another section (printing copies: no tab stop).
    TFontObj(const TFontObj& source, TSection* section);
    ~TFontObj();
    TFontObj& operator=(const TFontObj&) = delete;

    // The font on a canvas, with its metrics, created once per canvas.
    const TFontRef& FontOn(TCanvas& canvas);
    // Metrics of the last FontOn.
    int CharHeight() const { return FCharHeight; }   // ascent + descent
    int TextHeight() const { return FTextHeight; }   // with external leading
    int Descent() const { return FDescent; }
    int MaxCharWidth() const { return FMaxCharWidth; }
    int Overhang() const { return FOverhang; }       // italic overhang

    bool IsLink() const { return !Link.empty(); }
    void SetVisited(bool visited);
    void SetHover(bool hover);
    bool Hover() const { return FHover; }
    bool Visited() const { return FVisited; }
    // Replaces the run's style (change font at the same position).
    void SetStyle(const TTextStyle& style);
    void SetTabStop(std::unique_ptr<TControl> control);
    TControl* TabStop() const { return FTabStop.get(); }

    TSection* Section;
    int Pos;
    TTextFont Font;           // the font in effect (a link variant for links)
    TLinkInfo Link;
    std::string Title;
    TVAlign Shift = TVAlign::None;
    bool Focused = false;
    int YValue = -1;          // Y of the line holding the first character
    TFontObj* FirstOfLink = this; // the link's first run (runs of a link are consecutive)
    int LayoutPass = -1;      // layout counter when YValue was set

private:
    void SelectVariant();
    std::array<TTextFont, 4> FLinkFonts{};
    bool FHasLinkFonts = false;
    bool FVisited = false;
    bool FHover = false;
    std::unique_ptr<TControl> FTabStop;
    const TCanvas* FCanvas = nullptr;
    TFontRef FFont;
    int FCharHeight = 0, FTextHeight = 0, FDescent = 0, FMaxCharWidth = 0, FOverhang = 0;
};
