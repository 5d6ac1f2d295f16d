#include "engine/Layer.h"

namespace vorlix {

namespace {
// Visits the set cells of a layer (in storage order, column by column) until f returns false.
template <typename F>
bool EveryCell(const Grid &grid, F f)
{
    const auto &bytes = grid.bytes();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] && !f(static_cast<int>(i) / PitHeight + 1, static_cast<int>(i) % PitHeight + 1))
            return false;
    return true;
}

void CopyRow(Grid &grid, int to, int from)
{
    for (int x = 1; x <= PitWidth; ++x)
        grid.set(x, to, grid.atInside(x, from));
}
} // namespace

bool CanMove(const Grid &piece, const Grid &pit, int dx, int dy)
{
    return EveryCell(piece, [&](int x, int y) { return !pit.at(x + dx, y + dy); });
}

Grid Moved(const Grid &piece, int dx, int dy)
{
    Grid result;
    EveryCell(piece, [&](int x, int y) {
        result.set(x + dx, y + dy, true);
        return true;
    });
    return result;
}

bool RowFull(const Grid &grid, int y)
{
    for (int x = 1; x <= PitWidth; ++x)
        if (!grid.atInside(x, y))
            return false;
    return true;
}

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
