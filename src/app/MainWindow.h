#pragma once

#include "app/AppState.h"
#include "app/DesktopKeyRepeat.h"
#include "app/PeriodTimer.h"
#include "app/MainMenu.h"
#include "engine/Game.h"
#include "engine/GameHost.h"
#include "engine/KeyRepeat.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>

#include <memory>
#include <stdexcept>

class QFrame;

namespace vorlix {

class PitPanel;
class PreviewPanel;
class PitRenderer;
class StatusStrip;

// Thrown by the constructor when the start-up pictures cannot be loaded.
class StartupFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the main window opens. By itself nothing: the window holds it as it is until the
// dialogs are made after it, and in tests of the window alone.
class MainWindowDialogs {
public:
    virtual ~MainWindowDialogs() = default;
    virtual void OpenSummary() {}
    virtual void OpenHighScores() {}
    virtual void OpenSettings() {}
    virtual void OpenAbout() {}
    virtual void FinishOpen() {} // close open dialogs through their OK paths, before saving
    virtual void TakeOpenResults() {} // the same without touching a window: the summary's result
    virtual void HideAll() {}
};

// The game window. It owns the widgets and the two timers, forwards keys and timer ticks to
// the game, and is the game's host on screen. Its parts: MainWindowHost.cpp (the host),
// MainWindowKeys.cpp, MainWindowMenus.cpp, MainWindowLayout.cpp and MainWindowStartup.cpp
// (the files read at start and written at close).
class MainWindow : public QMainWindow, public GameHost {
    Q_OBJECT
public:
    static constexpr int ClientHeight = 380; // below the menu bar, status strip included

    MainWindow(AppState &app, const std::string &gameDir);
    ~MainWindow() override;

    void SetDialogs(MainWindowDialogs &dialogs) { dialogs_ = &dialogs; }

    // Messages gathered during creation, shown once the window is up.
    void ShowStartupMessages();

    // A signal asks the program to end (logout, a closed terminal): the window's own close,
    // with no message box, as nobody may be there to answer it. Failures go to standard error.
    void CloseBySignal();

    // The connection to the display broke and the platform ends the program at once: both files
    // are saved as the close saves them, with the result on standard error, and no window is
    // touched any more. Does nothing once a close has begun.
    void SaveAtLostDisplay();

    void ReAdjustSize(); // one or two players laid out, as the settings say
    void ApplyLevelTimerInterval() { game_.ApplyLevelTimerInterval(); }
    void SetPitBevel(bool on, int width); // player 1's pit

    // GameHost
    void ProcessPendingEvents() override;
    void DrawPits() override;
    void BlankPits() override;
    void PaintCell(int player, int x, int y, CellPicture picture) override;
    void LevelFlash() override;
    void ClearPaintBoxes() override;
    void RepaintMainWindow() override;
    void SetTimerEnabled(GameTimer timer, bool on) override;
    void SetTimerInterval(GameTimer timer, std::int64_t milliseconds) override;
    void SetStatusText(int panel, const std::string &text) override;
    void SetPanelVisible(GamePanel panel, bool visible) override;
    void ApplyMenus(MenuSet set) override;
    void ShowSummary() override;
    std::int64_t SecondsSinceEpoch() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    static constexpr int OnePlayerWidth = 280;
    static constexpr int TwoPlayerWidth = 560;

    void CreateWidgets();
    void ConnectMenu();
    void FormCreate();
    void RunStartupBlock();
    bool SaveOnClose(); // true when every file was written
    void CentreOverlay(QWidget *panel);
    void SetDifficulty(const char *difficulty);
    void SetPlayers(int players);
    void SetMode(const char *mode);
    void ApplyMode(); // the menu's mark and the music file follow the mode
    void PiecePreviewClick();
    void ShowPlainMessage(const QString &text);
    void ScheduleRepeat();
    void ForgetHeldKeys();

    AppState &app_;
    Game game_;
    PeriodTimer timer1_;
    PeriodTimer levelTimer_;
    MainMenu menu_;
    MainWindowDialogs noDialogs_;
    MainWindowDialogs *dialogs_ = &noDialogs_;

    // Held keys repeat through the game's own timer, at the desktop's delay and rate.
    KeyRepeat keys_;
    DesktopKeyRepeat desktopRepeat_;
    QTimer repeatTimer_;
    QElapsedTimer clock_;

    QWidget *client_ = nullptr; // draws the background
    PitPanel *player1panel_ = nullptr;
    PitPanel *player2panel_ = nullptr;
    QFrame *logoPanel_ = nullptr;
    QFrame *pausePanel_ = nullptr;
    PreviewPanel *previewpanel_ = nullptr;
    PreviewPanel *previewPanel2_ = nullptr;
    StatusStrip *status_ = nullptr;
    std::unique_ptr<PitRenderer> renderer_;

    QStringList startupMessages_;
    bool closing_ = false;
};

} // namespace vorlix
