// The layout objects' styles read from property sets.
#include <array>
#include <cmath>

#include "html/build/BoxLayoutStyleOf.h"
#include "html/build/DocumentBuilderInternal.h"
#include "html/build/FlexStyleOf.h"
#include "util/CodePage.h"

namespace {

TBorderKind BorderKindOf(const TPropValue& v)
{
    const std::string* s = AsText(v);
    auto code = s ? BorderStyleOf(LowerCase(Trim(*s))) : std::nullopt;
    return code ? TBorderKind(int(*code)) : TBorderKind::None;
}

bool HasPercentBox(const TProperties& props)
{
    for (int i = FirstBoxValue; i <= LastBoxProp; ++i)
        if (const std::string* s = AsText(props[i]); s && s->find('%') != std::string::npos)
            return true;
    return false;
}

TMargArray MargArrayOf(const TProperties& props, int widthBase, int heightBase, int em, int ex)
{
    TBoxValues box = props.boxValues(widthBase, heightBase, em, ex);
    TMargArray m;
    for (int i = 0; i < MargArrayCount; ++i)
        m[i] = box.values[size_t(i)];
    m.autoCount = box.autoCount;
    const TPropValue& top = props[piMarginTop];
    const int* topInt = AsInt(top);
    m.topMarginExplicit = !box.defaultTopMargin && !IsEmpty(top) && !(topInt && *topInt == NotSet);
    const std::string* width = AsText(props[piWidth]);
    m.widthIsPercent = width && width->find('%') != std::string::npos;
    return m;
}

int FontPixels(double points) { return FontPixelsOf(points); }

} // namespace

std::string Utf8Of(const std::u16string& text) { return CodePage::FromUtf16(CodePage::Utf8, text); }

TTextFont TextFontOf(const ThtFontInfo& info)
{
    TTextFont f;
    f.spec.name = info.family;
    f.spec.height = -FontPixels(info.size);
    f.spec.style = info.style;
    f.spec.charset = info.charset;
    f.color = info.color;
    f.background = info.background;
    return f;
}

namespace {

TTextStyle ReadTextStyle(const TProperties& props)
{
    TTextStyle s;
    TMyFont font = props.font();
    s.font.spec = {font.name, -font.height, font.style, font.charset};
    s.font.color = font.color;
    s.font.background = props.background();
    s.font.letterSpacing = font.charExtra;
    s.font.invisible = props.isHidden();
    if (const TFontInfoArray* links = props.linkFonts()) {
        for (size_t i = 0; i < 4; ++i) {
            s.linkFonts[i] = TextFontOf((*links)[int(i)]);
            s.linkFonts[i].invisible = s.font.invisible;
        }
        s.hasLinkFonts = true;
    }
    if (props.fontVariant() == "small-caps") {
        s.smallCaps = true;
        s.smallFont = s.font;
        s.smallFont.spec.height = -std::max(1, font.height * 4 / 5);
    }
    if (auto v = props.verticalAlign()) {
        if (*v == TAlignment::Sub)
            s.verticalShift = TVAlign::Sub;
        else if (*v == TAlignment::Super)
            s.verticalShift = TVAlign::Super;
    }
    if (auto a = props.textAlign()) {
        switch (*a) {
        case TAlignment::Middle: s.align = TTextAlignKind::Center; break;
        case TAlignment::Right: s.align = TTextAlignKind::Right; break;
        case TAlignment::Justify: s.align = TTextAlignKind::Justify; break;
        default: s.align = TTextAlignKind::Left;
        }
    }
    if (const int* t = AsInt(props[piTextTransform]))
        s.transform = *t == TransformUpper ? TTextTransform::Upper : *t == TransformLower ? TTextTransform::Lower : TTextTransform::None;
    s.lineHeight = props.lineHeight(font.fontHeight);
    if (auto indent = props.textIndent()) {
        if (indent->percent)
            s.textIndentPercent = std::clamp(indent->value, 0, 90);
        else
            s.textIndent = ClampPixels(indent->value);
    }
    if (auto c = props.clear())
        s.clear = TClearKind(int(*c));
    ReadTextWrapping(props, Build.inPre, s);
    s.control = Build.button;
    s.title = Utf8Of(props.title());
    s.id = props.id();
    return s;
}

} // namespace

