#pragma once
// Collapsed table borders (border-collapse: collapse): neighbouring cells
// share one border on their common edge, chosen by the conflict rules of
// CSS 2.1 (17.6.2.1), and the cells stand without spacing between them.
#include <array>
#include <vector>

#include "html/layout/LayoutTypes.h"

// One side of a cell's border.
struct TBorderSide {
    int width = 0;
    TBorderKind style = TBorderKind::None;
    TColor color = ClNone;
    friend bool operator==(const TBorderSide&, const TBorderSide&) = default;
};
using TCellSides = std::array<TBorderSide, 4>; // top, right, bottom, left

// The border a shared edge shows of two: a side without style loses, the
// wider wins, then the style that ranks higher (double, solid, dashed,
// dotted, ridge, outset, groove, inset); on a full tie the first (the cell
// above, or to the left).
const TBorderSide& WinningBorder(const TBorderSide& first, const TBorderSide& second);

// Settles the sides of every cell of a table's grid (rows of cells with
// empty slots where spans reach): each cell draws its top and left edges
// with the winner against its neighbour there, and its bottom and right
// edges only where no cell follows (a neighbour draws the shared one).
// ownSides answers a cell's own four sides. The table's own border (outer)
// takes part at the edges of the grid, where a cell wins a full tie.
template <typename Cell, typename OwnSides, typename Settle>
void CollapseGridBorders(const std::vector<std::vector<Cell*>>& grid, OwnSides ownSides, Settle settle,
                         const TCellSides& outer = {})
{
    const size_t rows = grid.size();
    auto at = [&](size_t r, size_t c) -> Cell* { return r < rows && c < grid[r].size() ? grid[r][c] : nullptr; };
    for (size_t r = 0; r < rows; ++r)
        for (size_t c = 0; c < grid[r].size(); ++c) {
            Cell* cell = grid[r][c];
            // A cell is settled once, at its top left slot.
            if (!cell || at(r ? r - 1 : rows, c) == cell || (c && at(r, c - 1) == cell))
                continue;
            size_t lastRow = r, lastCol = c;
            while (at(lastRow + 1, c) == cell)
                ++lastRow;
            while (at(r, lastCol + 1) == cell)
                ++lastCol;
            TCellSides sides = ownSides(*cell);
            if (Cell* above = r ? at(r - 1, c) : nullptr)
                sides[0] = WinningBorder(ownSides(*above)[2], sides[0]);
            else if (r == 0)
                sides[0] = WinningBorder(sides[0], outer[0]);
            if (Cell* left = c ? at(r, c - 1) : nullptr)
                sides[3] = WinningBorder(ownSides(*left)[1], sides[3]);
            else if (c == 0)
                sides[3] = WinningBorder(sides[3], outer[3]);
            if (at(r, lastCol + 1))
                sides[1] = TBorderSide{};
            else if (lastCol + 1 >= grid[r].size())
                sides[1] = WinningBorder(sides[1], outer[1]);
            if (at(lastRow + 1, c))
                sides[2] = TBorderSide{};
            else if (lastRow + 1 >= rows)
                sides[2] = WinningBorder(sides[2], outer[2]);
            settle(*cell, sides);
        }
}
