#include "engine/Game.h"

namespace vorlix {

namespace {
constexpr int DifficultyPanel = 0;
constexpr int ScorePanel[2] = {1, 4};
constexpr int BonusPanel[2] = {2, 5};
} // namespace

void Game::WriteStartupStatus()
{
    host_.SetStatusText(DifficultyPanel, settings_.Difficulty + ": Level ");
    host_.SetStatusText(ScorePanel[0], "Score: ");
    host_.SetStatusText(BonusPanel[0], "Bonuses: ");
}

void Game::WriteLevelStatus()
{
    host_.SetStatusText(DifficultyPanel, settings_.Difficulty + ": Level " + std::to_string(int{state_.Level}));
}

void Game::WriteNewGameStatus()
{
    WriteLevelStatus();
    for (int player = 0; player < PlayerCount(); ++player) {
        WritePlayerStatus(player);
        WriteBonusStatus(player);
    }
}

void Game::WritePlayerStatus(int player)
{
    host_.SetStatusText(ScorePanel[player], "Score: " + std::to_string(Player(player).Score));
}

void Game::WriteBonusStatus(int player)
{
    host_.SetStatusText(BonusPanel[player], "Bonuses: " + std::to_string(int{Player(player).Bonuses}));
}

} // namespace vorlix
