#pragma once

#include "engine/GameState.h"

#include <string>
#include <vector>

namespace vorlix::test {

// Layers drawn as text, row 1 first, one string for each row that holds anything: its number
// and its ten cells, as in "20 ####.#####": '#' a settled block, '@' a piece cell, '&' both,
// '.' neither. A screen reads the same way ('*' the level flash, ' ' black), its rows of
// blank cells left out.
using Rows = std::vector<std::string>;

inline void Draw(Grid *pit, Grid *piece, const Rows &rows)
{
    for (const std::string &row : rows) {
        const std::size_t space = row.find(' ');
        const int y = std::stoi(row.substr(0, space));
        for (int x = 1; x <= PitWidth; ++x) {
            const char c = row.at(space + static_cast<std::size_t>(x));
            if (pit)
                pit->set(x, y, c == '#' || c == '&');
            if (piece)
                piece->set(x, y, c == '@' || c == '&');
        }
    }
}

inline Grid PitOf(const Rows &rows)
{
    Grid pit;
    Draw(&pit, nullptr, rows);
    return pit;
}

// The pit and the piece of a player, from one drawing.
inline void Place(PlayerState &p, const Rows &rows)
{
    p.Pit.clear();
    p.Piece.clear();
    Draw(&p.Pit, &p.Piece, rows);
}

// The bottom `n` rows full.
inline Grid FullRows(int n)
{
    Grid grid;
    for (int y = PitHeight - n + 1; y <= PitHeight; ++y)
        for (int x = 1; x <= PitWidth; ++x)
            grid.set(x, y, true);
    return grid;
}

inline Rows Drawn(const Grid &pit, const Grid &piece = {})
{
    Rows rows;
    for (int y = 1; y <= PitHeight; ++y) {
        std::string cells;
        for (int x = 1; x <= PitWidth; ++x)
            cells += ".@#&"[(pit.at(x, y) ? 2 : 0) + (piece.at(x, y) ? 1 : 0)];
        if (cells != std::string(PitWidth, '.'))
            rows.push_back(std::to_string(y) + " " + cells);
    }
    return rows;
}

inline Rows Drawn(const PlayerState &p) { return Drawn(p.Pit, p.Piece); }

inline Rows Shown(const std::vector<std::string> &screen)
{
    Rows rows;
    for (int y = 1; y <= PitHeight; ++y)
        if (screen[static_cast<std::size_t>(y - 1)] != std::string(PitWidth, '.'))
            rows.push_back(std::to_string(y) + " " + screen[static_cast<std::size_t>(y - 1)]);
    return rows;
}

} // namespace vorlix::test
