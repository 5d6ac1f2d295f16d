// DrawPits for two pits into the backing images, on the offscreen platform:
//   vorlix_render_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "render/Artwork.h"
#include "render/PitPanel.h"
#include "render/PitRenderer.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

using namespace vorlix;

void FillLikeAGame(PlayerState &player, int picture)
{
    player.Picture = static_cast<std::uint8_t>(picture);
    player.NextKind = 3;
    for (int y = 12; y <= 20; ++y)
        for (int x = 1; x <= 10; ++x)
            player.Pit.set(x, y, (x + y) % 7 != 0);
    for (auto [x, y] : {std::pair{5, 1}, {5, 2}, {5, 3}, {6, 3}})
        player.Piece.set(x, y, true);
}

void BM_DrawPitsTwoPlayers(benchmark::State &bench)
{
    PictureSet pictures;
    pictures.Blank = QPixmap::fromImage(artwork::BlankTile());
    pictures.Pit = QPixmap::fromImage(artwork::PitTile());
    for (int n = 1; n <= 20; ++n)
        pictures.Pieces[static_cast<std::size_t>(n)] = QPixmap::fromImage(artwork::PieceTile(n));
    GameState state;
    state.GameStopped = false;
    FillLikeAGame(state.Players[0], 4);
    FillLikeAGame(state.Players[1], 17);
    Settings settings;
    settings.NumberOfPlayers = 2;
    settings.GravityDown = bench.range(0) != 0;
    PitPanel pit1, pit2;
    PreviewPanel preview1, preview2;
    PitRenderer renderer(state, settings, pictures, {&pit1, &pit2}, {&preview1, &preview2});
    for (auto _ : bench)
        renderer.DrawPits();
    benchmark::DoNotOptimize(pit1.Box().Canvas().constBits());
}
BENCHMARK(BM_DrawPitsTwoPlayers)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
