#include "common/Saturate.h"
#include "engine/Game.h"
#include "engine/Layer.h"

#include <array>
#include <limits>

namespace vorlix {

void Game::GravityTick()
{
    // The pause itself blanked the pits and stopped both timers.
    if (state_.Paused)
        return;
    // Either player's held soft drop stops gravity for both; the timer keeps running.
    if (Flags(0).SoftDropFlag || (TwoPlayers() && Flags(1).SoftDropFlag))
        return;

    // Off and on again: the next tick comes a full interval after this one's work.
    SetTimer(GameTimer::Gravity, false);
    for (int player = 0; player < PlayerCount(); ++player)
        FallStep(player);
    SettleRows();
    host_.DrawPits();
    if (!state_.GameStopped)
        SetTimer(GameTimer::Gravity, true);
}

void Game::SettleRows()
{
    const int players = PlayerCount();

    std::array<int, 2> removed{};
    for (int player = 0; player < players; ++player) {
        const Grid full = RemoveFullRows(Player(player).Pit);
        // Blanked on screen as they go; the redraw after the bookkeeping shows the pit
        // without them.
        for (CellPos c : CellsInReadingOrder(full))
            host_.PaintCell(player, c.x, c.y, CellPicture::Blank);
        removed[static_cast<std::size_t>(player)] = full.count() / PitWidth;
    }
    for (int player = 0; player < players; ++player)
        CreditRows(player, removed[static_cast<std::size_t>(player)]);

    // The leftmost column decides when both pits reach row 1 in the same call. A game
    // already over is not ended again (garbage rows may reach row 1 between games).
    if (!state_.GameStopped) {
        for (int x = 1; x <= PitWidth; ++x) {
            if (state_.Player1().Pit.at(x, 1)) {
                EndGame(2);
                break;
            }
            if (TwoPlayers() && state_.Player2().Pit.at(x, 1)) {
                EndGame(1);
                break;
            }
        }
    }

    // By rows: at most one level per call; the surplus carries over. Runs even in the call
    // that ends the game.
    if (settings_.LevelChangesBy(LevelRule::Lines) && state_.LinesSinceLevel >= settings_.LevelChangeLines) {
        state_.LinesSinceLevel =
            SaturatingAdd(state_.LinesSinceLevel, -static_cast<std::int64_t>(settings_.LevelChangeLines));
        NextLevel();
    }

    // By pieces: a LevelChangePieces of 0 never changes the level (there is no multiple to
    // reach); a negative one acts as its magnitude. A running game has dealt a piece at least.
    if (settings_.LevelChangesBy(LevelRule::Pieces) && settings_.LevelChangePieces != 0 &&
        state_.Pieces % settings_.LevelChangePieces == 0 && !state_.GameStopped && state_.NewPieceSinceLevel) {
        NextLevel();
        state_.NewPieceSinceLevel = false;
    }
}

void Game::CreditRows(int player, int rows)
{
    if (rows <= 0)
        return;
    PlayerState &p = Player(player);
    if (player == 0)
        state_.Player1Clears = SaturatingAdd(state_.Player1Clears, 1);
    state_.LinesSinceLevel = SaturatingAdd(state_.LinesSinceLevel, rows);
    p.Score = SaturatingAdd(p.Score, ScoreForRows(rows));
    WritePlayerStatus(player);
    if (rows == 4) {
        if (p.Bonuses < std::numeric_limits<std::uint8_t>::max())
            ++p.Bonuses;
        WriteBonusStatus(player);
    }
    if (TwoPlayers() && settings_.Aggressive())
        for (int i = 0; i < rows; ++i)
            AddGarbageRow(1 - player);
}

std::int32_t Game::ScoreForRows(int rows) const
{
    if (rows < 1 || rows > 4)
        return 0;
    const Settings &s = settings_;
    if (s.Aggressive())
        return std::array{s.AOne, s.ATwo, s.AThree, s.AFour}[static_cast<std::size_t>(rows - 1)];
    if (s.PointsMode())
        return std::array{s.POne, s.PTwo, s.PThree, s.PFour}[static_cast<std::size_t>(rows - 1)];
    return 0;
}

void Game::AddGarbageRow(int player)
{
    int hole = static_cast<int>(state_.Rng(PitWidth)) + 1;
    PushGarbageRow(Player(player).Pit, hole);
}

void Game::EndGame(std::uint8_t winner)
{
    MenusForNoGame();
    state_.GameStopped = true;
    state_.Winner = winner;
    host_.SetPanelVisible(GamePanel::Preview1, false);
    host_.SetPanelVisible(GamePanel::Preview2, false);
    host_.SetPanelVisible(GamePanel::Logo, true);
    SetTimer(GameTimer::Level, false);
    host_.ShowSummary();
    ClearPits();
    for (int player = 0; player < PlayerCount(); ++player)
        ClearPiece(player);
}

} // namespace vorlix
