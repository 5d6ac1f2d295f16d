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
    if (state_.Paused) {
        // Resuming starts the timer again with a full period.
        SetTimer(GameTimer::Level, false);
        return;
    }
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

std::int64_t Game::LevelTimerInterval() const
{
    return LevelPeriodMilliseconds(settings_.LevelChangeTime);
}

void Game::ApplyLevelTimerInterval()
{
    host_.SetTimerInterval(GameTimer::Level, LevelTimerInterval());
}

} // namespace vorlix
