#pragma once

#include "engine/GameState.h"
#include "scores/HighScores.h"
#include "settings/Settings.h"
#include "ui/OkDialog.h"
#include "ui/HeldKeys.h"

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vorlix {

class THighScores;

// The game summary shown at the end of every game: the game's figures, and for a one-player
// result that ranks, the name to store it under. Not modal; it holds the main window disabled
// while it is up. OK (also a close by the window manager or Escape) stores the result, lets go
// of the main window and, after a one-player game, opens the high scores.
class TSummery : public OkDialog {
    Q_OBJECT
public:
    TSummery(const GameState &state, Settings &settings, HighScores &scores,
             THighScores &highScores, MainWindowLink &mainWindow);

    // Fills every text from the game state, holds the main window disabled and shows the dialog.
    void ShowForGameEnd();

    void FormShow();
    void SumOKClick();
    // OK's part without the windows: the name is kept and a ranking result enters its table (in
    // memory). True when it entered. For a close that can show nothing more (a lost display).
    bool TakeResult();

    // PBonus, or ABonus in Aggressive mode.
    std::int32_t BonusValue() const;
    // Player 1's score plus the unspent bonuses at BonusValue, pinned to the 32-bit range:
    // the total a one-player result is stored with.
    std::int32_t SummaryTotal() const;

    QLabel *GameLabel = nullptr;
    QLabel *LevelLabel = nullptr;
    QLabel *ScoreLabel = nullptr;
    QLabel *BonusLabel = nullptr;
    QLabel *LinesLabel = nullptr;
    QLabel *PiecesLabel = nullptr;
    QLabel *TotalLabel = nullptr;
    QLabel *MessageLabel = nullptr;
    QLineEdit *NameEdit = nullptr;
    QPushButton *SumOK = nullptr;

    // Keys held as the game ended (a hard drop, the bonus key), and taps in the summary's first
    // moments, neither type the name nor confirm it.
    HeldKeyGuard HeldKeys;

protected:
    bool RunOk() override { SumOKClick(); return true; }

private:
    const GameState &state_;
    Settings &settings_;
    HighScores &scores_;
    THighScores &highScores_;
    bool okRunning_ = false; // OK waits on its warning of a failed save
};

} // namespace vorlix
