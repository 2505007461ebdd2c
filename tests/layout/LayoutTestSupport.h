#pragma once
// Building small documents through the layout objects' own API and laying
// them out on the fixed-metrics canvas (16-pixel fonts: every character 8
// wide, ideographs 16; text height 19, descent 4).
#include <memory>
#include <string>

#include "gfx/TFixedCanvas.h"
#include "html/layout/TBlock.h"
#include "html/layout/TBodyBlock.h"
#include "html/layout/TFloatingObj.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"

namespace layouttest {

inline TTextStyle Text(int height = 16)
{
    TTextStyle s;
    s.font.spec.height = height;
    return s;
}

// Box values with every margin, padding and border 0 and width auto
// (tests that give a width set autoCount themselves).
inline TMargArray Box()
{
    TMargArray b;
    b[BoxWidth] = BoxAuto;
    b[BoxTop] = BoxAuto;
    b[BoxLeft] = BoxAuto;
    b.autoCount = 1; // the width
    b.topMarginExplicit = true;
    return b;
}

inline TBlockStyle Block(const TMargArray& box, const std::string& tag = "div")
{
    TBlockStyle s;
    s.boxValues = FixedBoxValues(box);
    s.tag = tag;
    return s;
}

struct Doc {
    TFixedCanvas canvas;
    TSectionList doc;
    TCellBasic* body = nullptr;

    Doc()
    {
        auto block = std::make_unique<TBodyBlock>(doc, doc, Block(Box(), "body"));
        body = &block->Content();
        doc.AddSection(std::move(block));
    }

    // A text section with the text (source positions 0, 1, ... from `source`).
    TSection* AddText(TCellBasic& cell, std::u16string_view text, const TTextStyle& style = Text(), int source = 0)
    {
        auto s = std::make_unique<TSection>(doc, style);
        Fill(*s, text, source);
        TSection* raw = s.get();
        cell.AddSection(std::move(s));
        return !cell.Sections.empty() && cell.Sections.back().get() == raw ? raw : nullptr;
    }
    static void Fill(TSection& s, std::u16string_view text, int source)
    {
        std::vector<int> idx(text.size());
        for (size_t i = 0; i < idx.size(); ++i)
            idx[i] = source + int(i);
        s.AddText(text, idx);
    }
    template <typename T = TBlock, typename... Args>
    T* AddBlock(TCellBasic& cell, const TBlockStyle& style, Args&&... args)
    {
        auto b = std::make_unique<T>(doc, cell, style, std::forward<Args>(args)...);
        T* raw = b.get();
        cell.BlockTarget().AddSection(std::move(b));
        return raw;
    }
    int Layout(int width)
    {
        int maxWidth = 0;
        return doc.LayOut(canvas, 0, width, 600, maxWidth);
    }
    // Paints the whole document band [0, height) and answers the drawn texts.
    std::u16string Paint(int height = 768)
    {
        canvas.clearCalls();
        TPaintContext pc{canvas, {0, 0, 1024, height}};
        doc.PaintDocument(pc, 0);
        return canvas.drawnText();
    }
};

// A picture of a fixed size standing in the text.
class TestImage : public TFloatingObj {
public:
    TestImage(int w, int h, TVAlign align = TVAlign::Bottom, TFloatKind kind = TFloatKind::None)
    {
        ObjWidth = w;
        ObjHeight = h;
        VertAlign = align;
        FloatKind = kind;
    }
    std::unique_ptr<TFloatingObj> Clone(TSectionList&) const override
    {
        return std::make_unique<TestImage>(ObjWidth, ObjHeight, VertAlign, FloatKind);
    }
};

} // namespace layouttest
