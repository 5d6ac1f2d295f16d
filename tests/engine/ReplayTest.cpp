#include "GameFixture.h"
#include "NullHost.h"

#include <cstdlib>
#include <limits>
#include <random>

namespace vorlix::test {
namespace {

struct Outcome {
    std::int32_t score1, score2, pieces, clears;
    std::uint8_t level, winner;
    int steps;
    bool operator==(const Outcome &) const = default;
};

// A whole game from New Game to game over, driven by a scripted mix of key presses, releases
// and gravity ticks, replays from its seed; after every step each player of a running game has
// a piece of four cells. Each round places one piece per player: turns, a sideways run, some
// gravity, now and then a soft drop, a swap or a pause, then a hard drop. Most placements are
// the best of all turns and runs tried on a copy of the game, so rows do get completed.
class ReplayTest : public GameFixture {
protected:
    std::int32_t Bound(int player, std::size_t role) { return settings.*PlayerKeys(player)[role]; }

    Outcome Play(int players, std::uint32_t scriptSeed)
    {
        settings.Mode = "Aggressive";
        settings.LevelChangeBy = 2;
        settings.LevelChangeLines = 3;
        Start(players, 20261208);
        std::minstd_rand script(scriptSeed);
        int steps = 0;
        auto press = [&](std::int32_t key, int times = 1) {
            for (int i = 0; i <= times; ++i) {
                if (i < times)
                    game.FormKeyDown(key);
                else
                    game.FormKeyUp(key);
                ++steps;
                for (int p = 0; p < players && !state.GameStopped; ++p)
                    ASSERT_EQ(P(p).Piece.count(), 4) << "player " << p + 1 << " step " << steps;
            }
        };
        while (!state.GameStopped && steps < 20000 && !HasFailure()) {
            for (int player = 0; player < players && !state.GameStopped; ++player) {
                auto [turns, shift] = script() % 4 == 0 ? std::pair{int(script() % 4), int(script() % 11) - 5}
                                                        : BestPlacement(player);
                press(Bound(player, KeyRole::Up), turns);
                if (shift != 0)
                    press(Bound(player, shift < 0 ? KeyRole::Left : KeyRole::Right), std::abs(shift));
                for (std::uint32_t ticks = script() % 3; ticks > 0; --ticks)
                    game.GravityTick();
                switch (script() % 10) {
                case 0: press(Bound(player, KeyRole::DownSlow), 2); break;
                case 1: press(Key::C); break;
                case 2: press(settings.P1Bonus); break;
                case 3: press(Key::Escape); press(Key::Escape); break;
                default: break;
                }
                press(Bound(player, KeyRole::DownFast));
            }
        }
        EXPECT_TRUE(state.GameStopped) << "no game over after " << steps << " steps";
        return {P(0).Score, P(1).Score, state.Pieces, state.Player1Clears, state.Level, state.Winner, steps};
    }

    // The turns and sideways run whose hard drop leaves the player's pit best: rows scored,
    // few holes, low blocks. Tried on copies of the game with a host that shows nothing.
    std::pair<int, int> BestPlacement(int player)
    {
        std::pair<int, int> best{0, 0};
        long bestValue = std::numeric_limits<long>::min();
        for (int turns = 0; turns < 4; ++turns) {
            for (int shift = -5; shift <= 5; ++shift) {
                GameState copy = state;
                NullHost quiet;
                Game trial(copy, settings, quiet);
                for (int i = 0; i < turns + std::abs(shift) + 1; ++i) {
                    copy.Keys = {};
                    trial.FormKeyDown(Bound(player, i < turns ? KeyRole::Up
                                                  : i == turns + std::abs(shift) ? KeyRole::DownFast
                                                  : shift < 0 ? KeyRole::Left : KeyRole::Right));
                }
                const PlayerState &p = copy.Players[static_cast<std::size_t>(player)];
                long value = copy.GameStopped ? -1000000 : 100L * (p.Score - P(player).Score);
                for (int x = 1, last = -1; x <= PitWidth; ++x) {
                    int y = 1;
                    while (y <= PitHeight && !p.Pit.at(x, y))
                        ++y;
                    value -= 3 * (PitHeight + 1 - y) + (last < 0 ? 0 : 2 * std::abs(y - last));
                    last = y;
                    for (; y <= PitHeight; ++y)
                        value -= p.Pit.at(x, y) ? 0 : 8;
                }
                if (value > bestValue) {
                    bestValue = value;
                    best = {turns, shift};
                }
            }
        }
        return best;
    }
};

TEST_F(ReplayTest, OnePlayerGameKeepsItsInvariantsAndReplays)
{
    Outcome first = Play(1, 7);
    EXPECT_GT(first.clears, 3);
    EXPECT_GT(first.level, 2);
    state = GameState{};
    EXPECT_EQ(Play(1, 7), first);
}

TEST_F(ReplayTest, TwoPlayerGameKeepsItsInvariantsAndReplays)
{
    Outcome first = Play(2, 11);
    EXPECT_NE(first.winner, 0);
    EXPECT_GT(first.score1 + first.score2, 0);
    state = GameState{};
    EXPECT_EQ(Play(2, 11), first);
}

} // namespace
} // namespace vorlix::test
