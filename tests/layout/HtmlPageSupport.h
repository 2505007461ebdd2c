#pragma once
// Pages built from HTML and laid out on the fixed-metrics canvas (every
// character 8 pixels wide, lines 19 high), with the blocks of a class at
// hand and the texts a paint draws.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/TFixedCanvas.h"
#include "html/build/DocumentBuilder.h"
#include "html/layout/TBlock.h"
#include "html/layout/TSectionList.h"
#include "html/style/StyleValues.h"
#include "html/style/TStyleList.h"

namespace pagetest {

struct Page {
    TFixedCanvas canvas;
    TSectionList doc;
    TStyleList styles;
    int maxWidth = 0;
    int height = 0;

    explicit Page(const std::string& html, int width = 800, int viewportHeight = 600)
    {
        SetStyleScreen(&canvas);
        HtmlParseString(html, doc, styles, THtmlParseSettings{});
        height = doc.LayOut(canvas, 0, width, viewportHeight, maxWidth);
    }
    ~Page() { SetStyleScreen(nullptr); }

    // Every block of the class, in document order.
    std::vector<TBlock*> Blocks(const std::string& className)
    {
        std::vector<TBlock*> found;
        Collect(doc, className, found);
        return found;
    }
    TBlock& Only(const std::string& className)
    {
        std::vector<TBlock*> found = Blocks(className);
        EXPECT_EQ(found.size(), 1u) << className;
        static TBlock* none = nullptr;
        return found.empty() ? *none : *found[0];
    }
    // The texts painted in the window band [0, 600) scrolled to yOffset,
    // with the window rectangle of each.
    std::vector<TDrawCall> PaintTexts(int yOffset = 0)
    {
        canvas.clearCalls();
        TPaintContext pc{canvas, {0, 0, 800, 600}};
        pc.yOffset = yOffset;
        doc.ScrollTo(yOffset);
        doc.PaintDocument(pc, 0);
        std::vector<TDrawCall> texts;
        for (const TDrawCall& c : canvas.calls())
            if (c.kind == TDrawKind::Text)
                texts.push_back(c);
        return texts;
    }
    const TDrawCall* Painted(const std::u16string& text, int yOffset = 0)
    {
        static std::vector<TDrawCall> last;
        last = PaintTexts(yOffset);
        for (const TDrawCall& c : last)
            if (c.text.find(text) != std::u16string::npos)
                return &c;
        return nullptr;
    }

private:
    static void Collect(TCellBasic& cell, const std::string& className, std::vector<TBlock*>& found)
    {
        for (auto& s : cell.Sections)
            if (auto* b = dynamic_cast<TBlock*>(s.get())) {
                if (b->Style().className == className)
                    found.push_back(b);
                Collect(b->Content(), className, found);
            }
    }
};

constexpr char Reset[] = "<body marginwidth=0 marginheight=0>";

// Content box height plus the bottom border, padding and margin.
inline int OwnHeight(const TBlock& b) { return b.ContentBot - b.YValue; }

inline std::string Html(const std::string& body) { return std::string(Reset) + body; }


} // namespace pagetest
