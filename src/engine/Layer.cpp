#include "engine/Layer.h"

#include <algorithm>

namespace vorlix {

namespace {
void CopyRow(Grid &to, int toRow, const Grid &from, int fromRow)
{
    for (int x = 1; x <= PitWidth; ++x)
        to.setInside(x, toRow, from.atInside(x, fromRow));
}

bool RowFull(const Grid &grid, int y)
{
    for (int x = 1; x <= PitWidth; ++x)
        if (!grid.atInside(x, y))
            return false;
    return true;
}
} // namespace

std::vector<CellPos> CellsInReadingOrder(const Grid &grid)
{
    std::vector<CellPos> cells;
    for (int y = 1; y <= PitHeight; ++y)
        for (int x = 1; x <= PitWidth; ++x)
            if (grid.atInside(x, y))
                cells.push_back({x, y});
    return cells;
}

bool CanMove(const Grid &piece, const Grid &pit, int dx, int dy)
{
    return std::ranges::none_of(CellsInReadingOrder(piece), [&](CellPos c) { return pit.at(c.x + dx, c.y + dy); });
}

Grid Moved(const Grid &piece, int dx, int dy)
{
    Grid result;
    for (CellPos c : CellsInReadingOrder(piece))
        result.set(c.x + dx, c.y + dy, true);
    return result;
}

Grid RemoveFullRows(Grid &grid)
{
    // Removing one row at a time and rescanning from row 20 ends with the rows that were not
    // full packed toward row 20 in their order, and every row left above them a copy of row 1
    // (row 1 keeps its contents at each removal). Packing gives that result in one sweep, and
    // ends even when row 1 itself is full, where removing row by row would never stop.
    Grid packed, full;
    int top = PitHeight;
    for (int y = PitHeight; y >= 1; --y) {
        if (RowFull(grid, y))
            CopyRow(full, y, grid, y);
        else
            CopyRow(packed, top--, grid, y);
    }
    for (int y = 1; y <= top; ++y)
        CopyRow(packed, y, grid, 1);
    grid = packed;
    return full;
}

void PushGarbageRow(Grid &grid, int hole)
{
    for (int y = 1; y < PitHeight; ++y)
        CopyRow(grid, y, grid, y + 1);
    for (int x = 1; x <= PitWidth; ++x)
        grid.setInside(x, PitHeight, x != hole);
}

} // namespace vorlix
