#pragma once

#include "engine/GameHost.h"
#include "engine/GameState.h"
#include "settings/Settings.h"

#include <cstdint>
#include <string>

namespace vorlix {

// The rules of a game, over one GameState and the settings, reaching the screen only
// through the host. Player indices are 0 (player 1) and 1 (player 2).
//
// This is the surface the window uses; the engine's own steps (SpawnPiece, FallStep,
// SettleRows, ...) are public too so tests can drive them one at a time.
class Game {
public:
    Game(GameState &state, Settings &settings, GameHost &host);

    // Keyboard (key codes of the keyboard layer). Key-down ends with one PlayStep pass.
    void FormKeyDown(std::int32_t key);
    void FormKeyUp(std::int32_t key);
    void ResetKeyFlags();

    // Timer1 and LevelTimer.
    void GravityTick();
    void LevelTimerTimer();

    // Commands.
    void NewGame1Click();
    void TogglePause();
    void StopGame1Click();

    // Focus: a running game pauses when the application loses the player's attention.
    void FormDeactivate();
    void AppOnActivate();
    void FormActivate();

    // Status bar texts.
    void WriteStartupStatus();          // panel 0 "<Difficulty>: Level ", 1 "Score: ", 2 "Bonuses: "
    void WriteLevelStatus();            // panel 0 "<Difficulty>: Level <Level>"

    // LevelChangeTime x 1000 without overflow: <= 0 never fires; clamped to INT32_MAX above.
    std::int64_t LevelTimerInterval() const;

    GameState &State() { return state_; }
    const GameState &State() const { return state_; }

private:
    GameState &state_;
    Settings &settings_;
    GameHost &host_;
};

} // namespace vorlix
