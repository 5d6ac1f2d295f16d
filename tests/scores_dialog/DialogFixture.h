#pragma once

#include "engine/GameState.h"
#include "scores/HighScoreFile.h"
#include "scores/dialog/HighScoresDialog.h"
#include "scores/dialog/SummaryDialog.h"
#include "settings/Settings.h"
#include "../common/FakeMainWindow.h"
#include "../common/MessageBoxAnswerer.h"
#include "../common/TempDir.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vorlix {

// Both dialogs over one program state, with the main window replaced by a recorder.
class DialogFixture : public ::testing::Test, public FakeMainWindow {
protected:
    DialogFixture()
    {
        // The summary saves a stored result at once, into the game folder.
        settings.GameDir = dir.Path();
        highScores = std::make_unique<THighScores>(settings, scores, *this);
        summary = std::make_unique<TSummery>(state, settings, scores, *highScores, *this);
    }
    ~DialogFixture() override
    {
        summary->hide();
        highScores->hide();
    }

    // A one-player game as it ends.
    void EndOnePlayerGame(std::int32_t score, std::uint8_t bonuses)
    {
        state.GameStopped = true;
        state.Player1().Score = score;
        state.Player1().Bonuses = bonuses;
        state.Level = 3;
        state.Pieces = 85;
        state.Player1Clears = 12;
        summary->ShowForGameEnd();
    }

    static QString Text(QLabel *label) { return label->text(); }

    // The summary's lines from top to bottom, leaving out those it hides.
    std::vector<std::string> SummaryLines() const
    {
        std::vector<std::string> lines;
        for (const QLabel *label : {summary->GameLabel, summary->LevelLabel, summary->ScoreLabel, summary->BonusLabel,
                                    summary->LinesLabel, summary->PiecesLabel, summary->TotalLabel, summary->MessageLabel})
            if (!label->isHidden())
                lines.push_back(label->text().toStdString());
        return lines;
    }

    // A row of the high scores from left to right: name, mode, level, lines, pieces, bonuses, score.
    static std::vector<std::string> Shown(const THighScores::Row &row)
    {
        std::vector<std::string> texts;
        for (const QLabel *label : {row.Name, row.Mode, row.Level, row.Lines, row.Pieces, row.Bonuses, row.Score})
            texts.push_back(label->text().toStdString());
        return texts;
    }

    test::TempDir dir;
    Settings settings;
    GameState state;
    HighScores scores;
    std::unique_ptr<THighScores> highScores;
    std::unique_ptr<TSummery> summary;
    MessageBoxAnswerer answerer;
};

} // namespace vorlix
