#pragma once

#include <array>
#include <cstdint>

namespace vorlix {

inline constexpr int PitWidth = 10;  // columns x = 1..10, from the left
inline constexpr int PitHeight = 20; // rows y = 1..20, row 1 is the entry row

// One 10 x 20 layer of cells (0 empty, 1 set), stored column by column.
class Grid {
public:
    static constexpr bool Inside(int x, int y) { return x >= 1 && x <= PitWidth && y >= 1 && y <= PitHeight; }
    static constexpr int Index(int x, int y) { return PitHeight * (x - 1) + (y - 1); }

    // Cells outside the pit read as set, so every collision test treats the walls and the
    // floor as blocked (and row 21 never aliases the next column's row 1).
    bool at(int x, int y) const { return !Inside(x, y) || cells_[Index(x, y)] != 0; }
    // For loops that stay inside the pit: no range test.
    bool atInside(int x, int y) const { return cells_[Index(x, y)] != 0; }
    // Writes outside the pit are ignored.
    void set(int x, int y, bool value)
    {
        if (Inside(x, y))
            cells_[Index(x, y)] = value ? 1 : 0;
    }
    void clear() { cells_.fill(0); }
    int count() const
    {
        int n = 0;
        for (auto c : cells_)
            n += c;
        return n;
    }
    const std::array<std::uint8_t, PitWidth * PitHeight> &bytes() const { return cells_; }
    bool operator==(const Grid &) const = default;

private:
    std::array<std::uint8_t, PitWidth * PitHeight> cells_{};
};

} // namespace vorlix
