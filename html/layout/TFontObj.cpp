#include "html/layout/TFontObj.h"

#include "gfx/TControls.h"

TFontObj::TFontObj(TSection* section, int pos, const TTextStyle& style, const TLinkInfo* link)
    : Section(section), Pos(pos)
{
    if (link && !link->empty())
        Link = *link;
    SetStyle(style);
}

TFontObj::TFontObj(const TFontObj& source, TSection* section)
    : Section(section), Pos(source.Pos), Font(source.Font), Link(source.Link), Title(source.Title),
      Shift(source.Shift), FLinkFonts(source.FLinkFonts), FHasLinkFonts(source.FHasLinkFonts),
      FVisited(source.FVisited)
{
}

TFontObj::~TFontObj() = default;

void TFontObj::SetStyle(const TTextStyle& style)
{
    Font = style.font;
    Title = style.title;
    Shift = style.verticalShift;
    FHasLinkFonts = IsLink() && style.hasLinkFonts;
    if (FHasLinkFonts)
        FLinkFonts = style.linkFonts;
    SelectVariant();
}

void TFontObj::SelectVariant()
{
    if (FHasLinkFonts)
        Font = FLinkFonts[size_t((FHover ? 2 : 0) + (FVisited ? 1 : 0))];
    FCanvas = nullptr;
}

void TFontObj::SetVisited(bool visited)
{
    FVisited = visited;
    SelectVariant();
}

void TFontObj::SetHover(bool hover)
{
    FHover = hover;
    SelectVariant();
}

void TFontObj::SetTabStop(std::unique_ptr<TControl> control) { FTabStop = std::move(control); }

const TFontRef& TFontObj::FontOn(TCanvas& canvas)
{
    if (FCanvas != &canvas || !FFont) {
        FFont = canvas.createFont(Font.spec);
        FCanvas = &canvas;
        const TFontMetrics& m = FFont->metrics();
        FCharHeight = m.height;
        FTextHeight = m.height + m.externalLeading;
        FDescent = m.descent;
        FMaxCharWidth = m.maxCharWidth + Font.letterSpacing;
        FOverhang = (Font.spec.style & fsItalic) ? m.height / 10 : 0;
    }
    return FFont;
}
