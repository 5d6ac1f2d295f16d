#include "GameFixture.h"

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

// A whole game from New Game to game over, driven by a scripted mix of key presses,
// releases and gravity ticks. After every step a running game has exactly four piece cells
// per active player and every cell of every layer is 0 or 1.
class ReplayTest : public GameFixture {
protected:
    Outcome Play(int players, const std::string &mode, std::uint32_t scriptSeed)
    {
        settings.Mode = mode;
        settings.LevelChangeBy = 2;
        settings.LevelChangeLines = 3;
        Start(players, 20261208);
        std::minstd_rand script(scriptSeed);
        int steps = 0;
        auto step = [&](auto &&action) {
            action();
            Check(players, steps++);
        };
        auto press = [&](std::int32_t key, int times = 1) {
            for (int i = 0; i < times; ++i)
                step([&] { game.FormKeyDown(key); });
            step([&] { game.FormKeyUp(key); });
        };
        // Each round places one piece per player: turns, a sideways run, some gravity, now
        // and then a soft drop, a swap or a pause, then a hard drop. Most placements are the
        // best of all turns and runs tried on a copy of the game, so rows do get completed.
        while (!state.GameStopped && steps < 20000 && !HasFailure()) {
            for (int player = 0; player < players && !state.GameStopped; ++player) {
                bool one = player == 0;
                auto [turns, shift] = script() % 4 == 0 ? std::pair{int(script() % 4), int(script() % 11) - 5}
                                                        : BestPlacement(player);
                press(one ? settings.P1Up : settings.P2Up, turns);
                std::int32_t left = one ? settings.P1Left : settings.P2Left;
                std::int32_t right = one ? settings.P1Right : settings.P2Right;
                if (shift != 0)
                    press(shift < 0 ? left : right, std::abs(shift));
                for (std::uint32_t ticks = script() % 3; ticks > 0; --ticks)
                    step([&] { game.GravityTick(); });
                switch (script() % 10) {
                case 0: press(one ? settings.P1DownSlow : settings.P2DownSlow, 2); break;
                case 1: press(Key::C); break;
                case 2: press(settings.P1Bonus); break;
                case 3: press(Key::Escape); press(Key::Escape); break;
                default: break;
                }
                press(one ? settings.P1DownFast : settings.P2DownFast);
            }
        }
        EXPECT_TRUE(state.GameStopped) << "no game over after " << steps << " steps";
        return {P(0).Score, P(1).Score, state.Pieces, state.Player1Clears, state.Level, state.Winner, steps};
    }

    // The turns and sideways run whose hard drop leaves the player's pit best: rows scored,
    // few holes, low blocks. Tried on copies of the game with a host that records nothing.
    std::pair<int, int> BestPlacement(int player)
    {
        bool one = player == 0;
        std::pair<int, int> best{0, 0};
        long bestValue = std::numeric_limits<long>::min();
        for (int turns = 0; turns < 4; ++turns) {
            for (int shift = -5; shift <= 5; ++shift) {
                GameState copy = state;
                NullHost quiet;
                Game trial(copy, settings, quiet);
                for (int i = 0; i < turns; ++i)
                    trial.FormKeyDown(one ? settings.P1Up : settings.P2Up);
                copy.Keys = {};
                for (int i = 0; i < std::abs(shift); ++i)
                    trial.FormKeyDown(shift < 0 ? (one ? settings.P1Left : settings.P2Left)
                                                : (one ? settings.P1Right : settings.P2Right));
                copy.Keys = {};
                trial.FormKeyDown(one ? settings.P1DownFast : settings.P2DownFast);
                const PlayerState &p = copy.Players[static_cast<std::size_t>(player)];
                long value = copy.GameStopped ? -1000000 : 100L * (p.Score - P(player).Score);
                int lastHeight = -1;
                for (int x = 1; x <= PitWidth; ++x) {
                    int y = 1;
                    while (y <= PitHeight && !p.Pit.at(x, y))
                        ++y;
                    int height = PitHeight + 1 - y;
                    value -= 3 * height + (lastHeight < 0 ? 0 : 2 * std::abs(height - lastHeight));
                    lastHeight = height;
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

    void Check(int players, int step)
    {
        for (int player = 0; player < 2; ++player) {
            for (const Grid *layer : {&P(player).Piece, &P(player).Pit}) {
                for (std::uint8_t cell : layer->bytes()) {
                    ASSERT_LE(cell, 1) << "step " << step;
                }
            }
            if (!state.GameStopped && player < players) {
                ASSERT_EQ(P(player).Piece.count(), 4) << "player " << player + 1 << " step " << step;
            }
        }
    }
};

TEST_F(ReplayTest, OnePlayerAggressiveGameKeepsItsInvariantsAndReplays)
{
    Outcome first = Play(1, "Aggressive", 7);
    EXPECT_GT(first.clears, 3);
    EXPECT_GT(first.level, 2);
    state = GameState{};
    EXPECT_EQ(Play(1, "Aggressive", 7), first);
}

TEST_F(ReplayTest, TwoPlayerAggressiveGameKeepsItsInvariantsAndReplays)
{
    Outcome first = Play(2, "Aggressive", 11);
    EXPECT_NE(first.winner, 0);
    EXPECT_GT(first.score1 + first.score2, 0);
    state = GameState{};
    EXPECT_EQ(Play(2, "Aggressive", 11), first);
}

TEST_F(ReplayTest, OnePlayerPointsGame)
{
    Outcome outcome = Play(1, "Points", 3);
    EXPECT_GT(outcome.clears, 3);
}

} // namespace
} // namespace vorlix::test
