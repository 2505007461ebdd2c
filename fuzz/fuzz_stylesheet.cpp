// Style sheets and STYLE attributes from arbitrary bytes: the first byte picks
// how the rest is read (STYLE element, loaded sheet with a base path, or
// inline declarations); the rules are then used by the cascade.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "html/style/StyleSheetParser.h"
#include "html/style/TProperties.h"
#include "html/style/TStyleList.h"

namespace {

class FuzzSource : public TStyleSource {
public:
    explicit FuzzSource(std::string_view text) : FText(text) {}
    char next() override { return FPos < FText.size() ? FText[FPos++] : 0; }
    char peek() override { return FPos < FText.size() ? FText[FPos] : 0; }

private:
    std::string_view FText;
    size_t FPos = 0;
};

void UseRules(const TStyleList& styles, const TProperties* inlineSet)
{
    auto base = std::make_unique<TProperties>();
    base->copyDefaultsFrom(*styles.defaultProperties());
    std::vector<std::unique_ptr<TProperties>> stack;
    stack.push_back(std::move(base));
    const char* elements[][4] = {
        {"div", "x", "", ""}, {"p", "note", "top", ""}, {"span", "", "", ""}, {"a", "x", "i", "link"}, {"b", "", "", ""},
    };
    for (auto& e : elements) {
        std::vector<const TProperties*> below;
        for (auto& s : stack)
            below.push_back(s.get());
        auto set = std::make_unique<TProperties>();
        set->combine(styles, e[0], e[1], e[2], inlineSet, u"t", e[3], below);
        set->font();
        set->boxValues(400, 300, 16, 8);
        set->backgroundPosition();
        set->lineHeight(20);
        set->textIndent();
        stack.push_back(std::move(set));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    TStyleList styles;
    styles.initializeDefaults(TStyleDefaults());
    std::unique_ptr<TProperties> inlineSet;
    switch (data[0] % 3) {
    case 0: {
        FuzzSource source(text);
        ParseStyleSheet(styles, '>', source);
        break;
    }
    case 1: {
        // Every @import reads the same text again: loops and deep chains.
        TSheetLoader loader = [text](const std::string& name, std::string& sheet, std::string& basePath) {
            sheet = std::string(text);
            basePath = name.substr(0, name.rfind('/') + 1);
            return true;
        };
        ParseStyleSheetText(styles, text, data[0] & 4 ? "http://host/a/b/" : "/data/css/", loader);
        break;
    }
    default:
        inlineSet = ParsePropertyDeclarations(text);
    }
    UseRules(styles, inlineSet.get());
    return 0;
}
