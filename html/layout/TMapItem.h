#pragma once
// One client-side image map (the MAP element) and its areas. The builder
// creates it with TDocumentObjects::AddMap(NAME) and calls AddArea for each
// AREA inside it.
#include <string>
#include <vector>

#include "html/parse/TAttributeList.h"

enum class TAreaShape : uint8_t { Rect, Circle, Poly };

struct TMapArea {
    TAreaShape shape = TAreaShape::Rect;
    std::vector<int> coords;
    std::string href;   // empty: the area answers nothing (NOHREF)
    std::string target;
    std::string title;
    bool Contains(int x, int y) const;
};

class TMapItem {
public:
    static constexpr size_t MaxCoords = 301;
    // Coordinates are kept within this, so area tests cannot overflow.
    static constexpr int MaxCoordinate = 1000000;

    explicit TMapItem(std::string name);
    // Reads SHAPE, COORDS, HREF, TARGET, TITLE and NOHREF; an area with too
    // few numbers for its shape is ignored.
    void AddArea(const TAttributeList& attrs);
    // The first area holding the point; false when none does or when that
    // area has no HREF.
    bool GetURL(int x, int y, std::string& href, std::string& target, std::string& title) const;

    // COORDS split at commas and spaces into at most MaxCoords numbers.
    static std::vector<int> ParseCoords(std::string_view text);

    const std::string& MapName() const { return FName; }
    const std::vector<TMapArea>& Areas() const { return FAreas; }

private:
    std::string FName;
    std::vector<TMapArea> FAreas;
};
