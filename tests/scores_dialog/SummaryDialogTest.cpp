#include "DialogFixture.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>

#include <climits>

namespace vorlix {
namespace {

using SummaryDialog = DialogFixture;

TEST_F(SummaryDialog, OnePlayerResultThatRanksIsEnteredUnderTheTypedName)
{
    EndOnePlayerGame(4300, 2);

    EXPECT_TRUE(summary->isVisible());
    EXPECT_EQ(summary->windowTitle(), "Game Summery");
    EXPECT_EQ(SummaryLines(), (std::vector<std::string>{"Game: Points Easy", "Level: 3", "Score: 4300",
                                                        "Bonus: 2 x 2000", "Lines: 12", "Pieces: 85",
                                                        "Total Score: 8300",
                                                        "Congratulations, you got a high score! Enter your name:"}));
    EXPECT_TRUE(summary->NameEdit->isEnabled());
    EXPECT_EQ(summary->focusWidget(), summary->NameEdit);
    EXPECT_EQ(summary->NameEdit->text(), "Blah");

    summary->NameEdit->setText("abc");
    summary->SumOK->click();

    EXPECT_EQ(settings.PlayerName, "abc");
    // Saved at once: a crash or a lost display later cannot take it away.
    HighScores saved;
    ASSERT_EQ(LoadHighScores(saved, settings.GameDir + HighScoreFileName).Status, HighScoreLoadStatus::Loaded);
    EXPECT_EQ(saved.EasyScores, scores.EasyScores);

    EXPECT_TRUE(mainEnabled);
    EXPECT_EQ(repaints, 2);
    EXPECT_FALSE(summary->isVisible());
    ASSERT_TRUE(highScores->isVisible());
    EXPECT_TRUE(highScores->EasyRadio->isChecked());
    EXPECT_EQ(Shown(highScores->Rows[0]), (std::vector<std::string>{"abc", "P", "3", "12", "85", "2", "8300"}));

    // The typed name is the next summary's name.
    highScores->Button1Click();
    EndOnePlayerGame(10, 0);
    EXPECT_EQ(summary->NameEdit->text(), "abc");
}

// The bonus line shows the mode's bonus value, which the total and the stored entry use; the
// ranking test counts 2000 per bonus. A result that does not rank stores nothing, leaves OK
// focused and still opens the table. A total beyond the entry's range is shown exactly and
// stored pinned; a difficulty with no table stores nothing. A game stopped from the menu
// leaves the last two-player game's winner, and enters the table like any other.
TEST_F(SummaryDialog, FiguresShownRankedAndStored)
{
    struct Case {
        const char *mode, *difficulty;
        std::int32_t bonusValue;
        std::uint32_t tableScores; // every entry of every table
        std::int32_t score;
        std::uint8_t bonuses;
        const char *bonus, *total;
        bool ranks;
        std::uint32_t stored; // at the top; 0: the tables stay as they were
    };
    const Case cases[] = {
        {"Points", "Easy", 500, 0, 1000, 1, "1 x 500", "1500", true, 1500},
        {"Points", "Easy", 500, 2000, 1000, 1, "1 x 500", "1500", true, 0},
        {"Points", "Easy", 2000, 20000, 1000, 1, "1 x 2000", "3000", false, 0},
        {"Aggressive", "Hard", 300, 0, 100, 3, "3 x 300", "1000", true, 1000},
        {"Points", "Medium", 2000, 0, INT32_MAX, 255, "255 x 2000", "2147993647", true, INT32_MAX},
        {"Points", "Easy", 2000, 0, -1000, 1, "1 x 2000", "1000", true, 1000},
        {"Points", "easy", 2000, 0, 5000, 0, "0 x 2000", "5000", false, 0},
    };
    state.Winner = 2;
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + c.difficulty + " score " + std::to_string(c.score));
        settings.Mode = c.mode;
        settings.Difficulty = c.difficulty;
        settings.PBonus = settings.Aggressive() ? 9999 : c.bonusValue;
        settings.ABonus = settings.Aggressive() ? c.bonusValue : 9999;
        scores = HighScores{};
        for (HighScoreTable *table : {&scores.EasyScores, &scores.MediumScores, &scores.HardScores})
            for (HighScoreEntry &entry : *table)
                entry.Score = c.tableScores;
        const std::string before = EncodeHighScores(scores);

