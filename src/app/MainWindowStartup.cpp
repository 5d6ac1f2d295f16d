#include "app/MainWindow.h"

#include "scores/HighScoreFile.h"
#include "settings/SettingsFile.h"
#include "ui/MessageBox.h"

#include <QCoreApplication>

#include <cstdio>
#include <utility>

namespace vorlix {

void MainWindow::FormCreate()
{
    app_.game.GameStopped = true;
    app_.game.Paused = false;

    const std::string &dir = app_.settings.GameDir;
    const HighScoreLoadResult scores = LoadHighScores(app_.scores, dir + HighScoreFileName);
    if (scores.Status == HighScoreLoadStatus::Failed)
        startupMessages_ << QStringLiteral("High scores could not be read: %1").arg(FileNameText(scores.Message));

    const SettingsLoadResult settings = LoadSettings(dir + SettingsFileName, app_.settings);
    if (settings.status == SettingsFileStatus::Unreadable) {
        app_.keepSettingsFile = true;
        startupMessages_ << FileNameText(settings.message);
    }

    RunStartupBlock();
    game_.WriteStartupStatus();
}

void MainWindow::RunStartupBlock()
{
    Settings &s = app_.settings;
    if (!app_.pictures.LoadAll(s))
        throw StartupFailure("Resources could not be loaded.");

    game_.ApplyLevelTimerInterval();
    menu_.MarkDifficulty(s.Difficulty);
    ApplyMode();
    menu_.PiecePreview->setChecked(s.Preview == 1);
    menu_.MarkPlayers(!s.TwoPlayers());
    ReAdjustSize();
    // No sound or music is ever played.
    s.Sound = 0;
    s.Music = 0;
    menu_.mnuSound->setEnabled(false);
    menu_.mnuMusic->setEnabled(false);
    menu_.mnuSound->setChecked(false);
    menu_.mnuMusic->setChecked(false);
}

void MainWindow::ShowStartupMessages()
{
    const QStringList messages = std::exchange(startupMessages_, {});
    for (const QString &message : messages) {
        // A signal closed the program while an earlier message was up.
        if (closing_)
            return;
        ShowMessage(this, QMessageBox::Warning, QStringLiteral("Warning"), message);
    }
    if (app_.settings.FullScreen && !closing_)
        ShowPlainMessage(QStringLiteral("No Full Screen support yet!"));
}

void MainWindow::SaveOnClose()
{
    const std::string &dir = app_.settings.GameDir;
    std::vector<std::pair<std::string, std::string>> failures; // path, error
    const std::string scoresPath = dir + HighScoreFileName;
    const HighScoreSaveResult scores = SaveHighScores(app_.scores, scoresPath);
    if (!scores.Error.empty())
        failures.emplace_back(scoresPath, scores.Error);
    if (!app_.keepSettingsFile) {
        const std::string settingsPath = dir + SettingsFileName;
        if (std::string error = SaveSettings(settingsPath, app_.settings); !error.empty())
            failures.emplace_back(settingsPath, std::move(error));
    }
    QStringList notes;
    if (!failures.empty())
        notes << SaveFailureText(failures);
    // The start-up warning said the scores could not be read; say where that file went.
    if (!scores.Backup.empty())
        notes << QStringLiteral("The high-score file that could not be read was kept as \"%1\".")
                     .arg(FileNameText(scores.Backup));
    if (notes.isEmpty())
        return;
    if (quietClose_)
        std::fprintf(stderr, "%s\n", qPrintable(notes.join(QStringLiteral("\n\n"))));
    else
        ShowMessage(nullptr, failures.empty() ? QMessageBox::Information : QMessageBox::Warning,
                    failures.empty() ? QCoreApplication::applicationName() : QStringLiteral("Warning"),
                    notes.join(QStringLiteral("\n\n")));
}

} // namespace vorlix
