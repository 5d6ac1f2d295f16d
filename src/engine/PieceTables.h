#pragma once

#include "engine/Grid.h"

#include <array>
#include <cstdint>

namespace vorlix {

struct CellOffset {
    int dx; // toward column 10
    int dy; // toward row 20
};

inline constexpr int KindCount = 7;

// Spawn cells per kind, rows 1..4 and columns 5..7; a kind is only a number, its look comes
// from the picture drawn at spawn.
inline constexpr std::array<std::array<CellPos, 4>, KindCount> SpawnCells{{
    {{{5, 1}, {5, 2}, {5, 3}, {5, 4}}}, // 1  # / # / # / #
    {{{5, 1}, {5, 2}, {6, 1}, {6, 2}}}, // 2  ## / ##
    {{{5, 1}, {5, 2}, {5, 3}, {6, 3}}}, // 3  #. / #. / ##
    {{{6, 1}, {6, 2}, {6, 3}, {5, 3}}}, // 4  .# / .# / ##
    {{{6, 1}, {5, 2}, {6, 2}, {7, 2}}}, // 5  .#. / ###
    {{{5, 1}, {5, 2}, {6, 2}, {6, 3}}}, // 6  #. / ## / .#
    {{{6, 1}, {6, 2}, {5, 2}, {5, 3}}}, // 7  .# / ## / #.
}};

// A turn is refused when the pivot (px, py) lies outside these bounds.
struct TurnBounds {
    int minColumn;
    int maxColumn;
    int maxRow;
};

// One quarter turn (clockwise with row 1 at the top). The pivot is the Kth piece cell in
// reading order (rows 1..20, columns 1..10 within a row); Cells[0] is always the pivot itself.
struct TurnRule {
    std::uint8_t Kind;
    std::uint8_t From;
    int K;
    std::array<CellOffset, 4> Cells;
    TurnBounds Bounds;
    std::uint8_t To;
};

// The bar turns upright only in columns 3..8 although 9 would fit; kept as the game has it.
inline constexpr std::array<TurnRule, 18> TurnRules{{
    //  kind from K   new cells relative to the pivot          bounds         to    shape after
    {1, 0, 2, {{{0, 0}, {+1, 0}, {-1, 0}, {-2, 0}}}, {3, 8, 20}, 1},   // ####
    {1, 1, 3, {{{0, 0}, {0, +1}, {0, +2}, {0, -1}}}, {1, 10, 18}, 0},  // # / # / # / #
    {3, 0, 2, {{{0, 0}, {+1, 0}, {-1, 0}, {-1, +1}}}, {2, 9, 19}, 1},  // ### / #..
    {3, 1, 2, {{{0, 0}, {0, +1}, {0, -1}, {-1, -1}}}, {1, 10, 19}, 2}, // ## / .# / .#
    {3, 2, 3, {{{0, 0}, {+1, 0}, {+1, -1}, {-1, 0}}}, {2, 9, 19}, 3},  // ..# / ###
    {3, 3, 3, {{{0, 0}, {0, -1}, {0, +1}, {+1, +1}}}, {1, 10, 19}, 0}, // #. / #. / ##
    {4, 0, 2, {{{0, 0}, {+1, 0}, {-1, 0}, {-1, -1}}}, {2, 9, 19}, 1},  // #.. / ###
    {4, 1, 3, {{{0, 0}, {0, +1}, {0, -1}, {+1, -1}}}, {1, 10, 19}, 2}, // ## / #. / #.
    {4, 2, 3, {{{0, 0}, {+1, 0}, {+1, +1}, {-1, 0}}}, {2, 9, 19}, 3},  // ### / ..#
    {4, 3, 2, {{{0, 0}, {0, -1}, {0, +1}, {-1, +1}}}, {1, 10, 19}, 0}, // .# / .# / ##
    {5, 0, 3, {{{0, 0}, {+1, 0}, {0, +1}, {0, -1}}}, {1, 10, 19}, 1},  // #. / ## / #.
    {5, 1, 2, {{{0, 0}, {0, +1}, {+1, 0}, {-1, 0}}}, {2, 9, 19}, 2},   // ### / .#.
    {5, 2, 2, {{{0, 0}, {-1, 0}, {0, -1}, {0, +1}}}, {1, 10, 19}, 3},  // .# / ## / .#
    {5, 3, 3, {{{0, 0}, {0, -1}, {+1, 0}, {-1, 0}}}, {2, 9, 19}, 0},   // .#. / ###
    {6, 0, 3, {{{0, 0}, {0, -1}, {+1, -1}, {-1, 0}}}, {1, 9, 19}, 1},  // .## / ##.
    {6, 1, 4, {{{0, 0}, {0, +1}, {-1, 0}, {-1, -1}}}, {1, 10, 19}, 0}, // #. / ## / .#
    {7, 0, 3, {{{0, 0}, {+1, 0}, {0, -1}, {-1, -1}}}, {1, 9, 19}, 1},  // ##. / .##
    {7, 1, 3, {{{0, 0}, {0, -1}, {-1, 0}, {-1, +1}}}, {1, 10, 19}, 0}, // .# / ## / #.
}};

// The rule for turning kind from rotation state `from`, or nullptr for the square, which has
// no turn (and for a kind or state outside the table).
constexpr const TurnRule *FindTurnRule(int kind, int from)
{
    for (const TurnRule &rule : TurnRules)
        if (rule.Kind == kind && rule.From == from)
            return &rule;
    return nullptr;
}

} // namespace vorlix
