#include "html/build/ObjectStyleAdapter.h"

#include <algorithm>

#include "html/layout/ObjectAttributes.h"
#include "html/build/DocumentBuilderInternal.h"
#include "html/style/TProperties.h"
#include "util/CodePage.h"

namespace {

TStyleLength LengthOf(const TProperties& p, int index)
{
    // Box properties are not inherited: what the set holds is the element's own.
    const TPropValue& v = p.value(index);
    if (const int* n = AsInt(v)) {
        if (*n == NotSet || *n == DefaultParagraphMargin)
            return {};
        return *n == AutoValue ? TStyleLength::Auto() : TStyleLength::Pixels(*n);
    }
    const std::string* text = AsText(v);
    if (!text)
        return {};
    std::string lower = LowerText(*text);
    if (lower.find("auto") != std::string::npos)
        return TStyleLength::Auto();
    if (lower.find('%') != std::string::npos)
        return TStyleLength::Percent(LeadingInt(lower).value_or(0));
    return TStyleLength::Pixels(LengthToPixels(lower, 0, 0, p.emSize(), p.exSize()));
}

std::optional<TVAlign> VAlignOf(std::optional<TAlignment> a)
{
    if (!a)
        return std::nullopt;
    switch (*a) {
    case TAlignment::Top:
    case TAlignment::Middle:
    case TAlignment::Baseline:
    case TAlignment::Bottom:
    case TAlignment::Sub:
    case TAlignment::Super:
        return TVAlign(uint8_t(*a));
    default:
        return std::nullopt;
    }
}

} // namespace

TObjectStyle ObjectStyleOf(const TProperties& p)
{
    TObjectStyle s;
    s.verticalAlign = VAlignOf(p.verticalAlign());
    if (auto f = p.floatValue())
        s.floatKind = *f == TAlignment::Left ? TFloatKind::Left : *f == TAlignment::Right ? TFloatKind::Right
                                                                                          : TFloatKind::None;
    s.title = CodePage::FromUtf16(CodePage::Utf8, p.title());
    const int margins[4] = {piMarginLeft, piMarginRight, piMarginTop, piMarginBottom};
    for (int side = 0; side < 4; ++side)
        s.margins[size_t(side)] = LengthOf(p, margins[side]);
    s.width = LengthOf(p, piWidth);
    s.height = LengthOf(p, piHeight);
    s.hasBorderStyle = p.hasVisibleBorder();
    if (s.hasBorderStyle) {
        const TBlockStyle box = BlockStyleOf(p);
        const TMargArray values = box.boxValues(0, 0);
        for (size_t side = 0; side < 4; ++side) {
            s.borderWidths[side] = std::max(0, values[BoxBorderTop + int(side)]);
            s.borderColors[side] = TColor(values[BoxBorderTopColor + int(side)]);
        }
        s.borderStyles = box.borderStyles;
    }
    TTextStyle text = TextStyleOf(p);
    s.font = text.font.spec;
    s.color = text.font.color;
    s.background = p.ownBackgroundColor();
    return s;
}
