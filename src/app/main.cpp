#include "app/AboutBox.h"
#include "app/AppState.h"
#include "app/CloseSignals.h"
#include "app/DesktopPlatform.h"
#include "app/MainWindow.h"
#include "app/SplashScreen.h"
#include "render/PictureSet.h"
#include "scores/dialog/HighScoresDialog.h"
#include "scores/dialog/SummaryDialog.h"
#include "settings/dialog/ControlForm.h"
#include "ui/MainWindowLink.h"
#include "ui/MainWindowLock.h"
#include "ui/MessageBox.h"
#include "ui/GameFont.h"
#include "ui/WindowHints.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>

#include <memory>
#include <string>
#include <unistd.h>

using namespace vorlix;

namespace {

// The folder that holds the program file, ending in "/", as the file system names it: bytes
// that need not be valid text. Qt's text file names would replace such a byte and name a
// folder that does not exist.
std::string ProgramFolder()
{
    std::string path(4096, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
        if (n <= 0)
            break;
        if (static_cast<std::size_t>(n) < path.size()) {
            path.resize(static_cast<std::size_t>(n));
            return path.substr(0, path.rfind('/') + 1);
        }
        path.resize(path.size() * 2);
    }
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString() + "/";
}

// The windows made after the main window, and what joins them to it.
class Windows final : public MainWindowLink, public MainWindowDialogs {
public:
    Windows(AppState &state, MainWindow &mainWindow)
        : mainWindow_(mainWindow),
          lock_([&mainWindow](bool enabled) { mainWindow.setEnabled(enabled); }, mainWindow),
          highScores_(state.settings, state.scores, *this),
          summary_(state.game, state.settings, state.scores, highScores_, *this),
          controlForm_(state.settings, state.pictures, *this)
    {
        QObject::connect(&controlForm_, &TControlForm::LevelTimeChanged, &mainWindow, &MainWindow::ApplyLevelTimerInterval);
        QObject::connect(&controlForm_, &TControlForm::PitBevelChanged, &mainWindow, &MainWindow::SetPitBevel);
        QObject::connect(&controlForm_, &TControlForm::Accepted, &mainWindow, &MainWindow::ReAdjustSize);
        mainWindow.SetDialogs(*this);
    }

    void Hold(QWidget *dialog) override { lock_.Hold(dialog); }
    void Release(QWidget *dialog) override { lock_.Release(dialog); }
    void RepaintMainWindow() override { mainWindow_.RepaintMainWindow(); }
    QWidget &Window() override { return mainWindow_; }

    void OpenSummary() override { summary_.ShowForGameEnd(); }
    void OpenHighScores() override { highScores_.ShowFromMenu(); }
    void OpenSettings() override { controlForm_.ShowFromMenu(); }
    void OpenAbout() override
    {
        // Modal, so the main window is disabled while it is up, and cannot be left minimised.
        lock_.Hold(&aboutBox_);
        aboutBox_.windowHandle()->setTransientParent(mainWindow_.windowHandle());
        CentreOnScreen(&aboutBox_, mainWindow_.screen(), &mainWindow_);
        aboutBox_.exec();
        lock_.Release(&aboutBox_);
    }
    void FinishOpen() override
    {
        if (summary_.isVisible())
            summary_.close();
        if (controlForm_.isVisible())
            controlForm_.close();
    }
    void TakeOpenResults() override
    {
        if (summary_.isVisible())
            summary_.TakeResult();
    }
    void HideAll() override
    {
        aboutBox_.hide();
        summary_.hide();
        highScores_.hide();
        controlForm_.hide();
    }

private:
    MainWindow &mainWindow_;
    AboutBox aboutBox_;
    MainWindowLock lock_;
    THighScores highScores_;
    TSummery summary_;
    TControlForm controlForm_;
};

} // namespace

int main(int argc, char *argv[])
{
    // Before the application object, which starts the platform at once.
    if (!UseDesktopPlatform(argc, argv))
        return 1;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorlix"));
    QApplication::setWindowIcon(ProgramIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vorlix.Vorlix"));
    UseGameLook(application);

    AppState state;
    auto splash = std::make_unique<SplashScreen>(state.pictures.Splash);
    splash->ShowAndPaint();

    // Data files live beside the program, never in the working directory.
    const std::string gameDir = ProgramFolder();

    std::unique_ptr<MainWindow> mainWindow;
    try {
        mainWindow = std::make_unique<MainWindow>(state, gameDir);
    } catch (const StartupFailure &) {
        splash.reset();
        ShowMessage(nullptr, QMessageBox::Warning, QStringLiteral("Warning"),
                    QStringLiteral("Resources could not be loaded.\n"
                                   "This could result in moving the game directory.\n"
                                   "Deleting \"Vorlix.ini\" should resolve the problem."));
        return 0;
    }
    // The main window shows as soon as it exists, before the other windows are created.
    mainWindow->show();
    splash->hide();
    QApplication::processEvents();

    // The other windows, created once in their fixed order.
    Windows windows(state, *mainWindow);
    splash.reset();

    // From here on a logout or kill closes the game as its window does. The messages wait for
    // the event loop, so that such a close can end it while one is up.
    CloseSignals closeSignals([&] { mainWindow->CloseBySignal(); });
    DisplayLoss displayLoss([&] { mainWindow->SaveAtLostDisplay(); });
    QTimer::singleShot(0, mainWindow.get(), &MainWindow::ShowStartupMessages);
    return QApplication::exec();
}
