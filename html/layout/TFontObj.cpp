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

TFontObj::TFontObj(TSection& section, int pos, const TTextStyle& style, const TLinkInfo* link) : Pos(pos)
{
    if (link && !link->empty())
        Extra().link = *link;
    SetStyle(style, section.Owner()->RunFonts());
}

TFontObj::TFontObj(const TFontObj& source, TSection& section)
    : Pos(source.Pos), Shift(source.Shift), FVisited(source.FVisited)
{
    TRunFontPool& pool = section.Owner()->RunFonts();
    FFont = pool.Intern(source.Font());
    if (!source.FExtra || (source.FExtra->link.empty() && !source.FExtra->title))
        return;
    TExtra& extra = Extra();
    extra.link = source.FExtra->link;
    if (source.FExtra->title)
        extra.title = std::make_unique<std::string>(*source.FExtra->title);
    if (const TLinkFonts* fonts = source.FExtra->linkFonts) {
        TLinkFonts own;
        for (size_t i = 0; i < 4; ++i)
            own[i] = pool.Intern((*fonts)[i]->Font());
        extra.linkFonts = pool.Intern(own);
    }
}

TFontObj::TFontObj(TFontObj&&) noexcept = default;
TFontObj& TFontObj::operator=(TFontObj&&) noexcept = default;
TFontObj::TFontObj() : Pos(0) {}
TFontObj::~TFontObj() = default;

TFontObj::TExtra& TFontObj::Extra()
{
    if (!FExtra)
        FExtra = std::make_unique<TExtra>();
    return *FExtra;
}

void TFontObj::TrimExtra()
{
    if (FExtra && FExtra->link.empty() && !FExtra->title && !FExtra->tabStop && !FExtra->section && !FExtra->control)
        FExtra.reset();
}

const TLinkInfo& TFontObj::Link() const { return FExtra ? FExtra->link : NoLink; }

void TFontObj::SetLink(const TLinkInfo& link)
{
    if (!link.empty() || FExtra)
        Extra().link = link;
}

const std::string& TFontObj::Title() const { return FExtra && FExtra->title ? *FExtra->title : NoTitle; }

void TFontObj::SetStyle(const TTextStyle& style, TRunFontPool& pool)
{
    FFont = pool.Intern(style.font);
    Shift = style.verticalShift;
    if (!style.title.empty())
        Extra().title = std::make_unique<std::string>(style.title);
    else if (FExtra)
        FExtra->title.reset();
    if (style.control)
        Extra().control = style.control;
    else if (FExtra)
        FExtra->control = nullptr;
    if (FExtra) {
        FExtra->linkFonts = nullptr;
        if (IsLink() && style.hasLinkFonts) {
            TLinkFonts fonts;
            for (size_t i = 0; i < 4; ++i)
                fonts[i] = pool.Intern(style.linkFonts[i]);
            FExtra->linkFonts = pool.Intern(fonts);
        }
    }
    TrimExtra();
    SelectVariant();
}

void TFontObj::SelectVariant()
{
    if (FExtra && FExtra->linkFonts)
        FFont = (*FExtra->linkFonts)[size_t((FHover ? 2 : 0) + (FVisited ? 1 : 0))];
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

void TFontObj::EnterLinkList(TSection& section, TFontObj* firstOfLink)
{
    TExtra& extra = Extra();
    extra.section = &section;
    extra.firstOfLink = firstOfLink == this ? nullptr : firstOfLink;
}

void TFontObj::PlaceLink(int y, int layoutPass)
{
    if (!FExtra || FExtra->layoutPass == layoutPass)
        return;
    FExtra->layoutPass = layoutPass;
    const TFontObj* first = FirstOfLink();
    FExtra->yValue = first != this && first->FExtra && first->FExtra->layoutPass == layoutPass ? first->FExtra->yValue : y;
}
