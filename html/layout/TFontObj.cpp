#include "html/layout/TFontObj.h"

#include <tuple>

#include "gfx/TControls.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"

namespace {
const TLinkInfo NoLink;
const std::string NoTitle;

auto KeyOf(const TTextFont& f)
{
    return std::tie(f.spec.height, f.spec.style, f.spec.charset, f.color, f.background, f.letterSpacing, f.spec.name);
}
} // namespace

// ---------------------------------------------------------------- shared fonts

const TFontRef& TRunFont::On(TCanvas& canvas)
{
    if (FCanvas != &canvas || !FRef) {
        FRef = canvas.createFont(FFont.spec);
        FCanvas = &canvas;
        const TFontMetrics& m = FRef->metrics();
        FCharHeight = m.height;
        FTextHeight = m.height + m.externalLeading;
        FDescent = m.descent;
        FMaxCharWidth = m.maxCharWidth + FFont.letterSpacing;
        FOverhang = (FFont.spec.style & fsItalic) ? m.height / 10 : 0;
    }
    return FRef;
}

bool TRunFontPool::Less::operator()(const TTextFont& a, const TTextFont& b) const { return KeyOf(a) < KeyOf(b); }

TRunFont* TRunFontPool::Intern(const TTextFont& font)
{
    auto it = FFonts.find(font);
    if (it == FFonts.end())
        it = FFonts.emplace(font, std::make_unique<TRunFont>(font)).first;
    return it->second.get();
}

// ---------------------------------------------------------------- runs

TFontObj::TFontObj(TSection* section, int pos, const TTextStyle& style, const TLinkInfo* link)
    : Section(section), Pos(pos)
{
    if (link && !link->empty())
        Extra().link = *link;
    SetStyle(style);
}

TFontObj::TFontObj(const TFontObj& source, TSection* section)
    : Section(section), Pos(source.Pos), Shift(source.Shift), FVisited(source.FVisited),
      FFont(Pool().Intern(source.Font()))
{
    if (!source.FExtra)
        return;
    TExtra& extra = Extra();
    extra.link = source.FExtra->link;
    extra.title = source.FExtra->title;
    extra.hasLinkFonts = source.FExtra->hasLinkFonts;
    if (extra.hasLinkFonts)
        for (size_t i = 0; i < 4; ++i)
            extra.linkFonts[i] = Pool().Intern(source.FExtra->linkFonts[i]->Font());
}

TFontObj::~TFontObj() = default;

TRunFontPool& TFontObj::Pool() const { return Section->Owner()->RunFonts(); }

TFontObj::TExtra& TFontObj::Extra()
{
    if (!FExtra)
        FExtra = std::make_unique<TExtra>();
    return *FExtra;
}

void TFontObj::TrimExtra()
{
    if (FExtra && FExtra->link.empty() && FExtra->title.empty() && !FExtra->tabStop)
        FExtra.reset();
}

const TLinkInfo& TFontObj::Link() const { return FExtra ? FExtra->link : NoLink; }

void TFontObj::SetLink(const TLinkInfo& link)
{
    if (!link.empty() || FExtra)
        Extra().link = link;
}

const std::string& TFontObj::Title() const { return FExtra ? FExtra->title : NoTitle; }

void TFontObj::SetStyle(const TTextStyle& style)
{
    FFont = Pool().Intern(style.font);
    Shift = style.verticalShift;
    if (!style.title.empty() || FExtra)
        Extra().title = style.title;
    if (FExtra) {
        FExtra->hasLinkFonts = IsLink() && style.hasLinkFonts;
        if (FExtra->hasLinkFonts)
            for (size_t i = 0; i < 4; ++i)
                FExtra->linkFonts[i] = Pool().Intern(style.linkFonts[i]);
    }
    TrimExtra();
    SelectVariant();
}

void TFontObj::SelectVariant()
{
    if (FExtra && FExtra->hasLinkFonts)
        FFont = FExtra->linkFonts[size_t((FHover ? 2 : 0) + (FVisited ? 1 : 0))];
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

void TFontObj::SetTabStop(std::unique_ptr<TControl> control)
{
    if (control || FExtra)
        Extra().tabStop = std::move(control);
}
