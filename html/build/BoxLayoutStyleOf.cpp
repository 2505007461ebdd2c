#include "html/build/BoxLayoutStyleOf.h"

#include "html/layout/LayoutTypes.h"
#include "html/style/TProperties.h"

namespace {

std::string LowerValue(const TProperties& props, int index)
{
    const std::string* s = AsText(props[index]);
    return s ? LowerCase(Trim(*s)) : std::string();
}

// A length, percentage or keyword; keywords (auto, none) and unreadable
// values leave it unset.
TBoxLength LengthOf(const TProperties& props, int index)
{
    TBoxLength length;
    if (const int* pixels = AsInt(props[index]); pixels && *pixels != NotSet && *pixels != AutoValue) {
        length.value = ClampPixels(*pixels);
        length.set = true;
        return length;
    }
    std::string text = LowerValue(props, index);
    if (text.empty() || text == "auto" || text == "none" || !IsUsableDeclaration(index, text))
        return length;
    length.percent = Contains(text, "%");
    // Percentages in hundredths: "33.3%" keeps its decimal.
    length.value = ClampPixels(LengthToPixels(text, length.percent ? 10000 : 0, 0, props.emSize(), props.exSize()));
    length.set = true;
    return length;
}

TOverflowKind OverflowOf(const std::string& text)
{
    if (text == "hidden" || text == "clip")
        return TOverflowKind::Hidden;
    if (text == "auto" || text == "scroll" || text == "overlay")
        return TOverflowKind::Scroll;
    return TOverflowKind::Visible;
}

} // namespace

std::shared_ptr<const TBoxLayoutStyle> BoxLayoutStyleOf(const TProperties& props)
{
    TBoxLayoutStyle s;
    s.right = LengthOf(props, piRight);
    s.bottom = LengthOf(props, piBottom);
    s.minWidth = LengthOf(props, piMinWidth);
    s.maxWidth = LengthOf(props, piMaxWidth);
    s.minHeight = LengthOf(props, piMinHeight);
    s.maxHeight = LengthOf(props, piMaxHeight);
    s.borderBox = LowerValue(props, piBoxSizing) == "border-box";
    s.fixed = LowerValue(props, piPosition) == "fixed";
    s.overflow = OverflowOf(LowerValue(props, piOverflow));
    if (s.IsDefault())
        return nullptr;
    return std::make_shared<const TBoxLayoutStyle>(s);
}

void ReadTextWrapping(const TProperties& props, bool inPre, TTextStyle& style)
{
    // Most text has neither property: no string is made for it.
    if (AsText(props[piWhiteSpace])) {
        std::string whiteSpace = LowerValue(props, piWhiteSpace);
        if (inPre)
            style.wrapsPreformatted = whiteSpace == "pre-wrap" || whiteSpace == "pre-line" || whiteSpace == "normal" ||
                                      whiteSpace == "break-spaces";
        else
            style.noWrap = whiteSpace == "nowrap" || whiteSpace == "pre";
    }
    if (AsText(props[piOverflowWrap])) {
        std::string wrap = LowerValue(props, piOverflowWrap);
        style.breakWord = wrap == "break-word" || wrap == "anywhere";
    }
}
