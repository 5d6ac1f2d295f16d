#include "app/MainWindow.h"

#include "render/PitPanel.h"
#include "ui/MessageBox.h"

#include <QCoreApplication>

namespace vorlix {

void MainWindow::ConnectMenu()
{
    // Opening a top-level menu takes the player's attention away from the game.
    for (QMenu *top : {menu_.Game1, menu_.Options1, menu_.Help1})
        connect(top, &QMenu::aboutToShow, this, [this] {
            ForgetHeldKeys();
            game_.FormDeactivate();
        });

    connect(menu_.NewGame1, &QAction::triggered, this, [this] { game_.NewGame1Click(); });
    connect(menu_.Pause1, &QAction::triggered, this, [this] { game_.TogglePause(); });
    connect(menu_.StopGame1, &QAction::triggered, this, [this] { game_.StopGame1Click(); });
    connect(menu_.HighScores1, &QAction::triggered, this, [this] { dialogs_->OpenHighScores(); });
    connect(menu_.Exit1, &QAction::triggered, this, &QWidget::close);

    connect(menu_.Easy, &QAction::triggered, this, [this] { SetDifficulty(DifficultyNames[0]); });
    connect(menu_.Medium, &QAction::triggered, this, [this] { SetDifficulty(DifficultyNames[1]); });
    connect(menu_.Hard, &QAction::triggered, this, [this] { SetDifficulty(DifficultyNames[2]); });
    connect(menu_.mnuOnePlayer, &QAction::triggered, this, [this] { SetPlayers(1); });
    connect(menu_.mnuTwoPlayers, &QAction::triggered, this, [this] { SetPlayers(2); });
    connect(menu_.mnuPoints, &QAction::triggered, this, [this] { SetMode("Points"); });
    connect(menu_.mnuAgressive, &QAction::triggered, this, [this] { SetMode("Aggressive"); });
    connect(menu_.PiecePreview, &QAction::triggered, this, [this] { PiecePreviewClick(); });
    connect(menu_.Settings, &QAction::triggered, this, [this] { dialogs_->OpenSettings(); });
    connect(menu_.About1, &QAction::triggered, this, [this] { dialogs_->OpenAbout(); });
    connect(menu_.HowtoPlay1, &QAction::triggered, this,
            [this] { ShowPlainMessage(QStringLiteral("not yet!")); });
}

void MainWindow::ShowPlainMessage(const QString &text)
{
    ShowMessage(this, QMessageBox::NoIcon, QCoreApplication::applicationName(), text);
}

void MainWindow::SetDifficulty(const char *difficulty)
{
    app_.settings.Difficulty = difficulty;
    menu_.MarkDifficulty(app_.settings.DifficultyIndex());
    game_.WriteLevelStatus();
}

void MainWindow::SetPlayers(int players)
{
    app_.settings.NumberOfPlayers = static_cast<std::uint8_t>(players);
    ReAdjustSize();
    menu_.MarkPlayers(players == 1);
    // The window changed size: a pit that comes into view shows its blank cells like the other.
    RepaintMainWindow();
}

void MainWindow::SetMode(const char *mode)
{
    app_.settings.Mode = mode;
    ApplyMode();
}

void MainWindow::ApplyMode()
{
    Settings &s = app_.settings;
    s.MusicFile = s.Aggressive() ? s.AggressiveMidiFile : s.PointsMidiFile;
    menu_.MarkMode(s.Aggressive());
}

void MainWindow::PiecePreviewClick()
{
    Settings &s = app_.settings;
    if (s.Preview == 1) {
        menu_.PiecePreview->setChecked(false);
        previewpanel_->hide();
        previewPanel2_->hide();
        s.Preview = 0;
    } else if (s.Preview == 0) {
        menu_.PiecePreview->setChecked(true);
        s.Preview = 1;
    } else {
        // Any other stored value makes the command do nothing; undo the action's own flip.
        menu_.PiecePreview->setChecked(false);
    }
}

} // namespace vorlix