        EndOnePlayerGame(c.score, c.bonuses);
        EXPECT_EQ(Text(summary->GameLabel), QString("Game: ") + c.mode + " " + c.difficulty);
        EXPECT_EQ(Text(summary->BonusLabel), QString("Bonus: ") + c.bonus);
        EXPECT_EQ(Text(summary->TotalLabel), QString("Total Score: ") + c.total);
        EXPECT_EQ(summary->NameEdit->isEnabled(), c.ranks);
        EXPECT_EQ(summary->focusWidget(), c.ranks ? static_cast<QWidget *>(summary->NameEdit) : summary->SumOK);
        EXPECT_EQ(Text(summary->MessageLabel), c.ranks ? "Congratulations, you got a high score! Enter your name:"
                                                       : "Sorry, you did not get a high score! Try again next time.");
        summary->SumOK->click();
        EXPECT_TRUE(highScores->isVisible());
        if (c.stored) {
            const HighScoreEntry &entry = (*TableForDifficulty(scores, settings.DifficultyIndex()))[0];
            EXPECT_EQ(entry.Score, c.stored);
            EXPECT_EQ(entry.Mode, c.mode[0]);
            EXPECT_EQ(entry.Bonuses, c.bonuses);
        } else {
            EXPECT_EQ(EncodeHighScores(scores), before);
        }
        highScores->Button1Click();
    }
}

TEST_F(SummaryDialog, TwoPlayerGameShowsBothFinalScoresAndStoresNothing)
{
    settings.NumberOfPlayers = 2;
    settings.PBonus = 100; // the finals use 2000 per bonus whatever the setting
    state.Player1().Score = 700;
    state.Player1().Bonuses = 1;
    state.Player2().Score = 50;
    state.Player2().Bonuses = 2;
    state.Winner = 2;
    summary->ShowForGameEnd();

    // The lines and pieces are left out.
    EXPECT_EQ(SummaryLines(), (std::vector<std::string>{"Game: Points Easy", "Level: 0", "Final Score Player 1: 2700",
                                                        "Final Score Player 2: 4050", "Winner: Player 2", " "}));
    EXPECT_FALSE(summary->NameEdit->isEnabled());

    summary->NameEdit->setText("typed");
    summary->SumOK->click();
    EXPECT_EQ(settings.PlayerName, "Blah");
    EXPECT_EQ(scores.EasyScores, HighScoreTable{});
    EXPECT_FALSE(highScores->isVisible());
    EXPECT_TRUE(mainEnabled);

    // Stopped from the menu before either pit overflowed; any count but 1 plays as two.
    settings.NumberOfPlayers = 3;
    state.Winner = 0;
    summary->ShowForGameEnd();
    EXPECT_EQ(Text(summary->TotalLabel), "Winner: none");

    // Back to one player, the lines hidden by the two-player summary come back.
    settings.NumberOfPlayers = 1;
    summary->ShowForGameEnd();
    EXPECT_FALSE(summary->PiecesLabel->isHidden());
}

TEST_F(SummaryDialog, NamesAreStoredAsLatin1AndShownAsPlainText)
{
    EndOnePlayerGame(500, 0);
    summary->NameEdit->setText(QString::fromUtf8("Zo\xC3\xAB \xE2\x82\xAC<b>"));
    summary->SumOK->click();
    EXPECT_EQ(settings.PlayerName, "Zo\xEB ?<b>");
    EXPECT_EQ(EntryName(scores.EasyScores[0]), "Zo\xEB ?<b>");
    EXPECT_EQ(highScores->Rows[0].Name->text(), QString::fromUtf8("Zo\xC3\xAB ?<b>"));
    EXPECT_EQ(highScores->Rows[0].Name->textFormat(), Qt::PlainText);

    // A long configured name is cut to the box's 30 characters.
    settings.PlayerName = std::string(40, 'x');
    EndOnePlayerGame(600, 0);
    EXPECT_EQ(summary->NameEdit->text().size(), 30);
}

