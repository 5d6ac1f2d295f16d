#pragma once

#include <array>
#include <cstdint>

namespace vorlix {

inline constexpr int PitWidth = 10;  // columns x = 1..10, from the left
inline constexpr int PitHeight = 20; // rows y = 1..20, row 1 is the entry row

struct CellPos {
    int x;
    int y;
    bool operator==(const CellPos &) const = default;
};

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
    void setInside(int x, int y, bool value) { cells_[Index(x, y)] = static_cast<std::uint8_t>(value); }
    // Writes outside the pit are ignored.
    void set(int x, int y, bool value)
    {
        if (Inside(x, y))
            setInside(x, y, value);
    }
    void clear() { cells_.fill(0); }
    int count() const
    {
        int n = 0;
        for (auto c : cells_)
            n += c;
        return n;
    }
    bool operator==(const Grid &) const = default;

private:
    std::array<std::uint8_t, PitWidth * PitHeight> cells_{};
};

} // namespace vorlix
