#pragma once

#include "engine/GameHost.h"
#include "engine/GameState.h"
#include "settings/Settings.h"

#include <cstdint>
#include <span>
#include <string>

namespace vorlix {

enum class TurnResult {
    NoPivot, // no rule for the kind and state, or fewer piece cells than the pivot needs
    Refused, // out of bounds or blocked: nothing changed
    Made,
};

// The rules of a game, over one GameState and the settings, reaching the screen only
// through the host. Player indices are 0 (player 1) and 1 (player 2). Any NumberOfPlayers
// other than 1 plays as two players.
//
// This is the surface the window uses; the engine's own steps (SpawnPiece, FallStep,
// SettleRows, ...) are public too so tests can drive them one at a time.
class Game {
public:
    Game(GameState &state, Settings &settings, GameHost &host);

    // Keyboard (key codes of the keyboard layer). Key-down ends with one PlayStep pass.
    void FormKeyDown(std::int32_t key);
    // One repeat of held keys: the key-down of each of them, then a single pass.
    void FormKeyRepeat(std::span<const std::int32_t> keys);
    // Clears flags only; never runs a pass.
    void FormKeyUp(std::int32_t key);
    void ResetKeyFlags();

    // Timer1 and LevelTimer.
    void GravityTick();
    void LevelTimerTimer();

    // Commands.
    void NewGame1Click();
    void TogglePause();       // also the Game -> Pause command
    void StopGame1Click();    // does nothing without a game in progress

    // Focus: a running game pauses when the application loses the player's attention.
    void FormDeactivate();    // also run when a top-level menu opens
    void AppOnActivate();
    void FormActivate();

    // Status bar texts.
    void WriteStartupStatus();          // panel 0 "<Difficulty>: Level ", 1 "Score: ", 2 "Bonuses: "
    void WriteLevelStatus();            // panel 0 "<Difficulty>: Level <Level>"
    void WriteNewGameStatus();          // panels 0, 1, 2 (and 4, 5 with two players) with values

    // LevelChangeTime x 1000 without overflow: <= 0 never fires; clamped to INT32_MAX above.
    std::int64_t LevelTimerInterval() const;
    // Pushes LevelTimerInterval() to the host (start-up and after the seconds setting changes).
    void ApplyLevelTimerInterval();

    GameState &State() { return state_; }
    const GameState &State() const { return state_; }

    // --- Engine steps ---

    // Deals the player's next piece at the spawn cells (the piece layer must be clear; the pit
    // is not consulted). Counts a piece; player 1's spawns also mark NewPieceSinceLevel.
    void SpawnPiece(int player);
    void ClearPiece(int player);
    // Player 1's pit, and player 2's in a two-player game.
    void ClearPits();
    // One row toward row 20, or LandPiece when a cell is on row 20 or above a block.
    // Returns whether the piece moved (also stored as the player's CanFall).
    bool FallStep(int player);
    // Piece cells into the pit, then the next piece. No row removal: callers run SettleRows.
    void LandPiece(int player);
    TurnResult RotatePiece(int player);
    // One column right (+1) or left (-1) unless the wall or a block is in the way.
    bool ShiftPiece(int player, int dx);

    // One pass of the play loop on the current key flags.
    void PlayStep();
    // Removes full rows, scores, counts bonuses, sends garbage, detects game over, changes
    // the level by rows or pieces.
    void SettleRows();
    // Points for n rows removed at once in the current mode; 0 outside the table.
    std::int32_t ScoreForRows(int rows) const;
    // Pushes a garbage row with a random hole into the player's pit; the falling piece stays.
    void AddGarbageRow(int player);
    void NextLevel();

    void MenusForRunningGame();
    void MenusForNoGame();

    // The full redraw, then Timer1 on while a game runs unpaused.
    void DrawPits();

private:
    bool TwoPlayers() const { return settings_.TwoPlayers(); }
    int PlayerCount() const { return TwoPlayers() ? 2 : 1; }
    PlayerState &Player(int player) { return state_.Players[static_cast<std::size_t>(player)]; }
    PlayerKeyFlags &Flags(int player) { return state_.Keys.Player[static_cast<std::size_t>(player)]; }

    void ApplyKeyDown(std::int32_t key); // a key-down without its pass
    void SetTimer(GameTimer timer, bool on) { host_.SetTimerEnabled(timer, on); }
    void StartGravityIfRunning();
    void PauseSteps();                 // blank pits, Paused, pause panel, both timers off
    void HardDrop(int player);
    void Swap();
    void ClosingSteps();
    void CreditRows(int player, int rows);
    void EndGame(std::uint8_t winner);
    void WritePlayerStatus(int player);
    void WriteBonusStatus(int player);

    GameState &state_;
    Settings &settings_;
    GameHost &host_;
};

} // namespace vorlix
