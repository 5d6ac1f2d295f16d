#include "control/Speed.h"
#include "engine/Game.h"

namespace vorlix {

void Game::MenusForRunningGame()
{
    host_.ApplyMenus(MenuSet::RunningGame);
}

void Game::MenusForNoGame()
{
    host_.ApplyMenus(MenuSet::NoGame);
}

void Game::NewGame1Click()
{
    MenusForRunningGame();
    const std::int64_t now = host_.SecondsSinceEpoch();
    state_.Rng.Seed(static_cast<std::uint32_t>(now));
    const int players = PlayerCount();

    state_.Level = 1;
    for (int player = 0; player < players; ++player) {
        Player(player).Score = 0;
        Player(player).Bonuses = 0;
    }
    state_.LinesSinceLevel = 0;
    state_.Player1Clears = 0;
    state_.Pieces = 0;
    // A game stopped from the menu then has no winner, rather than the last game's.
    state_.Winner = 0;
    WriteNewGameStatus();
    state_.GameStopped = false;

    // The piece layers are empty between games, and each spawn replaces the layer.
    ClearPits();
    ResetKeyFlags();
    for (int player = 0; player < players; ++player)
        Player(player).NextKind = static_cast<std::uint8_t>(state_.Rng(7) + 1);
    for (int player = 0; player < players; ++player)
        SpawnPiece(player);

    if (settings_.Preview == 1) {
        host_.SetPanelVisible(GamePanel::Preview1, true);
        if (players == 2)
            host_.SetPanelVisible(GamePanel::Preview2, true);
    }
    // Setting the interval after switching on restarts the period: the first tick comes one
    // full interval after New Game.
    SetTimer(GameTimer::Gravity, true);
    // Another difficulty text keeps the interval the previous game left.
    if (const auto difficulty = settings_.DifficultyIndex()) {
        state_.FallInterval = StartingFallIntervals[*difficulty];
        host_.SetTimerInterval(GameTimer::Gravity, state_.FallInterval);
    }
    SetTimer(GameTimer::Level, true);
    host_.SetPanelVisible(GamePanel::Logo, false);
    host_.ClearPaintBoxes();
}

void Game::PauseSteps()
{
    host_.BlankPits();
    state_.Paused = true;
    host_.SetPanelVisible(GamePanel::Pause, true);
    SetTimer(GameTimer::Gravity, false);
    SetTimer(GameTimer::Level, false);
}

void Game::TogglePause()
{
    if (state_.GameStopped)
        return;
    if (state_.Paused) {
        // The pits stay blank until the next full redraw.
        state_.Paused = false;
        host_.SetPanelVisible(GamePanel::Pause, false);
        SetTimer(GameTimer::Gravity, true);
        SetTimer(GameTimer::Level, true);
        return;
    }
    PauseSteps();
}

void Game::StopGame1Click()
{
    if (state_.GameStopped)
        return;
    MenusForNoGame();
    SetTimer(GameTimer::Gravity, false);
    host_.ShowSummary();
    SetTimer(GameTimer::Level, false);
    host_.SetPanelVisible(GamePanel::Logo, true);
    host_.SetPanelVisible(GamePanel::Preview1, false);
    host_.SetPanelVisible(GamePanel::Preview2, false);
    host_.SetPanelVisible(GamePanel::Pause, false);
    state_.Paused = false;
    state_.GameStopped = true;
    ClearPits();
    for (int player = 0; player < PlayerCount(); ++player)
        ClearPiece(player);
}

void Game::FormDeactivate()
{
    // A key released while another window has the focus never sends us its key-up.
    ResetKeyFlags();
    if (!state_.GameStopped)
        PauseSteps();
}

// Coming back repaints, which blanks the pits; a paused game stays paused with its timers off.
void Game::AppOnActivate()
{
    host_.RepaintMainWindow();
}

void Game::FormActivate()
{
    host_.RepaintMainWindow();
}

} // namespace vorlix
