#include "DialogFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTabBar>

namespace vorlix {
namespace {

using ControlForm = SettingsDialogTest;

TEST_F(ControlForm, SixTabsInOrderWithAudioDisabled)
{
    EXPECT_EQ(form->windowTitle(), "Settings");
    EXPECT_EQ(form->size(), QSize(388, 289));
    EXPECT_EQ(form->parentWidget(), nullptr) << "a disabled main window would disable a child window";
    const QStringList captions = {"Gameplay", "Scoring", "Graphics", "Audio", "Player 1 Controls", "Player 2 Controls"};
    ASSERT_EQ(form->PlayerControls->count(), captions.size());
    for (int i = 0; i < captions.size(); ++i) {
        EXPECT_EQ(form->PlayerControls->tabText(i), captions[i]);
        EXPECT_EQ(form->PlayerControls->isTabEnabled(i), i != TControlForm::TabAudio) << i;
    }
    EXPECT_EQ(form->PlayerControls->currentIndex(), TControlForm::Tabgameplay);
    EXPECT_LE(form->PlayerControls->tabBar()->sizeHint().width(), form->PlayerControls->width())
        << "every tab in view";
    EXPECT_EQ(form->Defaults->text(), "&Defaults");
    EXPECT_EQ(form->Setbtn->text(), "&Set Controls");
    EXPECT_EQ(form->OkBtn->text(), "&Ok");
    for (QLineEdit *edit : {form->secondsEdit, form->LinesEdit, form->piecesEdit})
        EXPECT_FALSE(edit->isEnabled()) << "the level edits start disabled";
}

TEST_F(ControlForm, EveryControlIsNamedAndReachableByKeyboard)
{
    const auto controls = form->findChildren<QWidget *>();
    int inputs = 0;
    for (QWidget *w : controls) {
        const bool input = qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w) ||
                           qobject_cast<QComboBox *>(w);
        if (!input || w->parentWidget()->inherits("QComboBox") || w->parentWidget()->inherits("QTabBar"))
            continue;
        ++inputs;
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus) << w->objectName().toStdString();
    }
    EXPECT_EQ(inputs, 3 + 8 + 10 + 9 + 6);
    EXPECT_EQ(form->accessibleName(), "Settings");
    EXPECT_TRUE(form->PlayerControls->tabBar()->focusPolicy() & Qt::TabFocus);
}

