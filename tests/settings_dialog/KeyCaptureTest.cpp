#include "DialogFixture.h"

#include <QKeyEvent>
#include <QTabBar>

namespace vorlix {
namespace {

using KeyCapture = SettingsDialogTest;

QColor TextColour(const QLabel *label) { return label->palette().color(QPalette::WindowText); }

// Counts the key presses that reach the watched widgets.
class KeyCounter : public QObject {
public:
    int presses = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            ++presses;
        return false;
    }
};

// The capture walks the tab's labels in order, the waiting one "Select" in red, and ends after
// the last: six keys for player 1, five for player 2. The other player's keys stay.
TEST_F(KeyCapture, WholeSequenceOnEachPlayerTab)
{
    struct Case {
        TControlForm::Page page;
        std::vector<Qt::Key> keys; // Tab: focus navigation, had it reached the dialog
        Codes codes;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {TControlForm::TabPlayer1, {Qt::Key_K, Qt::Key_Shift, Qt::Key_5, Qt::Key_Tab, Qt::Key_K, Qt::Key_Return},
         {0x4B, 0x1020, 0x35, 0x1001, 0x4B, 0x1004}, {"K", "Shift", "5 (keypad)", "\x01", "K", "Return"}},
        {TControlForm::TabPlayer2, {Qt::Key_I, Qt::Key_Control, Qt::Key_K, Qt::Key_J, Qt::Key_L},
         {0x49, 0x1021, 0x4B, 0x4A, 0x4C}, {"I", "Ctrl", "K", "J", "L"}},
    };
    Open();
    for (const Case &c : cases) {
        const bool one = c.page == TControlForm::TabPlayer1;
        SCOPED_TRACE(one ? "player 1" : "player 2");
        const Settings before = settings;
        const auto labels = [&] { return one ? Shown(form->Player1Keys) : Shown(form->Player2Keys); };
        const auto label = [&](std::size_t i) { return one ? form->Player1Keys[i] : form->Player2Keys[i]; };
        ShowPage(c.page);
        form->Setbtn->click();
        ASSERT_TRUE(form->CapturingKeys());
        EXPECT_NE((one ? form->Player2Keys[0] : form->Player1Keys[0])->text(), "Select")
            << "the other player's labels do not wait";
        EXPECT_FALSE(form->OkBtn->isEnabled() || form->Defaults->isEnabled() || form->Setbtn->isEnabled());
        EXPECT_FALSE(form->PlayerControls->isTabEnabled(TControlForm::TabGraphics) || !form->PlayerControls->isTabEnabled(c.page));
        for (std::size_t i = 0; i < c.keys.size(); ++i) {
            EXPECT_TRUE(form->CapturingKeys()) << i;
            EXPECT_EQ(label(i)->text(), "Select") << i;
            EXPECT_EQ(TextColour(label(i)), QColor(Qt::red)) << i;
            Press(c.keys[i]);
            EXPECT_EQ(TextColour(label(i)), QColor(Qt::black)) << i;
        }
        EXPECT_FALSE(form->CapturingKeys());
        EXPECT_EQ(one ? Player1Codes(settings) : Player2Codes(settings), c.codes);
        EXPECT_EQ(labels(), c.shown);
        EXPECT_EQ(one ? Player2Codes(settings) : Player1Codes(settings),
                  one ? Player2Codes(before) : Player1Codes(before));
        EXPECT_TRUE(form->OkBtn->isEnabled() && form->Defaults->isEnabled() && form->Setbtn->isEnabled());
        EXPECT_TRUE(form->PlayerControls->isTabEnabled(TControlForm::TabGraphics) && !form->PlayerControls->isTabEnabled(TControlForm::TabAudio));
        EXPECT_EQ(form->PlayerControls->currentIndex(), c.page);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(KeyCapture, ReservedKeysAreRefusedAndTheSameActionWaits)
{
    Open();
    ShowPage(TControlForm::TabPlayer2);
    form->Setbtn->click();
    const std::int32_t before = settings.P2Up;
    // So are keys whose code would be another key's: letters from U+1000 up (U+1012 would read
    // as Left Arrow) and the keys Qt cannot map, which would all be one.
    const int refused[] = {Qt::Key_C, Qt::Key_Alt, Qt::Key_Escape, Qt::Key_F1, Qt::Key_F2,
                           0x1012, Qt::Key_unknown, Qt::Key_AltGr, Qt::Key_Dead_Acute};
    for (int key : refused)
        QTest::sendKeyEvent(QTest::Click, form->windowHandle(), static_cast<Qt::Key>(key), QString(), Qt::NoModifier);
    const SeenBox reserved{QMessageBox::Information, "Oi!", "Chosen Key is reserved choose another"};
    EXPECT_EQ(boxes, std::vector<SeenBox>(std::size(refused), reserved));
    EXPECT_EQ(settings.P2Up, before);
    EXPECT_EQ(form->Player2Keys[0]->text(), "Select");
    EXPECT_TRUE(form->isVisible()) << "Escape is taken by the capture, not by the dialog";

    // Nor can OK end the capture.
    EXPECT_FALSE(form->OkBtnClick());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(enabledCalls, std::vector<bool>{false});

    Press(Qt::Key_Q);
    EXPECT_EQ(settings.P2Up, 0x51);
    EXPECT_EQ(form->Player2Keys[1]->text(), "Select");
}

TEST_F(KeyCapture, CapturedKeysNeverReachTheControls)
{
    Open();
    ShowPage(TControlForm::TabPlayer1);
    form->Setbtn->setFocus();
    Press(Qt::Key_Space); // Set Controls from the keyboard
    ASSERT_TRUE(form->CapturingKeys());

    KeyCounter counter;
    form->installEventFilter(&counter);
    for (QWidget *child : form->findChildren<QWidget *>())
        child->installEventFilter(&counter);

    Press(Qt::Key_Tab, Qt::ControlModifier); // Ctrl+Tab would turn the page
    EXPECT_EQ(settings.P1Up, 0x1021);
    EXPECT_EQ(settings.P1DownFast, 0x1001);
    QTabBar *tabs = form->PlayerControls->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(TControlForm::TabGraphics).center());
    Press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(form->PlayerControls->currentIndex(), TControlForm::TabPlayer1) << "no change of tab";

    // A held key binds one action only, whether its repeats are marked as such or come from
    // the X server as presses without releases.
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_J, Qt::NoModifier, QStringLiteral("j"), true);
    QApplication::sendEvent(form.get(), &repeated);
    EXPECT_EQ(form->Player1Keys[4]->text(), "Select");
    QTest::keyPress(form->windowHandle(), Qt::Key_Space);
    QTest::keyPress(form->windowHandle(), Qt::Key_Space);
    EXPECT_EQ(form->Player1Keys[5]->text(), "Select");
    QTest::keyRelease(form->windowHandle(), Qt::Key_Space);

    Press(Qt::Key_Return); // the last key, which would press the focused button
    EXPECT_FALSE(form->CapturingKeys());
    EXPECT_EQ(settings.P1Right, 0x20);
    EXPECT_EQ(settings.P1Bonus, 0x1004);
    EXPECT_EQ(counter.presses, 0);
    EXPECT_FALSE(form->Player1Keys[0]->text() == "Select");

    // Afterwards keys reach the controls again: Space on Set Controls starts another capture.
    EXPECT_EQ(QApplication::focusWidget(), form->Setbtn);
    Press(Qt::Key_Space);
    EXPECT_GT(counter.presses, 0);
    EXPECT_TRUE(form->CapturingKeys());
}

TEST_F(KeyCapture, DefaultsOnOneTabLeaveTheOtherPlayerAlone)
{
    settings.P1Up = 0x51;
    settings.P1Bonus = 0x45;
    settings.P2Right = 0x41;
    const Codes player1 = Player1Codes(settings);
    Open();
    ShowPage(TControlForm::TabPlayer2);
    form->Defaults->click();
    const Codes player2Defaults{0x57, 0x1021, 0x5A, 0x41, 0x44};
    EXPECT_EQ(Player2Codes(settings), player2Defaults);
    EXPECT_EQ(Player1Codes(settings), player1);
    EXPECT_EQ(form->Player2Keys[4]->text(), "D");
    EXPECT_EQ(form->Player2Keys[1]->text(), "Ctrl");

    ShowPage(TControlForm::TabPlayer1);
    form->Defaults->click();
    EXPECT_EQ(Player1Codes(settings), (Codes{0x1013, 0x20, 0x1015, 0x1012, 0x1014, 0x1004}));
    EXPECT_EQ(Player2Codes(settings), player2Defaults);
    EXPECT_EQ(form->Player1Keys[1]->text(), "Spacebar");
}

} // namespace
} // namespace vorlix
