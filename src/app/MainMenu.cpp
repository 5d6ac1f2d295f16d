#include "app/MainMenu.h"

#include <QMenuBar>

namespace vorlix {

namespace {

QAction *AddItem(QMenu *menu, const QString &caption, const QKeySequence &shortcut = {},
                 bool checkable = false)
{
    QAction *action = menu->addAction(caption);
    action->setShortcut(shortcut);
    action->setCheckable(checkable);
    return action;
}

} // namespace

void MainMenu::Build(QMenuBar *bar)
{
    Game1 = bar->addMenu(QStringLiteral("&Game"));
    NewGame1 = AddItem(Game1, QStringLiteral("&New Game"), QKeySequence(Qt::Key_F2));
    Pause1 = AddItem(Game1, QStringLiteral("&Pause "));
    Pause1->setEnabled(false);
    StopGame1 = AddItem(Game1, QStringLiteral("&Stop Game"));
    StopGame1->setEnabled(false);
    Game1->addSeparator();
    HighScores1 = AddItem(Game1, QStringLiteral("&High Scores"), QKeySequence(Qt::CTRL | Qt::Key_H));
    Game1->addSeparator();
    Exit1 = AddItem(Game1, QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_X));

    Options1 = bar->addMenu(QStringLiteral("&Options"));
    mnuDifficulty = Options1->addMenu(QStringLiteral("&Difficulty"));
    Easy = AddItem(mnuDifficulty, QStringLiteral("&Easy"), {}, true);
    Medium = AddItem(mnuDifficulty, QStringLiteral("&Medium"), {}, true);
    Hard = AddItem(mnuDifficulty, QStringLiteral("&Hard"), {}, true);
    mnuPlayers = Options1->addMenu(QStringLiteral("&Players"));
    mnuOnePlayer = AddItem(mnuPlayers, QStringLiteral("&One Player"), {}, true);
    mnuTwoPlayers = AddItem(mnuPlayers, QStringLiteral("&Two Players"), {}, true);
    Mode1 = Options1->addMenu(QStringLiteral("&Mode"));
    mnuPoints = AddItem(Mode1, QStringLiteral("&Points"), {}, true);
    mnuAgressive = AddItem(Mode1, QStringLiteral("&Aggressive"), {}, true);
    Options1->addSeparator();
    Settings = AddItem(Options1, QStringLiteral("&Settings"), QKeySequence(Qt::CTRL | Qt::Key_S));
    Options1->addSeparator();
    mnuFullScreen = AddItem(Options1, QStringLiteral("&Full Screen"), {}, true);
    mnuFullScreen->setEnabled(false);
    PiecePreview = AddItem(Options1, QStringLiteral("Piece P&review"), {}, true);
    mnuSound = AddItem(Options1, QStringLiteral("&Sound"), {}, true);
    mnuMusic = AddItem(Options1, QStringLiteral("M&usic"), {}, true);

    Help1 = bar->addMenu(QStringLiteral("&Help"));
    About1 = AddItem(Help1, QStringLiteral("&About"));
    HowtoPlay1 = AddItem(Help1, QStringLiteral("&How to Play"));
    HowtoPlay1->setEnabled(false);
}

void MainMenu::Apply(MenuSet set)
{
    const bool noGame = set == MenuSet::NoGame;
    NewGame1->setEnabled(noGame);
    mnuDifficulty->menuAction()->setEnabled(noGame);
    StopGame1->setEnabled(!noGame);
    Pause1->setEnabled(!noGame);
    HighScores1->setEnabled(noGame);
    About1->setEnabled(noGame);
    Settings->setEnabled(noGame);
    HowtoPlay1->setEnabled(noGame);
    mnuPlayers->menuAction()->setEnabled(noGame);
    Mode1->menuAction()->setEnabled(noGame);
}

void MainMenu::MarkDifficulty(std::optional<std::size_t> difficulty)
{
    const std::array items{Easy, Medium, Hard};
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i]->setChecked(i == difficulty.value_or(0));
}

void MainMenu::MarkPlayers(bool onePlayer)
{
    mnuOnePlayer->setChecked(onePlayer);
    mnuTwoPlayers->setChecked(!onePlayer);
}

void MainMenu::MarkMode(bool aggressive)
{
    mnuAgressive->setChecked(aggressive);
    mnuPoints->setChecked(!aggressive);
}

} // namespace vorlix
