#include "NullHost.h"
#include "engine/Game.h"

#include <benchmark/benchmark.h>

namespace vorlix {
namespace {

// A pit filled from row `top` down with one hole per row, so no row is full.
Grid RaggedPit(int top = 5)
{
    Grid pit;
    for (int y = top; y <= PitHeight; ++y)
        for (int x = 1; x <= PitWidth; ++x)
            pit.set(x, y, x != 1 + (y * 3) % PitWidth);
    return pit;
}

struct Fixture {
    GameState state;
    Settings settings;
    test::NullHost host;
    Game game{state, settings, host};

    explicit Fixture(int players)
    {
        settings.NumberOfPlayers = static_cast<std::uint8_t>(players);
        settings.LevelChangeBy = 0; // measure the bookkeeping, not level changes
        game.NewGame1Click();
    }
};

void SettleRowsNoFullRow(benchmark::State &bench)
{
    Fixture f(1);
    f.state.Player1().Pit = RaggedPit();
    for (auto _ : bench) {
        f.game.SettleRows();
        benchmark::DoNotOptimize(f.state.Player1().Pit);
    }
}
BENCHMARK(SettleRowsNoFullRow);

void SettleRowsFourFullRows(benchmark::State &bench)
{
    Fixture f(1);
    Grid pit = RaggedPit();
    for (int y : {8, 11, 15, 20})
        for (int x = 1; x <= PitWidth; ++x)
            pit.set(x, y, true);
    for (auto _ : bench) {
        f.state.Player1().Pit = pit; // a 200-byte copy, part of the measured call
        f.game.SettleRows();
        benchmark::DoNotOptimize(f.state.Player1().Pit);
    }
}
BENCHMARK(SettleRowsFourFullRows);

void GravityTickTwoPlayers(benchmark::State &bench)
{
    Fixture f(2);
    f.state.Player1().Pit = RaggedPit(12);
    f.state.Player2().Pit = RaggedPit(12);
    const GameState start = f.state;
    for (auto _ : bench) {
        f.game.GravityTick();
        // The pieces fall about eight rows, land, and the next ones follow; restart from the
        // same state before the pits fill up. The copy (about a kilobyte) is part of the measure.
        if (f.state.GameStopped || f.state.Pieces > start.Pieces + 4)
            f.state = start;
    }
}
BENCHMARK(GravityTickTwoPlayers);

} // namespace
} // namespace vorlix

BENCHMARK_MAIN();
