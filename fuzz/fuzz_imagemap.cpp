// Image map areas from hostile SHAPE and COORDS texts, then lookups over a
// grid: reading and hit testing must stay bounded and defined.
#include <cstddef>
#include <cstdint>
#include <string>

#include "html/layout/TMapItem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    TMapItem map("fuzz");
    // Each line is one AREA: "shape|coords".
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        size_t bar = line.find('|');
        TAttributeList attrs;
        attrs.Add(TAttribute(ShapeSy, 0, "SHAPE", line.substr(0, bar)));
        attrs.Add(TAttribute(CoordsSy, 0, "COORDS", bar == std::string::npos ? line : line.substr(bar + 1)));
        attrs.Add(TAttribute(HrefSy, 0, "HREF", "x"));
        map.AddArea(attrs);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    std::string href, target, title;
    for (int y = -2000000000; y < 2000000000; y += 400000000)
        for (int x = -2000000000; x < 2000000000; x += 400000000)
            map.GetURL(x, y, href, target, title);
    for (int y = -5; y < 50; y += 7)
        for (int x = -5; x < 50; x += 7)
            map.GetURL(x, y, href, target, title);
    return 0;
}
