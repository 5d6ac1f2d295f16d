#include "engine/Layer.h"

namespace vorlix {

bool CanMove(const Grid &piece, const Grid &pit, int dx, int dy)
{
    for (int x = 1; x <= PitWidth; ++x)
        for (int y = 1; y <= PitHeight; ++y)
            if (piece.at(x, y) && pit.at(x + dx, y + dy))
                return false;
    return true;
}

Grid Moved(const Grid &piece, int dx, int dy)
{
    Grid result;
    for (int x = 1; x <= PitWidth; ++x)
        for (int y = 1; y <= PitHeight; ++y)
            if (piece.at(x, y))
                result.set(x + dx, y + dy, true);
    return result;
}

bool RowFull(const Grid &grid, int y)
{
    for (int x = 1; x <= PitWidth; ++x)
        if (!grid.at(x, y))
            return false;
    return true;
}

bool RowEmpty(const Grid &grid, int y)
{
    for (int x = 1; x <= PitWidth; ++x)
        if (grid.at(x, y))
            return false;
    return true;
}

namespace {
void CopyRow(Grid &grid, int to, int from)
{
    for (int x = 1; x <= PitWidth; ++x)
        grid.set(x, to, grid.at(x, from));
}
} // namespace

int RemoveFullRows(Grid &grid)
{
    // Removing one row at a time and rescanning from row 20 ends with the rows that were not
    // full packed toward row 20 in their order, and every row left above them a copy of row 1
    // (row 1 keeps its contents at each removal). Packing gives that result in one sweep, and
    // ends even when row 1 itself is full, where removing row by row would never stop.
    int removed = 0;
    int target = PitHeight;
    for (int y = PitHeight; y >= 1; --y) {
        if (RowFull(grid, y)) {
            ++removed;
            continue;
        }
        if (target != y)
            CopyRow(grid, target, y);
        --target;
    }
    for (int y = target; y >= 2; --y)
        CopyRow(grid, y, 1);
    return removed;
}

void PushGarbageRow(Grid &grid, int hole)
{
    for (int y = 1; y < PitHeight; ++y)
        CopyRow(grid, y, y + 1);
    for (int x = 1; x <= PitWidth; ++x)
        grid.set(x, PitHeight, x != hole);
}

} // namespace vorlix
