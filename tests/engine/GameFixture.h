#pragma once

#include "RecordingHost.h"
#include "PitRows.h"
#include "engine/Game.h"

#include <gtest/gtest.h>

namespace vorlix::test {

// Whose rules a parameterised test plays: player index 0 or 1, in a game of one or two
// players, with the pieces seen falling or rising.
struct Seat {
    int player;
    int players;
    bool gravityDown = true;
};

inline std::string SeatName(const testing::TestParamInfo<Seat> &info)
{
    const Seat &s = info.param;
    return "Player" + std::to_string(s.player + 1) + "Of" + std::to_string(s.players) +
           (s.gravityDown ? "Falling" : "Rising");
}

class GameFixture : public testing::Test {
protected:
    GameState state;
    Settings settings;
    RecordingHost host;
    Game game{state, settings, host};

    PlayerState &P(int player) { return state.Players[static_cast<std::size_t>(player)]; }

    // A running game with the given seed; the calls of New Game are forgotten.
    void Start(int players = 1, std::int64_t seed = 42)
    {
        settings.NumberOfPlayers = static_cast<std::uint8_t>(players);
        host.seconds = seed;
        game.NewGame1Click();
        host.calls.clear();
    }

    // Moves the host's clock on to `t`, running every tick that falls due on the way
    // (gravity first when both are due at once).
    void RunUntil(std::int64_t t)
    {
        for (;;) {
            auto gravity = host.gravity.Due(), level = host.level.Due();
            bool tick = gravity && *gravity <= t && (!level || *gravity <= *level);
            if (!tick && !(level && *level <= t))
                break;
            host.now = tick ? *gravity : *level;
            host.Period(tick ? GameTimer::Gravity : GameTimer::Level).Fired(host.now);
            if (tick)
                game.GravityTick();
            else
                game.LevelTimerTimer();
        }
        host.now = t;
    }

    // Replaces a player's falling piece by `kind` in rotation state 0 at its spawn cells.
    void Deal(int player, int kind)
    {
        P(player).Piece.clear();
        P(player).NextKind = static_cast<std::uint8_t>(kind);
        game.SpawnPiece(player);
    }
};

} // namespace vorlix::test
