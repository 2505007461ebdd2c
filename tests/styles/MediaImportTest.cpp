// @media queries evaluated against the width a document is laid out at (and
// the printed page), and @import: relative to the importing sheet, with
// media lists, and loops and depth cut short.
#include <map>

#include "StyleTestSupport.h"
#include "html/style/MediaQueries.h"

namespace {

constexpr int Red = int(RGBColor(255, 0, 0) | ClPaletteFlag);
constexpr int Green = int(RGBColor(0, 255, 0) | ClPaletteFlag);

TMediaContext Screen(int width) { return TMediaContext{width, 600, false, 16}; }

TEST(MediaQueries, WidthFeaturesReadTheLayoutWidth)
{
    struct Case {
        std::string_view list;
        int width;
        bool applies;
    };
    const Case cases[] = {
        {"screen and (min-width: 768px)", 800, true},
        {"screen and (min-width: 768px)", 700, false},
        {"(max-width: 40em)", 640, true},
        {"(max-width: 40em)", 641, false},
        {"only screen and (min-width:600px) and (max-width:900px)", 800, true},
        {"(min-width: 600px) and (max-width: 700px)", 800, false},
        {"print and (min-width: 100px)", 800, false},
        {"not print", 800, true},
        {"not screen and (min-width: 100px)", 800, false},
        {"(width >= 800px)", 800, true},
        {"(400px < width)", 300, false},
        {"(orientation: landscape)", 800, true},
        {"(prefers-color-scheme: dark)", 800, false},
        {"(prefers-color-scheme: light), print", 800, true},
        {"(min-width: 10furlongs)", 800, false},
        {"screen and (hover: hover)", 800, false},
        {"(max-width: 600px), (min-width: 1000px)", 1200, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EvaluateMediaList(c.list, Screen(c.width)).applies, c.applies) << c.list << " at " << c.width;
    EXPECT_TRUE(EvaluateMediaList("screen and (max-width: 600px)", Screen(800)).widthDependent);
    EXPECT_FALSE(EvaluateMediaList("screen, print", Screen(800)).widthDependent);
    TMediaContext page = Screen(700);
    page.print = true;
    EXPECT_TRUE(EvaluateMediaList("print and (max-width: 800px)", page).applies);
    EXPECT_FALSE(EvaluateMediaList("screen", page).applies);
}

class MediaSheetTest : public StyleTest {
protected:
    void layOutAt(int width, bool print = false)
    {
        TStyleDefaults defaults;
        defaults.viewportWidth = width;
        defaults.print = print;
        styles.initializeDefaults(defaults);
    }
};

TEST_F(MediaSheetTest, MediaBlocksApplyAtTheirWidths)
{
    const char* css = "nav { color: #ff0000 }\n"
                      "@media screen and (max-width: 767px) { nav { display: none } }\n"
                      "@media (min-width:768px) { nav { color: #00ff00 } @media print { nav { color: #0000ff } } }\n";
    layOutAt(1024);
    sheet(css);
    TProperties& wide = push("nav");
    EXPECT_EQ(IntOf(wide[piColor]), Green);
    EXPECT_FALSE(wide.displayNone());
    EXPECT_TRUE(styles.widthDependent());
    EXPECT_TRUE(styles.mediaChangesAt(500));
    EXPECT_FALSE(styles.mediaChangesAt(900));

    layOutAt(500);
    sheet(css);
    TProperties& narrow = push("nav");
    EXPECT_EQ(IntOf(narrow[piColor]), Red);
    EXPECT_TRUE(narrow.displayNone());

    layOutAt(1024, true);
    sheet(css);
    EXPECT_EQ(IntOf(push("nav")[piColor]), int(RGBColor(0, 0, 255) | ClPaletteFlag)); // the printed page
    layOutAt(200);
    sheet("p { color: #ff0000 }");
    EXPECT_FALSE(styles.widthDependent());
}

class ImportTest : public StyleTest {
protected:
    std::map<std::string, std::string> files;
    std::vector<std::string> asked;
    TSheetLoader loader()
    {
        return [this](const std::string& name, std::string& text, std::string& basePath) {
            asked.push_back(name);
            auto found = files.find(name);
            if (found == files.end())
                return false;
            text = found->second;
            basePath = name.substr(0, name.rfind('/') + 1);
            return true;
        };
    }
};

TEST_F(ImportTest, ImportsAreReadInPlaceRelativeToTheImportingSheet)
{
    files["/doc/_static/basic.css"] = "p { color: #ff0000; font-weight: bold }";
    files["/doc/_static/theme.css"] = "@import url(\"basic.css\");\n@import 'print.css' print;\np { color: #00ff00 }";
    files["/doc/_static/print.css"] = "p { text-align: center }";
    ParseStyleSheetText(styles, files["/doc/_static/theme.css"], "/doc/_static/", loader(), "/doc/_static/theme.css");
    TProperties& p = push("p");
    EXPECT_EQ(IntOf(p[piColor]), Green); // the importing sheet's rules come after
    EXPECT_EQ(TextOf(p[piFontWeight]), "bold");
    EXPECT_NE(TextOf(p[piTextAlign]), "center");
    EXPECT_EQ(asked, std::vector<std::string>{"/doc/_static/basic.css"});
}

TEST_F(ImportTest, LoopsAndLateImportsAreLeftOut)
{
    files["/a/one.css"] = "@import url(two.css); h1 { color: #ff0000 }";
    files["/a/two.css"] = "@import url(one.css); @import url(sub/three.css); h2 { color: #ff0000 }";
    files["/a/sub/three.css"] = "@import url(three.css); @import url(../one.css); h3 { color: #ff0000 }";
    files["/a/late.css"] = "h4 { color: #ff0000 }";
    ParseStyleSheetText(styles, "@import url(/a/one.css); h5 { color: #00ff00 } @import url(/a/late.css);", "",
                        loader(), "page");
    EXPECT_EQ(IntOf(push("h1")[piColor]), Red);
    EXPECT_EQ(IntOf(push("h3")[piColor]), Red);
    EXPECT_EQ(IntOf(push("h5")[piColor]), Green);
    EXPECT_NE(IntOf(push("h4")[piColor]), Red);
    // Each sheet is asked for once per chain: the loops end at once.
    EXPECT_EQ(asked, (std::vector<std::string>{"/a/one.css", "/a/two.css", "/a/sub/three.css"}));
}

TEST_F(ImportTest, ADeepChainIsCut)
{
    for (int i = 0; i < 100; ++i)
        files["/d/" + std::to_string(i) + ".css"] = "@import url(" + std::to_string(i + 1) + ".css); p { color: #ff0000 }";
    ParseStyleSheetText(styles, "@import url(/d/0.css);", "", loader());
    EXPECT_LE(asked.size(), 10u);
    EXPECT_EQ(IntOf(push("p")[piColor]), Red);
}

} // namespace
