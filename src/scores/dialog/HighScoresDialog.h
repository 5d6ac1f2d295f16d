#pragma once

#include "scores/HighScores.h"
#include "settings/Settings.h"
#include "ui/OkDialog.h"

#include <array>

class QLabel;
class QPushButton;
class QRadioButton;

namespace vorlix {

// The high scores dialog: one of the three tables at a time, chosen with radio buttons, and
// Clear for all of them. Not modal; OK (also a close by the window manager or Escape) lets go
// of its hold on the main window and hides the dialog.
class THighScores : public OkDialog {
    Q_OBJECT
public:
    THighScores(const Settings &settings, HighScores &scores, MainWindowLink &mainWindow);

    // Game -> High Scores: holds the main window disabled, then shows the current difficulty's
    // table.
    void ShowFromMenu();
    // After a one-player summary: no hold, the main window stays enabled.
    void ShowFromSummary();

    // Fills the rows from the current difficulty's table and checks its radio button; an
    // unknown difficulty leaves the rows as they were.
    void FormShow();
    void ShowTable(const HighScoreTable &table);
    void ClearClick();  // asks first
    void Button1Click(); // OK

    QRadioButton *EasyRadio = nullptr;
    QRadioButton *MediumRadio = nullptr;
    QRadioButton *HardRadio = nullptr;
    QPushButton *Clear = nullptr;
    QPushButton *Button1 = nullptr;

    // Row n (place n) is element n - 1.
    struct Row {
        QLabel *Name = nullptr;
        QLabel *Mode = nullptr;
        QLabel *Level = nullptr;
        QLabel *Lines = nullptr;
        QLabel *Pieces = nullptr;
        QLabel *Bonuses = nullptr;
        QLabel *Score = nullptr;
    };
    std::array<Row, HighScorePlaces> Rows;

protected:
    bool RunOk() override { Button1Click(); return true; }

private:
    void Present();

    const Settings &settings_;
    HighScores &scores_;
};

} // namespace vorlix
