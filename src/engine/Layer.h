#pragma once

#include "engine/Grid.h"

#include <vector>

namespace vorlix {

// Operations on whole layers, shared by moving, falling and row removal.

// The set cells in reading order: rows 1..20, and columns 1..10 within a row.
std::vector<CellPos> CellsInReadingOrder(const Grid &grid);

// True when every set cell of `piece` moved by (dx, dy) lands on an empty cell of `pit`.
// Only the target cells are looked at: a piece may move on over blocks it already overlaps.
bool CanMove(const Grid &piece, const Grid &pit, int dx, int dy);
// `piece` with every set cell moved by (dx, dy); cells leaving the pit are dropped.
Grid Moved(const Grid &piece, int dx, int dy);

// Removes the full rows bottom-first, each time moving the rows above one row toward row 20;
// row 1 keeps its contents. Returns the rows removed, where they were.
Grid RemoveFullRows(Grid &grid);

// Moves every row one row toward row 1 (row 1 is lost) and fills row 20 with blocks except
// in column `hole`.
void PushGarbageRow(Grid &grid, int hole);

} // namespace vorlix
