#pragma once
// Attribute lists, pictures and documents for the image and form tests.
#include <initializer_list>
#include <string>
#include <utility>

#include "../images/GifBuilder.h"
#include "../layout/LayoutTestSupport.h"
#include "html/layout/TMapItem.h"
#include "html/layout/TDocumentObjects.h"
#include "html/layout/TImageObj.h"
#include "html/parse/TAttributeList.h"

namespace objecttest {

inline GifBuilder::Image GifFrame(int width, int height, std::vector<uint8_t> indices)
{
    GifBuilder::Image image;
    image.width = width;
    image.height = height;
    image.indices = std::move(indices);
    return image;
}

inline TAttributeList Attrs(std::initializer_list<std::pair<THtmlSymbol, std::string>> list)
{
    TAttributeList attrs;
    for (const auto& [which, text] : list) {
        int value = 0;
        try {
            value = std::stoi(text);
        } catch (...) {
        }
        attrs.Add(TAttribute(which, value, "", text));
    }
    return attrs;
}

// A document whose host hands out plain bitmaps of the sizes given in the
// names ("100x40"), counting the requests.
struct PictureDoc : layouttest::Doc {
    int requests = 0;
    PictureDoc()
    {
        doc.Objects.Host.bitmapRequest = [this](const std::string& name, TBitmap& bitmap, TColor& color) {
            ++requests;
            color = ClNone;
            size_t x = name.find('x');
            if (x == std::string::npos)
                return false;
            bitmap = TBitmap(std::stoi(name.substr(0, x)), std::stoi(name.substr(x + 1)), 0xFF336699u);
            return true;
        };
    }
    TImageObj* AddImage(TCellBasic& cell, const TAttributeList& attrs, const TLinkInfo* link = nullptr)
    {
        auto section = std::make_unique<TSection>(doc, layouttest::Text(), link);
        auto img = std::make_unique<TImageObj>(doc, attrs);
        TImageObj* raw = img.get();
        section->AddImage(std::move(img), 0);
        cell.AddSection(std::move(section));
        return raw;
    }
};

} // namespace objecttest
