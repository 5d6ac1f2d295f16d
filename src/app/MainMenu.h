#pragma once

#include "engine/GameHost.h"

#include <QAction>
#include <QMenu>

class QMenuBar;

namespace vorlix {

// The main window's menu bar: every item with its caption, shortcut and initial state.
struct MainMenu {
    QMenu *Game1 = nullptr;
    QAction *NewGame1 = nullptr;
    QAction *Pause1 = nullptr;
    QAction *StopGame1 = nullptr;
    QAction *HighScores1 = nullptr;
    QAction *Exit1 = nullptr;

    QMenu *Options1 = nullptr;
    QMenu *mnuDifficulty = nullptr;
    QAction *Easy = nullptr;
    QAction *Medium = nullptr;
    QAction *Hard = nullptr;
    QMenu *mnuPlayers = nullptr;
    QAction *mnuOnePlayer = nullptr;
    QAction *mnuTwoPlayers = nullptr;
    QMenu *Mode1 = nullptr;
    QAction *mnuPoints = nullptr;
    QAction *mnuAgressive = nullptr;
    QAction *Settings = nullptr;
    QAction *mnuFullScreen = nullptr;
    QAction *PiecePreview = nullptr;
    QAction *mnuSound = nullptr;
    QAction *mnuMusic = nullptr;

    QMenu *Help1 = nullptr;
    QAction *About1 = nullptr;
    QAction *HowtoPlay1 = nullptr;

    void Build(QMenuBar *bar);
    void Apply(MenuSet set);

    // The groups keep exactly one mark; a checkable action flips its own mark before the
    // handler runs, so handlers always set every mark of the group explicitly.
    void MarkDifficulty(std::optional<std::size_t> difficulty); // none marks Easy
    void MarkPlayers(bool onePlayer);
    void MarkMode(bool aggressive);
};

} // namespace vorlix
