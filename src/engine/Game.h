#pragma once

#include "engine/GameHost.h"
#include "engine/GameState.h"
#include "settings/Settings.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vorlix {

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

    // Gives LevelTimer LevelChangeTime x 1000 ms without overflow: <= 0 never fires; clamped to
    // INT32_MAX above (start-up and after the seconds setting changes).
    void ApplyLevelTimerInterval();

    // --- Engine steps ---

    // Replaces the player's piece layer by the next piece at the spawn cells (the pit is not
    // consulted). Counts a piece; player 1's spawns also mark NewPieceSinceLevel.
    void SpawnPiece(int player);
    void ClearPiece(int player);
    // Player 1's pit, and player 2's in a two-player game.
    void ClearPits();
    // One row toward row 20, or LandPiece when a cell is on row 20 or above a block.
    void FallStep(int player);
    // Piece cells into the pit, then the next piece. No row removal: callers run SettleRows.
    void LandPiece(int player);
    // Whether the turn was made; none for the square, which has no turn.
    std::optional<bool> RotatePiece(int player);
    // One column right (+1) or left (-1) unless the wall or a block is in the way.
    void ShiftPiece(int player, int dx);

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

private:
    bool TwoPlayers() const { return settings_.TwoPlayers(); }
    int PlayerCount() const { return TwoPlayers() ? 2 : 1; }
    PlayerState &Player(int player) { return state_.Players[static_cast<std::size_t>(player)]; }
    PlayerKeyFlags &Flags(int player) { return state_.Keys.Player[static_cast<std::size_t>(player)]; }

    void ApplyKeyDown(std::int32_t key); // a key-down without its pass
    void SetTimer(GameTimer timer, bool on) { host_.SetTimerEnabled(timer, on); }
    void PauseSteps();                 // blank pits, Paused, pause panel, both timers off
    void ActOnKeys();                  // the moves of a pass, in their order
    void HardDrop(int player);
    void Swap();
    void CreditRows(int player, int rows);
    void EndGame(std::uint8_t winner);
    void WritePlayerStatus(int player);
    void WriteBonusStatus(int player);

    GameState &state_;
    Settings &settings_;
    GameHost &host_;
};

} // namespace vorlix
