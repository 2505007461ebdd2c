#pragma once
// Shared set-up for the style tests: the test canvas as the screen, a style
// list with the default sheet, and a property stack that pushes sets the way
// the document builder does.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "StyleTestCanvas.h"
#include "html/style/StyleSheetParser.h"
#include "html/style/TProperties.h"
#include "html/style/TStyleList.h"

class StyleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetStyleScreen(&canvas);
        TStyleDefaults defaults;
        defaults.textColor = 0x000000;
        defaults.linkColor = RGBColor(0, 0, 255);
        defaults.visitedColor = RGBColor(128, 0, 128);
        defaults.hoverColor = RGBColor(255, 0, 0);
        styles.initializeDefaults(defaults);
        sets.push_back(std::make_unique<TProperties>());
        sets.back()->copyDefaultsFrom(*styles.defaultProperties());
    }
    void TearDown() override { SetStyleScreen(nullptr); }

    // Pushes a set for an element, as the builder does when it opens one.
    TProperties& push(const std::string& tag, const std::string& cls = "", const std::string& id = "",
                      const std::string& styleAttribute = "", const std::string& pseudo = "")
    {
        std::vector<const TProperties*> below;
        for (const auto& s : sets)
            below.push_back(s.get());
        auto inlineSet = NewInlineStyleProperties(styleAttribute);
        auto set = std::make_unique<TProperties>();
        set->combine(styles, tag, cls, id, styleAttribute.empty() ? nullptr : inlineSet.get(), u"", pseudo, below);
        sets.push_back(std::move(set));
        return *sets.back();
    }

    void sheet(const std::string& text) { ParseStyleSheetText(styles, text); }

    TStyleTestCanvas canvas;
    TStyleList styles;
    std::vector<std::unique_ptr<TProperties>> sets;
};

inline int IntOf(const TPropValue& v)
{
    const int* i = AsInt(v);
    return i ? *i : NotSet - 1;
}
inline double RealOf(const TPropValue& v)
{
    const double* d = AsReal(v);
    return d ? *d : -1;
}
inline std::string TextOf(const TPropValue& v)
{
    const std::string* s = AsText(v);
    return s ? *s : "<not text>";
}