// Return runs OK; keys that were down as the summary opened (X key codes: 36 Return, 38 A,
// 65 Space), and keys pressed in its first half second, do nothing until they
// are released, whatever the desktop repeats. A key released while the keyboard was elsewhere
// is let go when it comes back (FocusIn).
TEST_F(SummaryDialog, KeysInTheNameBox)
{
    struct Key {
        QEvent::Type type;
        Qt::Key key;
        std::uint32_t code;
        bool repeat = false;
    };
    const auto press = [](Qt::Key key, std::uint32_t code, bool repeat = false) {
        return Key{QEvent::KeyPress, key, code, repeat};
    };
    const auto release = [](Qt::Key key, std::uint32_t code, bool repeat = false) {
        return Key{QEvent::KeyRelease, key, code, repeat};
    };
    const struct {
        const char *name;
        std::vector<std::uint32_t> down;
        std::vector<Key> keys;
        bool stillOpen;
        const char *result; // the name in the box while open, else the one stored
        std::int64_t at = 500; // when the keys come, in ms after the summary appeared
    } cases[] = {
        {"Return", {}, {press(Qt::Key_Return, 36)}, false, "ret"},
        {"held Space", {65}, {press(Qt::Key_Space, 65, true), press(Qt::Key_Space, 65)}, true, "ret"},
        {"held Return", {36}, {press(Qt::Key_Return, 36, true), press(Qt::Key_Return, 36)}, true, "ret"},
        {"A pressed while Space is held", {65}, {press(Qt::Key_A, 38)}, true, "a"},
        {"Space released and pressed again",
         {65},
         {release(Qt::Key_Space, 65, true), press(Qt::Key_Space, 65), release(Qt::Key_Space, 65),
          press(Qt::Key_Space, 65)},
         true,
         " "},
        {"Return released and pressed again", {36}, {release(Qt::Key_Return, 36), press(Qt::Key_Return, 36)}, false, "ret"},
        {"Space released elsewhere", {65}, {{QEvent::FocusIn, Qt::Key_Space, 65}, press(Qt::Key_Space, 65)}, true, " "},
        {"Space and Return tapped at once", {}, {press(Qt::Key_Space, 65), release(Qt::Key_Space, 65), press(Qt::Key_Return, 36)}, true, "ret", 100},
    };
    std::int32_t score = 500;
    static std::int64_t now = 0;
    static std::vector<std::uint32_t> down;
    summary->HeldKeys.NowMs = [] { return now; };
    summary->HeldKeys.ReadKeysDown = [] { return down; };
    for (const auto &c : cases) {
        settings.PlayerName = "ret";
        down = c.down;
        EndOnePlayerGame(score += 100, 0);
        now += c.at;
        for (const Key &k : c.keys) {
            if (k.type == QEvent::FocusIn) { // its key up meanwhile
                down.clear();
                emit qGuiApp->focusWindowChanged(summary->windowHandle());
                continue;
            }
            const QString text = k.key <= 0xFFFF ? QString(QChar(k.key)).toLower() : QString(); // none for Return
            QKeyEvent event(k.type, k.key, Qt::NoModifier, k.code, 0, 0, text, k.repeat);
            QApplication::sendEvent(summary->NameEdit, &event);
        }
        EXPECT_EQ(summary->isVisible(), c.stillOpen) << c.name;
        if (c.stillOpen) {
            EXPECT_EQ(summary->NameEdit->text().toStdString(), c.result) << c.name;
            summary->SumOKClick();
        } else {
            EXPECT_EQ(scores.EasyScores[0].Score, static_cast<std::uint32_t>(score)) << c.name;
            EXPECT_EQ(EntryName(scores.EasyScores[0]), c.result) << c.name;
        }
    }
}

// Which windows are open decides whether the main window is enabled, whatever order they are
// answered in. The high scores shown after a summary leave it enabled, so a new game, the
// settings or the table from the menu can follow while that window is still open.
TEST_F(SummaryDialog, TheMainWindowIsEnabledOnlyWhenNoWindowHoldsIt)
{
    enum Step { GameEnds, SummaryOk, MenuHighScores, HighScoresOk, MenuSettings, SettingsOk };
    struct Case {
        const char *name;
        std::vector<std::pair<Step, bool>> steps; // each step, then whether the main window is enabled
    };
    const Case cases[] = {
        {"table after a summary, then the settings",
         {{GameEnds, false}, {SummaryOk, true}, {MenuSettings, false}, {HighScoresOk, false}, {SettingsOk, true}}},
        {"settings answered before the table",
         {{GameEnds, false}, {SummaryOk, true}, {MenuSettings, false}, {SettingsOk, true}, {HighScoresOk, true}}},
        {"a second game ends while the table is open",
         {{GameEnds, false}, {SummaryOk, true}, {GameEnds, false}, {HighScoresOk, false}, {SummaryOk, true},
          {HighScoresOk, true}}},
        {"table from the menu", {{MenuHighScores, false}, {HighScoresOk, true}}},
        {"table from the menu over the one a summary opened",
         {{GameEnds, false}, {SummaryOk, true}, {MenuHighScores, false}, {HighScoresOk, true}}},
    };
    QWidget settingsDialog; // stands in for the settings dialog, which holds the same way
    for (const Case &c : cases) {
        for (const auto &[step, enabled] : c.steps) {
            switch (step) {
            case GameEnds:
                // As the game does: the main window is disabled, then the summary shown.
                mainEnabled = false;
                EndOnePlayerGame(100, 0);
                break;
            case SummaryOk: summary->SumOK->click(); break;
            case MenuHighScores: highScores->ShowFromMenu(); break;
            case HighScoresOk: highScores->Button1->click(); break;
            case MenuSettings: lock.Hold(&settingsDialog); break;
            case SettingsOk: lock.Release(&settingsDialog); break;
            }
            EXPECT_EQ(mainEnabled, enabled) << c.name << ", step " << step;
        }
        EXPECT_FALSE(lock.Held()) << c.name;
        EXPECT_FALSE(summary->isVisible() || highScores->isVisible()) << c.name;
    }
}

} // namespace
} // namespace vorlix
