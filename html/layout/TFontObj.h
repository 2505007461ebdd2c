#pragma once
// One font run of a text section: the font from a position on, and for link
// runs the link with its four font variants (visited x hover), its focus
// state and its keyboard tab stop.
//
// A document has few distinct fonts but may have hundreds of thousands of
// runs, so a run points at a shared TRunFont (the font with its metrics) and
// keeps link and title data out of line, present only on runs that have them.
#include <array>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "gfx/TCanvas.h"
#include "html/layout/LayoutTypes.h"
#include "html/layout/TTextStyle.h"

class TSection;
class TControl;

// A distinct font of a document and its metrics on the canvas it was last
// created on.
class TRunFont {
public:
    explicit TRunFont(const TTextFont& font) : FFont(font) {}
    const TTextFont& Font() const { return FFont; }
    // The font on a canvas, with its metrics, created once per canvas.
    const TFontRef& On(TCanvas& canvas);
    int CharHeight() const { return FCharHeight; }
    int TextHeight() const { return FTextHeight; }
    int Descent() const { return FDescent; }
    int MaxCharWidth() const { return FMaxCharWidth; }
    int Overhang() const { return FOverhang; }

private:
    TTextFont FFont;
    const TCanvas* FCanvas = nullptr;
    TFontRef FRef;
    int FCharHeight = 0, FTextHeight = 0, FDescent = 0, FMaxCharWidth = 0, FOverhang = 0;
};

// The four fonts of a link: plain, visited, hover, visited and hover.
using TLinkFonts = std::array<TRunFont*, 4>;

// The run fonts of one document; each distinct font and each distinct set
// of link fonts is made once and lives as long as the pool.
class TRunFontPool {
public:
    TRunFont* Intern(const TTextFont& font);
    const TLinkFonts* Intern(const TLinkFonts& fonts) { return &*FLinkFonts.insert(fonts).first; }
    size_t Count() const { return FFonts.size(); }

private:
    struct Less {
        bool operator()(const TTextFont& a, const TTextFont& b) const;
    };
    std::map<TTextFont, std::unique_ptr<TRunFont>, Less> FFonts;
    std::set<TLinkFonts> FLinkFonts;
};

class TFontObj {
public:
    TFontObj(TSection& section, int pos, const TTextStyle& style, const TLinkInfo* link);
    // A copy for another section (printing copies: no tab stop, not in the
    // link list).
    TFontObj(const TFontObj& source, TSection& section);
    // Runs move while their section is being built (nothing points at them
    // before the section enters them in the link list when it is finished).
    TFontObj(TFontObj&&) noexcept;
    TFontObj& operator=(TFontObj&&) noexcept;
    ~TFontObj();

    // The font on a canvas, with its metrics, created once per canvas.
    const TFontRef& FontOn(TCanvas& canvas) { return FFont->On(canvas); }
    // Metrics of the last FontOn.
    int CharHeight() const { return FFont->CharHeight(); }   // ascent + descent
    int TextHeight() const { return FFont->TextHeight(); }   // with external leading
    int Descent() const { return FFont->Descent(); }
    int MaxCharWidth() const { return FFont->MaxCharWidth(); }
    int Overhang() const { return FFont->Overhang(); }       // italic overhang
    // The font in effect (a link variant for links).
    const TTextFont& Font() const { return FFont->Font(); }

    const TLinkInfo& Link() const;
    void SetLink(const TLinkInfo& link);
    const std::string& Title() const;
    bool IsLink() const { return FExtra && !FExtra->link.empty(); }
    void SetVisited(bool visited);
    void SetHover(bool hover);
    bool Hover() const { return FHover; }
    bool Visited() const { return FVisited; }
    // Replaces the run's style (change font at the same position).
    void SetStyle(const TTextStyle& style, TRunFontPool& pool);
    void SetTabStop(std::unique_ptr<TControl> control);
    TControl* TabStop() const { return FExtra ? FExtra->tabStop.get() : nullptr; }
    // The button a click on the run clicks, if any.
    TFormControlObj* Control() const { return FExtra ? FExtra->control : nullptr; }

    // Links in the document's link list: their section, the link's first
    // run (runs of a link are consecutive) and the Y of the line holding
    // the first character as of a layout pass.
    void EnterLinkList(TSection& section, TFontObj* firstOfLink);
    bool InLinkList() const { return FExtra && FExtra->section; }
    TSection* Section() const { return FExtra ? FExtra->section : nullptr; }
    TFontObj* FirstOfLink() { return FExtra && FExtra->firstOfLink ? FExtra->firstOfLink : this; }
    const TFontObj* FirstOfLink() const { return FExtra && FExtra->firstOfLink ? FExtra->firstOfLink : this; }
    int YValue() const { return FExtra ? FExtra->yValue : -1; }
    // Notes the Y of a link in a layout pass: the Y of its first run when
    // that was placed in the same pass, else y.
    void PlaceLink(int y, int layoutPass);

    int Pos;
    TVAlign Shift = TVAlign::None;
    bool Focused = false;

private:
    friend class TFontList;
    // The empty first slot of a font list.
    TFontObj();
    // Beside the small public fields, so that a run packs without holes.
    bool FVisited = false;
    bool FHover = false;
    // Links and titled runs only.
    struct TExtra {
        TLinkInfo link;
        std::unique_ptr<std::string> title; // few links have one
        const TLinkFonts* linkFonts = nullptr; // links with fonts of their own
        int yValue = -1;     // see YValue
        int layoutPass = -1; // layout counter when yValue was set
        TSection* section = nullptr; // set when in the link list
        TFontObj* firstOfLink = nullptr;
        std::unique_ptr<TControl> tabStop;
        TFormControlObj* control = nullptr; // the BUTTON the run is the content of
    };
    TExtra& Extra();
    // Drops the extra data again when it holds nothing.
    void TrimExtra();
    void SelectVariant();
    TRunFont* FFont = nullptr;
    std::unique_ptr<TExtra> FExtra;
};
