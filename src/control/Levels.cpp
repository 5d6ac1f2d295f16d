#include "control/Speed.h"
#include "engine/Game.h"

namespace vorlix {

void Game::LevelTimerTimer()
{
    if (settings_.LevelChangesBy(LevelRule::Time))
        NextLevel();
}

void Game::NextLevel()
{
    // The pause itself stopped the level timer; resuming starts it with a full period.
    if (state_.Paused)
        return;
    host_.LevelFlash();
    ++state_.Level; // 8 bits: 255 wraps to 0
    if (!TwoPlayers() && settings_.Aggressive()) {
        AddGarbageRow(0);
        AddGarbageRow(0);
    }
    WriteLevelStatus();
    std::uint32_t shorter = ShortenedFallInterval(state_.FallInterval);
    if (shorter != state_.FallInterval) {
        state_.FallInterval = shorter;
        host_.SetTimerInterval(GameTimer::Gravity, shorter);
    }
}

void Game::ApplyLevelTimerInterval()
{
    host_.SetTimerInterval(GameTimer::Level, LevelPeriodMilliseconds(settings_.LevelChangeTime));
}

} // namespace vorlix