TTextStyle TextStyleOf(const TProperties& props)
{
    // The builder asks again for the same few sets at every font change and
    // section. A set's stamp changes with everything the style is read from
    // but its ID, which a copied set replaces, the builder's own state and
    // the screen the fonts are measured on.
    struct TKept {
        uint64_t stamp = 0;
        bool inPre = false;
        const TFormControlObj* button = nullptr;
        const TCanvas* screen = nullptr;
        int zoom = 0;
        TTextStyle style;
        bool holds(const TProperties& p) const
        {
            const TStyleModule& module = StyleModule();
            return stamp == p.stamp() && inPre == Build.inPre && button == Build.button && screen == module.screen &&
                   zoom == module.zoom && style.id == p.id();
        }
    };
    thread_local std::array<TKept, 8> kept;
    thread_local size_t oldest = 0;
    for (const TKept& k : kept)
        if (k.holds(props))
            return k.style;
    TKept& slot = kept[oldest];
    oldest = (oldest + 1) % kept.size();
    slot = {props.stamp(), Build.inPre, Build.button, StyleModule().screen, StyleModule().zoom, ReadTextStyle(props)};
    return slot.style;
}

TBlockStyle BlockStyleOf(const TProperties& props)
{
    TBlockStyle s;
    TMyFont font = props.font();
    int em = props.emSize(), ex = props.exSize();
    if (HasPercentBox(props)) {
        // Percentages depend on the space at each layout: keep a frozen copy.
        auto frozen = std::make_shared<TProperties>();
        frozen->copyValuesFrom(props);
        s.boxValues = [frozen, em, ex](int wb, int hb) { return MargArrayOf(*frozen, wb, hb, em, ex); };
    } else {
        s.boxValues = FixedBoxValues(MargArrayOf(props, 0, 0, em, ex));
    }
    for (size_t i = 0; i < 4; ++i)
        s.borderStyles[i] = BorderKindOf(props[piBorderTopStyle + int(i)]);
    if (auto f = props.floatValue())
        s.floatKind = *f == TAlignment::Left ? TFloatKind::Left : *f == TAlignment::Right ? TFloatKind::Right : TFloatKind::None;
    if (auto c = props.clear())
        s.clear = TClearKind(int(*c));
    s.position = TPositionKind(int(props.position()));
    s.layout = BoxLayoutStyleOf(props);
    if (s.layout && s.layout->fixed)
        s.position = TPositionKind::Absolute;
    s.hidden = props.isHidden();
    s.displayNone = props.displayNone();
    s.flex = FlexStyleOf(props);
    s.zIndex = props.zIndex();
    s.emSize = em;
    s.exSize = ex;
    s.tag = props.tag();
    s.className = props.cls();
    s.id = props.id();
    s.title = Utf8Of(props.title());
    if (auto img = props.backgroundImage())
        s.backgroundImage = *img;
    TBackgroundPosition pos = props.backgroundPosition();
    s.backgroundPosX = pos.x.value;
    s.backgroundPosY = pos.y.value;
    s.backgroundPosXPercent = pos.x.percent;
    s.backgroundPosYPercent = pos.y.percent;
    s.backgroundRepeat = uint8_t(props.backgroundRepeat());
    s.backgroundFixed = props.backgroundFixed();
    s.pageBreakBefore = props.pageBreakBefore();
    s.pageBreakAfter = props.pageBreakAfter();
    s.pageBreakInsideAvoid = props.pageBreakInside();
    // "blank" (the default sheet's value for lists) leaves the marker to the list kind.
    if (auto l = props.listStyleType(); l && *l != TListStyle::Blank)
        s.listStyleType = int(*l);
    if (auto img = props.listStyleImage())
        s.listStyleImage = *img;
    s.font.spec = {font.name, -font.height, font.style, font.charset};
    s.font.color = font.color;
    return s;
}
