#pragma once

#include "engine/Grid.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorlix::test {

// The last rows of a pit drawn as text, row 20 last: '#' a set cell, '.' an empty one.
inline Grid PitFromRows(std::initializer_list<std::string_view> rows)
{
    Grid grid;
    int y = PitHeight - static_cast<int>(rows.size()) + 1;
    for (std::string_view row : rows) {
        for (int x = 1; x <= PitWidth; ++x)
            grid.set(x, y, row.at(static_cast<std::size_t>(x - 1)) == '#');
        ++y;
    }
    return grid;
}

// Rows given by their number; the rest empty.
using NumberedRows = std::vector<std::pair<int, std::string>>;

inline Grid PitOf(const NumberedRows &rows)
{
    Grid grid;
    for (const auto &[y, row] : rows)
        for (int x = 1; x <= PitWidth; ++x)
            grid.set(x, y, row.at(static_cast<std::size_t>(x - 1)) == '#');
    return grid;
}

// The bottom `n` rows full, the rest empty.
inline Grid FullRows(int n)
{
    Grid grid;
    for (int y = PitHeight - n + 1; y <= PitHeight; ++y)
        for (int x = 1; x <= PitWidth; ++x)
            grid.set(x, y, true);
    return grid;
}

// Rows first..20 of a layer as text.
inline std::vector<std::string> RowsOf(const Grid &grid, int first = 1)
{
    std::vector<std::string> rows;
    for (int y = first; y <= PitHeight; ++y) {
        std::string row;
        for (int x = 1; x <= PitWidth; ++x)
            row += grid.at(x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// The set cells in reading order, as "x,y" pairs.
inline std::vector<std::pair<int, int>> CellsOf(const Grid &grid)
{
    std::vector<std::pair<int, int>> cells;
    for (int y = 1; y <= PitHeight; ++y)
        for (int x = 1; x <= PitWidth; ++x)
            if (grid.at(x, y))
                cells.emplace_back(x, y);
    return cells;
}

} // namespace vorlix::test
