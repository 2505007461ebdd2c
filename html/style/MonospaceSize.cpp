#include "html/style/MonospaceSize.h"

bool IsDefaultMonospace(const TPropValue& family, std::string_view preFontName)
{
    const std::string* text = AsText(family);
    if (!text)
        return false;
    const std::string_view name = Trim(*text);
    return name == preFontName || LowerCase(name) == "monospace";
}

std::optional<TPropValue> MonospaceDefaultSize(const TMonospaceContext& context, double defaultPoints)
{
    if (context.sizeSetHere || !IsDefaultMonospace(context.family, context.preFontName))
        return std::nullopt;
    if (context.parentFamily && IsDefaultMonospace(*context.parentFamily, context.preFontName))
        return std::nullopt;
    // A block of preformatted text starts from the reader's default size;
    // inline code is smaller than the text around it.
    if (context.tag == "pre")
        return TPropValue(defaultPoints * 10 / 12);
    return TPropValue(std::string("0.833em"));
}
