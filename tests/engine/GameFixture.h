#pragma once

#include "PitRows.h"
#include "RecordingHost.h"
#include "engine/Game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace vorlix::test {

class GameFixture : public testing::Test {
protected:
    GameState state;
    Settings settings;
    RecordingHost host{state, settings};
    Game game{state, settings, host};

    // The clock at each gravity tick RunUntil ran, with a '-' when it changed nothing in player
    // 1's pit; and at each level tick, after an 'L'.
    std::vector<std::string> ticks;

    PlayerState &P(int player) { return state.Players[static_cast<std::size_t>(player)]; }
    Rows Screen(int player) { return Shown(host.screen[static_cast<std::size_t>(player)]); }

    // A running game with the given seed.
    void Start(int players = 1, std::int64_t seed = 42)
    {
        settings.NumberOfPlayers = static_cast<std::uint8_t>(players);
        host.seconds = seed;
        game.NewGame1Click();
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
            if (tick) {
                const Rows before = Drawn(P(0));
                ticks.push_back(std::to_string(host.now));
                game.GravityTick();
                ticks.back() += Drawn(P(0)) == before ? "-" : "";
            } else {
                ticks.push_back("L" + std::to_string(host.now));
                game.LevelTimerTimer();
            }
        }
        host.now = std::max(host.now, t);
    }

    // The key flags as letters: player 1's "RLTSH" (right, left, turn, soft drop, hard drop),
    // player 2's the same in lower case, then "B" (bonus) and "C" (new piece).
    void SetFlags(const std::string &letters)
    {
        for (std::size_t i = 0; i < 10; ++i)
            *Flag(i) = letters.find("RLTSHrltsh"[i]) != std::string::npos;
        state.Keys.BonusFlag = letters.find('B') != std::string::npos;
        state.Keys.NewPieceFlag = letters.find('C') != std::string::npos;
    }
    std::string Flags()
    {
        std::string letters;
        for (std::size_t i = 0; i < 10; ++i)
            if (*Flag(i))
                letters += "RLTSHrltsh"[i];
        return letters + (state.Keys.BonusFlag ? "B" : "") + (state.Keys.NewPieceFlag ? "C" : "");
    }

    // Replaces a player's falling piece by `kind` in rotation state 0 at its spawn cells.
    void Deal(int player, int kind)
    {
        P(player).NextKind = static_cast<std::uint8_t>(kind);
        game.SpawnPiece(player);
    }

private:
    bool *Flag(std::size_t i)
    {
        PlayerKeyFlags &f = state.Keys.Player[i / 5];
        return std::array{&f.RightFlag, &f.LeftFlag, &f.RotateFlag, &f.SoftDropFlag, &f.DropFlag}[i % 5];
    }
};

} // namespace vorlix::test
