#include "html/layout/TMapItem.h"

#include <algorithm>

#include "html/layout/ObjectAttributes.h"

namespace {

bool IsSeparator(char c) { return c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool InPolygon(const std::vector<int>& c, int x, int y)
{
    // Even-odd rule over the pairs; a trailing odd number is ignored.
    size_t n = c.size() / 2;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        long long xi = c[2 * i], yi = c[2 * i + 1], xj = c[2 * j], yj = c[2 * j + 1];
        if ((yi > y) != (yj > y)) {
            // x < xi + (y - yi) * (xj - xi) / (yj - yi), without division.
            long long lhs = (x - xi) * (yj - yi);
            long long rhs = (y - yi) * (xj - xi);
            if (yj - yi > 0 ? lhs < rhs : lhs > rhs)
                inside = !inside;
        }
    }
    return inside;
}

} // namespace

bool TMapArea::Contains(int x, int y) const
{
    switch (shape) {
    case TAreaShape::Rect:
        return x >= coords[0] && x <= coords[2] && y >= coords[1] && y <= coords[3];
    case TAreaShape::Circle: {
        long long dx = (long long)x - coords[0], dy = (long long)y - coords[1], r = coords[2];
        return dx * dx + dy * dy <= r * r;
    }
    case TAreaShape::Poly:
        return InPolygon(coords, x, y);
    }
    return false;
}

TMapItem::TMapItem(std::string name) : FName(UpperTrim(name)) {}

std::vector<int> TMapItem::ParseCoords(std::string_view text)
{
    std::vector<int> numbers;
    size_t i = 0;
    while (i < text.size() && numbers.size() < MaxCoords) {
        while (i < text.size() && IsSeparator(text[i]))
            ++i;
        if (i >= text.size())
            break;
        size_t start = i;
        while (i < text.size() && !IsSeparator(text[i]))
            ++i;
        int n = LeadingInt(text.substr(start, i - start)).value_or(0);
        numbers.push_back(std::clamp(n, -MaxCoordinate, MaxCoordinate));
    }
    return numbers;
}

void TMapItem::AddArea(const TAttributeList& attrs)
{
    TMapArea area;
    std::string shape = LowerText(AttrText(attrs, ShapeSy)).substr(0, 4);
    area.shape = shape == "circ" ? TAreaShape::Circle : shape == "poly" ? TAreaShape::Poly : TAreaShape::Rect;
    area.coords = ParseCoords(AttrText(attrs, CoordsSy));
    size_t needed = area.shape == TAreaShape::Rect ? 4 : area.shape == TAreaShape::Circle ? 3 : 6;
    if (area.coords.size() < needed)
        return;
    area.href = HasAttr(attrs, NoHrefSy) ? std::string() : AttrText(attrs, HrefSy);
    area.target = AttrText(attrs, TargetSy);
    area.title = AttrText(attrs, TitleSy);
    FAreas.push_back(std::move(area));
}

bool TMapItem::GetURL(int x, int y, std::string& href, std::string& target, std::string& title) const
{
    for (const TMapArea& area : FAreas)
        if (area.Contains(x, y)) {
            if (area.href.empty())
                return false;
            href = area.href;
            target = area.target;
            title = area.title;
            return true;
        }
    return false;
}
