// The box-tree dump of sample pages at width 800 on the fixed-metrics canvas,
// compared with the golden files in tests/render/golden/. After an intended
// layout change, run the test with QUILLON_REBASELINE=1 to rewrite them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "gfx/TFixedCanvas.h"
#include "html/layout/TSectionList.h"
#include "html/build/DocumentBuilder.h"
#include "html/style/StyleValues.h"

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string DumpOf(const std::string& file, int width)
{
    TFixedCanvas canvas;
    SetStyleScreen(&canvas);
    TSectionList doc;
    TStyleList styles;
    std::string text = ReadAll(std::string(QUILLON_SOURCE_DIR) + "/sample/" + file);
    if (file.size() > 4 && file.substr(file.size() - 4) == ".txt") {
        HtmlParseTextString(text, doc, styles, THtmlParseSettings{});
    } else {
        THtmlParseEvents events;
        events.HtmlToFileName = [](const std::string& name) { return std::string(QUILLON_SOURCE_DIR) + "/sample/" + name; };
        HtmlParseString(text, doc, styles, THtmlParseSettings{}, events);
    }
    int maxWidth = 0;
    doc.LayOut(canvas, 0, width, 600, maxWidth);
    SetStyleScreen(nullptr);
    return doc.Dump();
}

class GoldenDump : public ::testing::TestWithParam<const char*> {};

TEST_P(GoldenDump, MatchesTheGoldenFile)
{
    std::string file = GetParam();
    std::string golden = std::string(QUILLON_SOURCE_DIR) + "/tests/render/golden/" + file + ".txt";
    std::string dump = DumpOf(file, 800);
    ASSERT_FALSE(dump.empty());
    if (const char* rebase = std::getenv("QUILLON_REBASELINE"); rebase && std::string(rebase) == "1") {
        std::ofstream(golden, std::ios::binary) << dump;
        GTEST_SKIP() << "rewrote " << golden;
    }
    std::string expected = ReadAll(golden);
    ASSERT_FALSE(expected.empty()) << "no golden file " << golden << " (run with QUILLON_REBASELINE=1)";
    EXPECT_EQ(dump, expected);
}

INSTANTIATE_TEST_SUITE_P(SamplePages, GoldenDump,
                         ::testing::Values("layouts.htm", "VISITING.HTM", "lantern.htm", "typeset.htm", "readme.txt"),
                         [](const auto& info) {
                             std::string n = info.param;
                             for (char& c : n)
                                 if (!isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return n;
                         });

TEST(GoldenDumpStability, TwoLayoutsGiveTheSameDump)
{
    EXPECT_EQ(DumpOf("layouts.htm", 640), DumpOf("layouts.htm", 640));
}

} // namespace
