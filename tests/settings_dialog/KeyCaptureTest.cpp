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

TEST_F(KeyCapture, WholeSequenceOnThePlayer1Tab)
{
    const Settings before = settings;
    Open();
    ShowPage(TControlForm::TabPlayer1);
    form->Setbtn->click();
    ASSERT_TRUE(form->CapturingKeys());
    EXPECT_EQ(form->Player1Keys[0]->text(), "Select");
    EXPECT_EQ(TextColour(form->Player1Keys[0]), QColor(Qt::red));
    EXPECT_FALSE(form->OkBtn->isEnabled() || form->Defaults->isEnabled() || form->Setbtn->isEnabled());
    EXPECT_FALSE(form->PlayerControls->tabBar()->isEnabled());

    Press(Qt::Key_K);
    EXPECT_EQ(settings.P1Up, 0x4B);
    EXPECT_EQ(form->Player1Keys[0]->text(), "K");
    EXPECT_EQ(TextColour(form->Player1Keys[0]), QColor(Qt::black));
    EXPECT_EQ(form->Player1Keys[1]->text(), "Select");
    EXPECT_EQ(TextColour(form->Player1Keys[1]), QColor(Qt::red));

    Press(Qt::Key_Shift);
    Press(Qt::Key_5);
    Press(Qt::Key_Tab); // focus navigation, had it reached the dialog
    Press(Qt::Key_K);   // the same key twice is accepted
    EXPECT_TRUE(form->CapturingKeys()) << "player 1 has a sixth action";
    Press(Qt::Key_Return);

    EXPECT_FALSE(form->CapturingKeys());
    EXPECT_EQ(Player1Codes(settings), (Codes{0x4B, 0x1020, 0x35, 0x1001, 0x4B, 0x1004}));
    EXPECT_EQ(Shown(form->Player1Keys),
              (std::vector<std::string>{"K", "Shift", "5 (keypad)", "\x01", "K", "Return"}));
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(TextColour(form->Player1Keys[i]), QColor(Qt::black)) << i;
    EXPECT_EQ(Player2Codes(settings), Player2Codes(before));
    EXPECT_TRUE(form->OkBtn->isEnabled() && form->Defaults->isEnabled() && form->Setbtn->isEnabled());
    EXPECT_TRUE(form->PlayerControls->tabBar()->isEnabled());
    EXPECT_EQ(form->PlayerControls->currentIndex(), TControlForm::TabPlayer1);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(KeyCapture, WholeSequenceOnThePlayer2TabEndsWithRight)
{
    const Settings before = settings;
    Open();
    ShowPage(TControlForm::TabPlayer2);
    form->Setbtn->click();
    EXPECT_EQ(form->Player2Keys[0]->text(), "Select");
    EXPECT_EQ(form->Player1Keys[0]->text(), "Up Arrow") << "player 1's labels do not wait";
    for (Qt::Key key : {Qt::Key_I, Qt::Key_Control, Qt::Key_K, Qt::Key_J, Qt::Key_L})
        Press(key);
    EXPECT_FALSE(form->CapturingKeys());
    EXPECT_EQ(Player2Codes(settings), (Codes{0x49, 0x1021, 0x4B, 0x4A, 0x4C}));
    EXPECT_EQ(form->Player2Keys[1]->text(), "Ctrl");
    EXPECT_EQ(Player1Codes(settings), Player1Codes(before));
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

    // Nor can the window manager or OK end the capture.
    EXPECT_FALSE(form->close());
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
