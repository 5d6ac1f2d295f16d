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
    app_.keepSettingsFile = settings.status == SettingsFileStatus::Unreadable;
    if (!settings.message.empty())
        startupMessages_ << FileNameText(settings.message);

    RunStartupBlock();
    game_.WriteStartupStatus();
}

void MainWindow::RunStartupBlock()
{
    Settings &s = app_.settings;
    if (!app_.pictures.LoadAll(s))
        throw StartupFailure("Resources could not be loaded.");

    game_.ApplyLevelTimerInterval();
    menu_.MarkDifficulty(s.DifficultyIndex());
    ApplyMode();
    menu_.PiecePreview->setChecked(s.Preview == 1);
    menu_.MarkPlayers(!s.TwoPlayers());
    ReAdjustSize();
    // No sound or music is ever played.
    s.Sound = 0;
    s.Music = 0;
    menu_.mnuSound->setEnabled(false);
    menu_.mnuMusic->setEnabled(false);
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

bool MainWindow::SaveOnClose()
{
    const std::string &dir = app_.settings.GameDir;
    std::vector<std::pair<std::string, std::string>> failures; // path, error
    QStringList notes;
    // A file that could not be used was kept; the start-up warning said so, this says where.
    const auto save = [&](const std::string &path, const SaveResult &result, const char *what) {
        if (!result.Error.empty())
            failures.emplace_back(path, result.Error);
        if (!result.Backup.empty())
            notes << QStringLiteral("The %1 file that could not be read was kept as \"%2\".")
                         .arg(QLatin1String(what), FileNameText(result.Backup));
    };
    save(dir + HighScoreFileName, SaveHighScores(app_.scores, dir + HighScoreFileName), "high-score");
    if (!app_.keepSettingsFile)
        save(dir + SettingsFileName, SaveSettings(dir + SettingsFileName, app_.settings), "settings");
    if (!failures.empty())
        notes.prepend(SaveFailureText(failures));
    if (!notes.isEmpty())
        ShowMessage(nullptr, failures.empty() ? QMessageBox::Information : QMessageBox::Warning,
                    failures.empty() ? QCoreApplication::applicationName() : QStringLiteral("Warning"),
                    notes.join(QStringLiteral("\n\n")));
    return failures.empty();
}

void MainWindow::SaveAtLostDisplay()
{
    if (closing_)
        return;
    closing_ = true;
    SendMessagesToStandardError();
    dialogs_->TakeOpenResults();
    if (SaveOnClose())
        std::fprintf(stderr, "%s\n", qPrintable(QStringLiteral("The display was lost; the game saved in %1 as at a close.")
                                                    .arg(FileNameText(app_.settings.GameDir))));
}

} // namespace vorlix
