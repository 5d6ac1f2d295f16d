#include "scores/dialog/SummaryDialog.h"

#include "common/Saturate.h"
#include "scores/HighScoreFile.h"
#include "scores/dialog/HighScoresDialog.h"
#include "ui/GameFont.h"
#include "ui/MessageBox.h"
#include "ui/Widgets.h"
#include "ui/WindowHints.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

namespace vorlix {

namespace {

// The summary's own bonus value for the ranking test and the two-player finals.
constexpr std::int64_t FixedBonusValue = 2000;

QString Latin1(const std::string &text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

// Taps meant for the game go on for a moment after it ends (a hard drop hammered as the pit
// fills): for this long none of them replaces the offered name or presses OK before the
// player has seen the figures.
constexpr std::int64_t QuietStartMs = 500;

// The lines end inside the frame, as far from its right edge as they start from its left.
constexpr int LinesRight = 177;

QLabel *MakeLine(QWidget *parent, const QString &objectName, int left, int top, const QString &text)
{
    auto *label = new FitLabel(parent);
    label->setObjectName(objectName);
    label->setText(text);
    label->move(left, top);
    label->setFixedWidth(LinesRight + 1 - left);
    label->adjustSize();
    return label;
}

std::int64_t FinalScore(const PlayerState &player, std::int64_t bonusValue)
{
    return static_cast<std::int64_t>(player.Score) + player.Bonuses * bonusValue;
}

} // namespace

TSummery::TSummery(const GameState &state, Settings &settings, HighScores &scores,
                   THighScores &highScores, MainWindowLink &mainWindow)
    : OkDialog(mainWindow), state_(state), settings_(settings), scores_(scores), highScores_(highScores)
{
    setObjectName(QStringLiteral("Summery"));
    MakeDialogWindow(this, QStringLiteral("Game Summery"), 187, 230);

    MakeBevel(this, QStringLiteral("Bevel1"), 2, 2, 182, 193);
    GameLabel = MakeLine(this, QStringLiteral("GameLabel"), 8, 8, QStringLiteral("Game:"));
    LevelLabel = MakeLine(this, QStringLiteral("LevelLabel"), 8, 23, QStringLiteral("Level: "));
    ScoreLabel = MakeLine(this, QStringLiteral("ScoreLabel"), 8, 38, QStringLiteral("Score: "));
    BonusLabel = MakeLine(this, QStringLiteral("BonusLabel"), 8, 53, QStringLiteral("Bonus: "));
    LinesLabel = MakeLine(this, QStringLiteral("LinesLabel"), 8, 68, QStringLiteral("Lines: "));
    PiecesLabel = MakeLine(this, QStringLiteral("PiecesLabel"), 8, 83, QStringLiteral("Pieces: "));
    TotalLabel = MakeLine(this, QStringLiteral("TotalLabel"), 9, 99, QStringLiteral("Total Score: "));
    MakeBold(TotalLabel);

    MessageLabel = MakeLabel(this, QStringLiteral("MessageLabel"), 6, 118);
    MessageLabel->setWordWrap(true);
    MessageLabel->setGeometry(6, 118, 171, 26);
    MessageLabel->setAccessibleName(QStringLiteral("High score message"));

    NameEdit = new QLineEdit(this);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    NameEdit->setAccessibleName(QStringLiteral("Player name"));
    NameEdit->setMaxLength(static_cast<int>(HighScoreNameSize));
    NameEdit->setGeometry(33, 162, 121, 21);
    connect(NameEdit, &QLineEdit::returnPressed, this, &TSummery::SumOKClick);

    SumOK = MakeFlatButton(this, QStringLiteral("SumOK"), QStringLiteral("&OK"), QStringLiteral("OK"), {67, 200, 53, 28});
    connect(SumOK, &QPushButton::clicked, this, &TSummery::SumOKClick);
}

std::int32_t TSummery::BonusValue() const
{
    return settings_.Aggressive() ? settings_.ABonus : settings_.PBonus;
}

std::int32_t TSummery::SummaryTotal() const
{
    return SaturateToInt32(FinalScore(state_.Player1(), BonusValue()));
}

void TSummery::ShowForGameEnd()
{
    HeldKeys.Start(QuietStartMs);
    mainWindow_.Hold(this);
    FormShow();
    PresentDialog(this, mainWindow_.Window(), NameEdit->isEnabled() ? static_cast<QWidget *>(NameEdit) : SumOK);
}

void TSummery::FormShow()
{
    const PlayerState &player1 = state_.Player1();
    GameLabel->setText(QStringLiteral("Game: ") + Latin1(settings_.Mode) + QLatin1Char(' ') + Latin1(settings_.Difficulty));
    LevelLabel->setText(QStringLiteral("Level: ") + QString::number(state_.Level));
    NameEdit->setText(Latin1(settings_.PlayerName));
    NameEdit->setEnabled(false);

    if (!settings_.TwoPlayers()) {
        ScoreLabel->setText(QStringLiteral("Score: ") + QString::number(player1.Score));
        BonusLabel->setText(QStringLiteral("Bonus: ") + QString::number(player1.Bonuses) + QStringLiteral(" x ") +
                            QString::number(BonusValue()));
        PiecesLabel->show();
        LinesLabel->show();
        PiecesLabel->setText(QStringLiteral("Pieces: ") + QString::number(state_.Pieces));
        LinesLabel->setText(QStringLiteral("Lines: ") + QString::number(state_.Player1Clears));
        TotalLabel->setText(QStringLiteral("Total Score: ") + QString::number(FinalScore(player1, BonusValue())));
        MessageLabel->setText(QStringLiteral("Sorry, you did not get a high score! Try again next time."));

        const HighScoreTable *table = TableForDifficulty(scores_, settings_.DifficultyIndex());
        const std::int32_t testTotal = SaturateToInt32(FinalScore(player1, FixedBonusValue));
        if (table && FindHighScorePlace(*table, testTotal)) {
            MessageLabel->setText(QStringLiteral("Congratulations, you got a high score! Enter your name:"));
            NameEdit->setEnabled(true);
            NameEdit->selectAll();
            NameEdit->setFocus();
        }
    } else {
        ScoreLabel->setText(QStringLiteral("Final Score Player 1: ") + QString::number(FinalScore(player1, FixedBonusValue)));
        BonusLabel->setText(QStringLiteral("Final Score Player 2: ") +
                            QString::number(FinalScore(state_.Player2(), FixedBonusValue)));
        // Winner 0: the game was stopped before either pit overflowed.
        TotalLabel->setText(state_.Winner == 0 ? QStringLiteral("Winner: none")
                                              : QStringLiteral("Winner: Player ") + QString::number(state_.Winner));
        MessageLabel->setText(QStringLiteral(" "));
        PiecesLabel->hide();
        LinesLabel->hide();
    }
}

bool TSummery::TakeResult()
{
    // A close at a logout runs OK again while the warning below waits: the result is taken
    // already, and that close saves it.
    if (okRunning_ || settings_.TwoPlayers())
        return false;
    settings_.PlayerName = NameEdit->text().toLatin1().toStdString();
    HighScoreTable *table = TableForDifficulty(scores_, settings_.DifficultyIndex());
    const std::int32_t total = SummaryTotal();
    const auto place = table ? FindHighScorePlace(*table, total) : std::nullopt;
    if (!place)
        return false;
    const PlayerState &player1 = state_.Player1();
    InsertHighScore(scores_, *table, *place,
                    HighScoreResult(settings_.PlayerName, total, settings_.Mode, state_.Level,
                                    static_cast<std::uint32_t>(state_.Player1Clears),
                                    static_cast<std::uint32_t>(state_.Pieces), player1.Bonuses));
    return true;
}

void TSummery::SumOKClick()
{
    mainWindow_.Release(this);
    if (!settings_.TwoPlayers()) {
        if (TakeResult()) {
            const QScopedValueRollback running(okRunning_, true);
            // Saved at once, so a crash or a lost display later cannot take it away.
            const std::string path = settings_.GameDir + HighScoreFileName;
            if (const std::string error = SaveHighScores(scores_, path).Error; !error.empty())
                ShowMessage(this, QMessageBox::Warning, QStringLiteral("Warning"), SaveFailureText({{path, error}}));
            // That close has ended the run meanwhile.
            if (!isVisible())
                return;
        }
        highScores_.ShowFromSummary();
    }
    mainWindow_.RepaintMainWindow();
    hide();
    mainWindow_.RepaintMainWindow();
}

} // namespace vorlix
