#include "html/layout/StyleAdapter.h"

#include <cmath>

#include "html/reader/TProperties.h"

namespace {

std::string Utf8(const std::u16string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

TTextFont FontOf(const ThtFontInfo& info, int emSize, int exSize)
{
    TTextFont f;
    f.spec.name = info.family;
    f.spec.height = -int(std::lround(StyleModule().pixelsPerInch * info.size / 72.0));
    f.spec.style = info.style;
    f.spec.charset = info.charset;
    f.color = info.color;
    f.background = info.background;
    if (const int* px = AsInt(info.letterSpacing))
        f.letterSpacing = *px;
    else if (const std::string* text = AsText(info.letterSpacing); text && *text != "normal")
        f.letterSpacing = LengthToPixels(*text, 0, 0, emSize, exSize);
    return f;
}

TBorderKind SideStyle(const TProperties& p, int index)
{
    const std::string* text = AsText(p.value(index));
    if (!text)
        return TBorderKind::None;
    auto style = BorderStyleOf(LowerCase(Trim(*text)));
    return style ? TBorderKind(*style) : TBorderKind::None;
}

} // namespace

TBlockStyle BlockStyleOf(const std::shared_ptr<const TProperties>& properties)
{
    const TProperties& p = *properties;
    TBlockStyle s;
    int em = p.emSize(), ex = p.exSize();
    const std::string* width = AsText(p.value(piWidth));
    bool widthPercent = width && width->find('%') != std::string::npos;
    s.boxValues = [properties, em, ex, widthPercent](int widthBase, int heightBase) {
        TBoxValues b = properties->boxValues(widthBase, heightBase, em, ex);
        TMargArray m;
        for (int i = 0; i < MargArrayCount; ++i)
            m[i] = b.values[size_t(i)];
        m.autoCount = b.autoCount;
        m.topMarginExplicit = !b.defaultTopMargin;
        m.widthIsPercent = widthPercent;
        return m;
    };
    for (int side = 0; side < 4; ++side)
        s.borderStyles[size_t(side)] = SideStyle(p, piBorderTopStyle + side);
    if (auto f = p.floatValue())
        s.floatKind = *f == TAlignment::Left ? TFloatKind::Left : *f == TAlignment::Right ? TFloatKind::Right : TFloatKind::None;
    if (auto c = p.clear())
        s.clear = TClearKind(*c);
    s.position = TPositionKind(p.position());
    s.hidden = p.isHidden();
    s.displayNone = p.displayNone();
    s.zIndex = p.zIndex();
    s.emSize = em;
    s.exSize = ex;
    s.tag = p.tag();
    s.className = p.cls();
    s.id = p.id();
    s.title = Utf8(p.title());
    if (auto image = p.backgroundImage())
        s.backgroundImage = *image;
    TBackgroundPosition pos = p.backgroundPosition();
    s.backgroundPosX = pos.x.value;
    s.backgroundPosY = pos.y.value;
    s.backgroundPosXPercent = pos.x.percent;
    s.backgroundPosYPercent = pos.y.percent;
    s.backgroundRepeat = uint8_t(p.backgroundRepeat());
    s.pageBreakBefore = p.pageBreakBefore();
    s.pageBreakAfter = p.pageBreakAfter();
    s.pageBreakInsideAvoid = p.pageBreakInside();
    if (auto type = p.listStyleType())
        s.listStyleType = int(*type);
    if (auto image = p.listStyleImage())
        s.listStyleImage = *image;
    s.font = FontOf(p.fontInfo(), em, ex);
    return s;
}

TTextStyle TextStyleOf(const TProperties& p)
{
    TTextStyle s;
    int em = p.emSize(), ex = p.exSize();
    s.font = FontOf(p.fontInfo(), em, ex);
    if (const TFontInfoArray* links = p.linkFonts()) {
        s.hasLinkFonts = true;
        for (int i = 0; i < 4; ++i)
            s.linkFonts[size_t(i)] = FontOf((*links)[i], em, ex);
    }
    s.smallCaps = p.fontVariant() == "small-caps";
    if (s.smallCaps) {
        ThtFontInfo small = p.fontInfo();
        small.size = StyleModule().defaultFontSize;
        s.smallFont = FontOf(small, em, ex);
    }
    if (auto v = p.verticalAlign())
        s.verticalShift = *v == TAlignment::Sub ? TVAlign::Sub : *v == TAlignment::Super ? TVAlign::Super : TVAlign::None;
    if (auto a = p.textAlign())
        s.align = *a == TAlignment::Middle   ? TTextAlignKind::Center
                  : *a == TAlignment::Right  ? TTextAlignKind::Right
                  : *a == TAlignment::Justify ? TTextAlignKind::Justify
                                              : TTextAlignKind::Left;
    if (const int* t = AsInt(p.value(piTextTransform)))
        s.transform = *t == 1 ? TTextTransform::Upper : *t == 2 ? TTextTransform::Lower : TTextTransform::None;
    s.lineHeight = p.lineHeight(std::abs(s.font.spec.height));
    if (auto indent = p.textIndent()) {
        if (indent->percent)
            s.textIndentPercent = indent->value;
        else
            s.textIndent = indent->value;
    }
    if (auto c = p.clear())
        s.clear = TClearKind(*c);
    s.title = Utf8(p.title());
    s.id = p.id();
    return s;
}
