#pragma once
// Builds documents from HTML through the builder and lays them out on the
// fixed-metrics canvas (12-point text: 16-pixel characters 8 wide).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gfx/TFixedCanvas.h"
#include "html/layout/TBlock.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"
#include "html/layout/TTableAndCaptionBlock.h"
#include "html/layout/TTableBlock.h"
#include "html/build/DocumentBuilder.h"
#include "html/style/StyleValues.h"
#include "util/CodePage.h"

namespace buildtest {

struct Built {
    TFixedCanvas canvas;
    TSectionList doc;
    TStyleList styles;
    THtmlParseResult result;
    int height = 0;

    explicit Built(const std::string& html, int width = 800, const THtmlParseEvents& events = {})
    {
        SetStyleScreen(&canvas);
        result = HtmlParseString(html, doc, styles, THtmlParseSettings{}, events);
        int maxWidth = 0;
        height = doc.LayOut(canvas, 0, width, 600, maxWidth);
    }
    ~Built() { SetStyleScreen(nullptr); }

    std::string Dump() const { return doc.Dump(); }
    std::string Text()
    {
        doc.SelB = 0;
        doc.SelE = 1 << 30;
        return CodePage::FromUtf16(CodePage::Utf8, doc.GetSelText());
    }
};

// Every section below a cell, depth first, in document order.
inline void Walk(const TCellBasic& cell, const std::function<void(TSectionBase&)>& visit)
{
    for (const auto& s : cell.Sections) {
        visit(*s);
        if (auto* b = dynamic_cast<TBlock*>(s.get()))
            Walk(b->Content(), visit);
        if (auto* t = dynamic_cast<ThtmlTable*>(s.get()))
            for (auto& row : t->Rows)
                for (auto& c : row->Cells)
                    if (c)
                        Walk(c->Content(), visit);
    }
}

template <typename T> std::vector<T*> All(const TCellBasic& cell)
{
    std::vector<T*> found;
    Walk(cell, [&](TSectionBase& s) {
        if (auto* t = dynamic_cast<T*>(&s))
            found.push_back(t);
    });
    return found;
}

inline std::string TextOf(const TSection& s) { return CodePage::FromUtf16(CodePage::Utf8, s.Text()); }

// The first text section whose text contains the words.
inline TSection* SectionWith(const TCellBasic& cell, const std::string& words)
{
    for (TSection* s : All<TSection>(cell))
        if (TextOf(*s).find(words) != std::string::npos)
            return s;
    return nullptr;
}

inline std::vector<TBlock*> BlocksTagged(const TCellBasic& cell, const std::string& tag)
{
    std::vector<TBlock*> out;
    for (TBlock* b : All<TBlock>(cell))
        if (b->Style().tag == tag)
            out.push_back(b);
    return out;
}

} // namespace buildtest
