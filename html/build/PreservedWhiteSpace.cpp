#include "html/build/PreservedWhiteSpace.h"

#include "html/layout/TSection.h"
#include "html/style/TProperties.h"

namespace {

// A space the section's clean-up keeps and lines never break at.
constexpr char16_t KeptSpace = u'\u00A0';

} // namespace

TWhiteSpace WhiteSpaceOf(const TProperties& props)
{
    const std::string* text = AsText(props[piWhiteSpace]);
    if (!text)
        return TWhiteSpace::Normal;
    const std::string value = LowerCase(Trim(*text));
    if (value == "pre")
        return TWhiteSpace::KeepAll;
    if (value == "pre-wrap" || value == "break-spaces")
        return TWhiteSpace::KeepAllWrapping;
    if (value == "pre-line")
        return TWhiteSpace::KeepLines;
    return TWhiteSpace::Normal;
}

void AddPreservedText(TSection& section, std::u16string_view text, std::span<const int> sourceIndexes,
                      TWhiteSpace mode)
{
    auto sourceOf = [&](size_t i) { return i < sourceIndexes.size() ? sourceIndexes[i] : -1; };
    size_t start = 0;
    auto flush = [&](size_t end) {
        if (end > start)
            section.AddText(text.substr(start, end - start), sourceIndexes.subspan(
                                                                 std::min(start, sourceIndexes.size()),
                                                                 std::min(end, sourceIndexes.size()) -
                                                                     std::min(start, sourceIndexes.size())));
        start = end + 1;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\n') {
            flush(i);
            section.AddChar(BreakChar, sourceOf(i));
        } else if (c == u' ' && mode != TWhiteSpace::KeepLines) {
            const bool lastOfRun = i + 1 == text.size() || text[i + 1] != u' ';
            if (mode == TWhiteSpace::KeepAllWrapping && lastOfRun && i > 0 && text[i - 1] != u'\n')
                continue; // a plain space: the line may break after it
            flush(i);
            section.AddChar(KeptSpace, sourceOf(i));
        }
    }
    flush(text.size());
}
