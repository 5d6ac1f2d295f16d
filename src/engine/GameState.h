#pragma once

#include "engine/Grid.h"

#include <array>
#include <cstdint>

namespace vorlix {

// 32-bit linear congruential generator; a whole game replays from its seed.
class Random {
public:
    void Seed(std::uint32_t seed) { seed_ = seed; }
    // An integer in 0 .. n-1.
    std::uint32_t operator()(std::uint32_t n)
    {
        seed_ = seed_ * 134775813u + 1u;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed_) * n) >> 32);
    }

private:
    std::uint32_t seed_ = 0;
};

struct PlayerState {
    Grid Piece; // the falling piece: exactly four cells while a game runs
    Grid Pit;   // settled blocks
    std::uint8_t Kind = 0;     // 1..7
    std::uint8_t NextKind = 0; // 1..7
    std::uint8_t Rotation = 0; // 0..3
    std::uint8_t Picture = 0;  // 1..20; 0 before the first spawn
    std::int32_t Score = 0;
    std::uint8_t Bonuses = 0; // stops at 255
};

// Flags set by key-down, consumed by the play loop; held flags are cleared only by key-up.
struct PlayerKeyFlags {
    bool RightFlag = false;    // held
    bool LeftFlag = false;     // held
    bool RotateFlag = false;   // one-shot
    bool SoftDropFlag = false; // held
    bool DropFlag = false;     // one-shot
};

struct KeyFlags {
    std::array<PlayerKeyFlags, 2> Player;
    bool BonusFlag = false;    // one-shot, player 1's bonus key
    bool NewPieceFlag = false; // one-shot, the "C" key
};

// Everything that decides what happens in a game. Player index 0 is player 1.
struct GameState {
    std::array<PlayerState, 2> Players;
    PlayerState &Player1() { return Players[0]; }
    PlayerState &Player2() { return Players[1]; }
    const PlayerState &Player1() const { return Players[0]; }
    const PlayerState &Player2() const { return Players[1]; }

    bool GameStopped = true;
    bool Paused = false;
    std::uint8_t Level = 0;              // wraps 255 -> 0
    std::int32_t Pieces = 0;             // spawns of both players
    std::int32_t Player1Clears = 0;      // bookkeeping calls that removed player 1 rows
    std::int32_t LinesSinceLevel = 0;    // rows of both players since the last level by rows
    bool NewPieceSinceLevel = false;     // set by player 1's spawns
    std::uint8_t Winner = 0;             // 0: no winner decided
    std::uint32_t FallInterval = 1000;   // Timer1's interval in ms

    KeyFlags Keys;
    Random Rng;
};

} // namespace vorlix