TEST_F(ControlForm, OpenThenOkChangesNothingButReLaysOutTheMainWindow)
{
    const Settings before = settings;
    Open();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(enabledCalls, std::vector<bool>{false});
    EXPECT_EQ(form->ScoringEdits[7]->text(), "1600");
    EXPECT_EQ(form->secondsEdit->text(), "60");
    EXPECT_TRUE(form->radioseconds->isChecked());
    EXPECT_TRUE(form->secondsEdit->isEnabled());
    EXPECT_TRUE(form->downradio->isChecked());
    EXPECT_TRUE(form->TileRadio->isChecked());
    EXPECT_EQ(form->Player1Keys[0]->text(), "Up Arrow");
    EXPECT_EQ(form->Player2Keys[1]->text(), "Shift");

    form->OkBtn->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(enabledCalls, (std::vector<bool>{false, true}));
    EXPECT_EQ(readjusts, 1);
    EXPECT_EQ(settings.PFour, before.PFour);
    EXPECT_EQ(settings.LevelChangeTime, before.LevelChangeTime);
    EXPECT_TRUE(timerSeconds.empty()) << "filling the edits is no change of the player's";
    EXPECT_EQ(repaints, 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ControlForm, ReopensOnTheTabItWasClosedOn)
{
    Open();
    form->PlayerControls->tabBar()->setCurrentIndex(TControlForm::TabScoring);
    form->OkBtn->click();
    Open();
    EXPECT_EQ(form->PlayerControls->currentIndex(), TControlForm::TabScoring);
}

TEST_F(ControlForm, ControlTabAndPageKeysTurnThePageWhereverTheFocusIs)
{
    using Page = TControlForm::Page;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const struct {
        Page from;
        QWidget *focus;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Page to;
    } cases[] = {
        {TControlForm::Tabgameplay, form->OkBtn, Qt::Key_Tab, ctrl, TControlForm::TabScoring},
        {TControlForm::TabScoring, form->ScoringEdits[0], Qt::Key_Tab, ctrl, TControlForm::TabGraphics},
        {TControlForm::TabGraphics, form->piececombo, Qt::Key_PageDown, ctrl, TControlForm::TabPlayer1},
        {TControlForm::TabPlayer2, form->Setbtn, Qt::Key_Tab, ctrl, TControlForm::Tabgameplay},
        {TControlForm::Tabgameplay, form->OkBtn, Qt::Key_Backtab, ctrl | Qt::ShiftModifier, TControlForm::TabPlayer2},
        {TControlForm::TabPlayer1, form->Defaults, Qt::Key_PageUp, ctrl, TControlForm::TabGraphics},
        {TControlForm::TabScoring, form->PlayerControls->tabBar(), Qt::Key_PageUp, ctrl, TControlForm::Tabgameplay},
    };
    Open();
    for (const auto &c : cases) {
        ShowPage(c.from);
        c.focus->setFocus();
        Press(c.key, c.modifiers);
        EXPECT_EQ(form->PlayerControls->currentIndex(), c.to)
            << "from page " << c.from << " with the focus on " << c.focus->objectName().toStdString();
    }
}

TEST_F(ControlForm, SetControlsOnlyOnThePlayerTabs)
{
    Open();
    for (int page : {TControlForm::Tabgameplay, TControlForm::TabScoring, TControlForm::TabGraphics,
                     TControlForm::TabPlayer1, TControlForm::TabPlayer2, TControlForm::Tabgameplay}) {
        form->PlayerControls->tabBar()->setCurrentIndex(page);
        const bool player = page == TControlForm::TabPlayer1 || page == TControlForm::TabPlayer2;
        EXPECT_EQ(form->Setbtn->isEnabled(), player) << page;
        EXPECT_TRUE(form->Defaults->isEnabled()) << page;
        EXPECT_TRUE(form->OkBtn->isEnabled()) << page;
    }
}

TEST_F(ControlForm, LevelRuleAndEditsTakeEffectAtOnce)
{
    Open();
    form->radioLines->click();
    EXPECT_EQ(settings.LevelChangeBy, 2);
    EXPECT_FALSE(form->secondsEdit->isEnabled());
    EXPECT_TRUE(form->LinesEdit->isEnabled());
    EXPECT_FALSE(form->piecesEdit->isEnabled());

    Type(form->LinesEdit, "7");
    EXPECT_EQ(settings.LevelChangeLines, 7) << "no OK needed";
    EXPECT_TRUE(timerSeconds.empty()) << "only the seconds edit sets the level timer";

    form->radioseconds->click();
    Type(form->secondsEdit, "0x3C");
    EXPECT_EQ(settings.LevelChangeTime, 60);
    Type(form->secondsEdit, "-5");
    EXPECT_EQ(settings.LevelChangeTime, -5) << "no range check";
    EXPECT_EQ(timerSeconds.back(), -5) << "the level timer follows each change";

    form->Radiopieces->click();
    EXPECT_EQ(settings.LevelChangeBy, 3);
    Type(form->piecesEdit, "0");
    EXPECT_EQ(settings.LevelChangePieces, 0);

    form->upradio->click();
    EXPECT_FALSE(settings.GravityDown);
    form->downradio->click();
    EXPECT_TRUE(settings.GravityDown);
    // Every keystroke counts: the texts on the way to "0x3C" and "-5" are reported as they come.
    EXPECT_EQ(boxes, (std::vector<SeenBox>{NotAnInteger("0x"), NotAnInteger("-")}));
}

TEST_F(ControlForm, ABadLevelNumberIsReportedAndTheLastValidValueStays)
{
    Open();
    form->radioLines->click();
    Type(form->LinesEdit, "");
    EXPECT_EQ(boxes, std::vector<SeenBox>{NotAnInteger("")});
    EXPECT_EQ(settings.LevelChangeLines, 5);

    QTest::keyClicks(form->LinesEdit, "1x");
    EXPECT_EQ(boxes, (std::vector<SeenBox>{NotAnInteger(""), NotAnInteger("1x")}));
    EXPECT_EQ(settings.LevelChangeLines, 1);
}

TEST_F(ControlForm, GameplayDefaultsResetTheRuleAndTheTimer)
{
    settings.LevelChangeBy = 7;
    settings.GravityDown = false;
    settings.LevelChangeTime = settings.LevelChangeLines = settings.LevelChangePieces = 7;
    Open();
    EXPECT_FALSE(form->radioseconds->isChecked());
    EXPECT_FALSE(form->radioLines->isChecked());
    EXPECT_FALSE(form->Radiopieces->isChecked());
    EXPECT_FALSE(form->secondsEdit->isEnabled() || form->LinesEdit->isEnabled() || form->piecesEdit->isEnabled());
    EXPECT_TRUE(form->upradio->isChecked());

    form->Defaults->click();
    EXPECT_EQ(settings.LevelChangeBy, 1);
    EXPECT_TRUE(settings.GravityDown);
    EXPECT_EQ(settings.LevelChangeTime, 60);
    EXPECT_EQ(settings.LevelChangeLines, 5);
    EXPECT_EQ(settings.LevelChangePieces, 10);
    EXPECT_EQ(timerSeconds, std::vector<std::int32_t>{60});
    EXPECT_TRUE(form->radioseconds->isChecked());
    EXPECT_TRUE(form->secondsEdit->isEnabled());
    EXPECT_TRUE(form->downradio->isChecked());
    EXPECT_EQ(form->secondsEdit->text(), "60");
}

TEST_F(ControlForm, ScoringValueStoredOnOkAndRestoredByDefaults)
{
    Open();
    ShowPage(TControlForm::TabScoring);
    QLineEdit *pFour = form->findChild<QLineEdit *>("PFourEdit");
    QLineEdit *aBonus = form->findChild<QLineEdit *>("ABonusEdit");
    ASSERT_TRUE(pFour && aBonus);
    Type(pFour, "1500");
    Type(aBonus, "$10");
    EXPECT_EQ(settings.PFour, 1600) << "scoring values wait for OK";
    form->OkBtn->click();
    EXPECT_EQ(settings.PFour, 1500);
    EXPECT_EQ(settings.ABonus, 16);

    Open();
    EXPECT_EQ(pFour->text(), "1500");
    form->Defaults->click();
    EXPECT_EQ(pFour->text(), "1600");
    EXPECT_EQ(aBonus->text(), "2000");
    EXPECT_EQ(settings.PFour, 1600);
    EXPECT_EQ(settings.AOne, 150);
}

TEST_F(ControlForm, ABadScoringValueStopsOkWhereItStands)
{
    Open();
    ShowPage(TControlForm::TabScoring);
    auto edit = [&](const char *name) { return form->findChild<QLineEdit *>(name); };
    Type(edit("AOneEdit"), "151");
    Type(edit("AThreeEdit"), "6 00");
    Type(edit("PFourEdit"), "99");
    ShowPage(TControlForm::TabGraphics);

    form->OkBtn->click();
    EXPECT_EQ(boxes, std::vector<SeenBox>{NotAnInteger("6 00")});
    EXPECT_EQ(settings.AOne, 151) << "values before the bad one are taken";
    EXPECT_EQ(settings.PFour, 1600) << "values after it are not";
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(enabledCalls, std::vector<bool>{false}) << "the main window stays disabled";
    EXPECT_EQ(form->PlayerControls->currentIndex(), TControlForm::TabScoring) << "the bad value is shown";
    EXPECT_EQ(form->focusWidget(), edit("AThreeEdit"));

    Type(edit("AThreeEdit"), "600");
    form->OkBtn->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(settings.PFour, 99);
    EXPECT_EQ(enabledCalls, (std::vector<bool>{false, true}));
}

// OkDialog, the same for the summary and the high scores: Escape and the window manager's close
// run OK, and an OK that refuses keeps the dialog open.
TEST_F(ControlForm, EscapeAndTheWindowManagerCloseThroughOk)
{
    Open();
    Type(form->ScoringEdits[4], "101"); // POne
    Press(Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(settings.POne, 101);

    Open();
    Type(form->ScoringEdits[4], "x");
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    Type(form->ScoringEdits[4], "102");
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(settings.POne, 102);
    EXPECT_TRUE(mainEnabled);
}

} // namespace
} // namespace vorlix
