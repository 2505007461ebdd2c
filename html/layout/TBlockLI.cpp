#include "html/layout/TBlockLI.h"

#include <array>

#include "html/layout/Borders.h"
#include "html/layout/TFloatingObj.h"
#include "html/layout/TImageObj.h"
#include "html/layout/TSectionList.h"

namespace {

TListMarker MarkerFor(TListKind kind, int level, char numbering, bool plain)
{
    switch (kind) {
    case TListKind::Unordered: {
        if (plain)
            return TListMarker::None;
        static constexpr std::array<TListMarker, 3> byLevel{TListMarker::Square, TListMarker::Disc, TListMarker::Circle};
        return byLevel[size_t(((level % 3) + 3) % 3)];
    }
    case TListKind::Ordered:
        switch (numbering) {
        case 'A':
            return TListMarker::UpperAlpha;
        case 'I':
            return TListMarker::UpperRoman;
        case 'a':
            return TListMarker::LowerAlpha;
        case 'i':
            return TListMarker::LowerRoman;
        default:
            return TListMarker::Decimal;
        }
    case TListKind::Definition:
        return TListMarker::None;
    case TListKind::Stray:
        return TListMarker::Disc;
    }
    return TListMarker::Disc;
}

// Items outside any list get 16 pixels of left margin unless the style gives some.
TBlockStyle StrayMargin(TBlockStyle style, TListKind kind)
{
    if (kind != TListKind::Stray)
        return style;
    TBoxResolver inner = style.boxValues ? style.boxValues : FixedBoxValues(TMargArray{});
    style.boxValues = [inner](int w, int h) {
        TMargArray b = inner(w, h);
        if (b[BoxMarginLeft] == 0 || b[BoxMarginLeft] == BoxNotSet)
            b[BoxMarginLeft] = 16;
        return b;
    };
    return style;
}

const std::array<const char*, 20> RomanNumerals{"i",   "ii",   "iii",   "iv", "v",   "vi",  "vii",
                                                 "viii", "ix",  "x",     "xi", "xii", "xiii", "xiv",
                                                 "xv",   "xvi", "xvii", "xviii", "xix", "xx"};

std::u16string Widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }

} // namespace

TBlockLI::TBlockLI(TSectionList& document, TCellBasic& cell, TBlockStyle style, TListKind kind, int level,
                   char numbering, bool plain, int number)
    : TBlock(document, cell, StrayMargin(std::move(style), kind)), FKind(kind), FNumber(number)
{
    FMarker = MarkerFor(kind, level, numbering, plain);
    if (FStyle->listStyleType >= 0 && FStyle->listStyleType <= int(TListMarker::UpperRoman))
        FMarker = TListMarker(FStyle->listStyleType);
}

TBlockLI::TBlockLI(const TBlockLI& source, TSectionList& target)
    : TBlock(source, target), FKind(source.FKind), FMarker(source.FMarker), FNumber(source.FNumber)
{
    if (source.FMarkerImage && target.ShowImages)
        FMarkerImage = source.FMarkerImage->Clone(target);
}

TBlockLI::~TBlockLI() = default;

std::unique_ptr<TSectionBase> TBlockLI::CloneInto(TSectionList& target) const
{
    return std::unique_ptr<TSectionBase>(new TBlockLI(*this, target));
}

void TBlockLI::SetMarkerImage(std::unique_ptr<TFloatingObj> image) { FMarkerImage = std::move(image); }

std::u16string TBlockLI::MarkerText() const
{
    int n = FNumber;
    switch (FMarker) {
    case TListMarker::Decimal:
        return Widen(std::to_string(n) + ".");
    case TListMarker::LowerAlpha:
    case TListMarker::UpperAlpha: {
        char base = FMarker == TListMarker::LowerAlpha ? 'a' : 'A';
        int k = n < 1 ? 0 : n > 26 ? 25 : n - 1;
        return std::u16string(1, char16_t(base + k)) + u".";
    }
    case TListMarker::LowerRoman:
    case TListMarker::UpperRoman: {
        std::string r = RomanNumerals[size_t(n < 1 ? 0 : n > 20 ? 19 : n - 1)];
        if (FMarker == TListMarker::UpperRoman)
            for (char& c : r)
                c = char(c - 'a' + 'A');
        return Widen(r + ".");
    }
    default:
        return {};
    }
}

int TBlockLI::LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor)
{
    TSectionList* doc = Owner();
    int* outer = doc ? doc->ListItemMarkerY : nullptr;
    FFirstLineBaseline = -1;
    if (doc)
        doc->ListItemMarkerY = &FFirstLineBaseline;
    int h = TBlock::LayOut(canvas, area, im, maxWidth, cursor);
    if (doc) {
        // An item that begins with a nested item shares its first line.
        if (outer && *outer < 0 && FFirstLineBaseline >= 0) {
            *outer = FFirstLineBaseline;
            outer = nullptr;
        }
        doc->ListItemMarkerY = outer;
    }
    return h;
}

int TBlockLI::Paint(TPaintContext& pc, IndentManager& im, int x, int xRef, int yRef)
{
    int y = TBlock::Paint(pc, im, x, xRef, yRef);
    if (!Style().displayNone && !Hidden() && FFirstLineBaseline >= 0)
        PaintMarker(pc);
    return y;
}

void TBlockLI::PaintMarker(TPaintContext& pc)
{
    if (FKind == TListKind::Definition || FMarker == TListMarker::Blank || FMarker == TListMarker::None)
        return;
    int y = pc.WindowY(FFirstLineBaseline);
    if (y < pc.clip.top - 50 || y > pc.clip.bottom + 50)
        return;
    int c = ContentLeft + pc.shiftX;
    TCanvas& canvas = pc.canvas;
    TColor color = DrawColor(FStyle->font.color);
    if (FMarkerImage) {
        if (!FMarkerImageSized) {
            FMarkerImage->SizeFor(canvas, 0, 0);
            FMarkerImageSized = true;
        }
        // A marker picture that cannot be shown leaves the plain marker.
        const auto* picture = dynamic_cast<const TImageObj*>(FMarkerImage.get());
        if (FMarkerImage->ImageKnown && FMarkerImage->ObjWidth > 0 && (!picture || picture->HasPicture())) {
            FMarkerImage->Draw(canvas, c - 8 - FMarkerImage->ObjWidth, y - FMarkerImage->ObjHeight);
            return;
        }
    }
    switch (FMarker) {
    case TListMarker::Circle:
        canvas.setPen({color, 1, TPenStyle::Solid});
        canvas.setBrush({color, TBrushStyle::Clear});
        canvas.ellipse({c - 16, y - 7, c - 9, y});
        return;
    case TListMarker::Disc:
        canvas.setPen({color, 1, TPenStyle::Solid});
        canvas.setBrush({color, TBrushStyle::Solid});
        canvas.ellipse({c - 15, y - 6, c - 10, y - 1});
        return;
    case TListMarker::Square:
        canvas.fillRect({c - 15, y - 6, c - 10, y - 1}, color);
        return;
    default:
        break;
    }
    std::u16string text = MarkerText();
    canvas.setFont(canvas.createFont(FStyle->font.spec));
    canvas.setTextColor(color);
    canvas.setBackgroundMode(TBackgroundMode::Transparent);
    canvas.setTextAlign(TTextAlign::Baseline);
    canvas.textOut(c - 10 - canvas.textExtent(text), y, text);
}
