#include "app/CloseSignals.h"
#include "app/MainWindow.h"
#include "render/PitPanel.h"
#include "ui/MessageBox.h"

#include "../common/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include <csignal>
#include <unistd.h>

using namespace vorlix;

namespace {

// A game folder with solid pictures and, optionally, a settings file.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SavePicture("bg.bmp", {64, 64}, Qt::darkGray);
        SavePicture("pit.bmp", {16, 16}, Qt::green);
        SavePicture("blank.bmp", {16, 16}, Qt::black);
        for (int n = 1; n <= 20; ++n)
            SavePicture(QStringLiteral("piece%1.bmp").arg(n), {16, 16}, Qt::red);
    }

    void SavePicture(const QString &name, QSize size, Qt::GlobalColor colour)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(dir_.filePath(name), "BMP"));
    }

    void WriteIni(const QByteArray &text)
    {
        QFile file(dir_.filePath(QStringLiteral("Vorlix.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    MainWindow &Open()
    {
        window_ = std::make_unique<MainWindow>(app_, temp_.Path());
        return *window_;
    }

    test::TempDir temp_;
    QDir dir_{QFile::decodeName(temp_.Path().c_str())};
    AppState app_;
    std::unique_ptr<MainWindow> window_;
};

// What the window shows, found as an assistive tool finds it: by its name.
template <typename W = QWidget> W &Shown(MainWindow &w, const QString &name)
{
    for (W *child : w.findChildren<W *>())
        if (child->accessibleName() == name)
            return *child;
    throw std::runtime_error("nothing shown as " + name.toStdString());
}

// The menu bar's item with this caption, at any depth.
QAction &Item(MainWindow &w, const QString &caption)
{
    for (QAction *action : w.menuBar()->findChildren<QAction *>())
        if (action->text() == caption)
            return *action;
    throw std::runtime_error("no menu item " + caption.toStdString());
}

// Whether each item is enabled, "1" or "0", in the order given.
std::string Enabled(MainWindow &w, const QStringList &captions)
{
    std::string states;
    for (const QString &caption : captions)
        states += Item(w, caption).isEnabled() ? '1' : '0';
    return states;
}

// The six status panels from left to right.
std::vector<std::string> StatusTexts(MainWindow &w)
{
    std::vector<std::string> texts;
    for (int panel = 0; panel < 6; ++panel)
        texts.push_back(Shown<QLabel>(w, QStringLiteral("Status panel %1").arg(panel)).text().toStdString());
    return texts;
}

// Whether player 1's pit shows a piece (the pieces are red here).
bool ShowsAPiece(MainWindow &w)
{
    const QImage pit = Shown<PitPanel>(w, "Player 1 pit").Box().grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < pit.height(); ++y)
        for (int x = 0; x < pit.width(); ++x)
            if (pit.pixel(x, y) == qRgb(255, 0, 0))
                return true;
    return false;
}

} // namespace

TEST_F(MainWindowTest, MenusFollowTheGameFromStartThroughTheEnd)
{
    MainWindow &w = Open();
    const QStringList items = {"&New Game", "&Difficulty", "&High Scores", "&About", "&Settings", "&Players", "&Mode",
                               "&How to Play", "&Stop Game", "&Pause ", "Piece P&review", "&Sound", "M&usic", "&Full Screen"};
    EXPECT_EQ(Enabled(w, items), "11111110001000");
    Item(w, "&New Game").trigger();
    EXPECT_EQ(Enabled(w, items), "00000000111000");
    Item(w, "&Stop Game").trigger();
    EXPECT_EQ(Enabled(w, items), "11111111001000");
}

TEST_F(MainWindowTest, MarksComeFromTheSettingsFile)
{
    WriteIni("[Settings]\nDifficulty=Medium\nMode=Aggressive\n");
    MainWindow &w = Open();
    EXPECT_TRUE(Item(w, "&Medium").isChecked());
    EXPECT_FALSE(Item(w, "&Easy").isChecked() || Item(w, "&Hard").isChecked());
    EXPECT_TRUE(Item(w, "&Aggressive").isChecked());
    EXPECT_FALSE(Item(w, "&Points").isChecked());
    EXPECT_EQ(app_.settings.MusicFile, app_.settings.AggressiveMidiFile);
}

TEST_F(MainWindowTest, UnknownDifficultyMarksEasyAndKeepsItsText)
{
    WriteIni("[Settings]\nDifficulty=easy\n");
    MainWindow &w = Open();
    EXPECT_TRUE(Item(w, "&Easy").isChecked());
    EXPECT_EQ(app_.settings.Difficulty, "easy");
    EXPECT_EQ(StatusTexts(w)[0], "easy: Level ");
}

TEST_F(MainWindowTest, StatusPanelsAfterStartAndNewGame)
{
    MainWindow &w = Open();
    EXPECT_EQ(StatusTexts(w), (std::vector<std::string>{"Easy: Level ", "Score: ", "Bonuses: ", "", "", ""}));

    Item(w, "&New Game").trigger();
    EXPECT_EQ(StatusTexts(w), (std::vector<std::string>{"Easy: Level 1", "Score: 0", "Bonuses: 0", "", "", ""}));

    Item(w, "&Stop Game").trigger();
    Item(w, "&Hard").trigger();
    EXPECT_EQ(StatusTexts(w)[0], "Hard: Level 1");
    EXPECT_TRUE(Item(w, "&Hard").isChecked());
    EXPECT_FALSE(Item(w, "&Easy").isChecked());
}

TEST_F(MainWindowTest, PlayersSwitchTheLayout)
{
    SavePicture("blank.bmp", {16, 16}, Qt::blue);
    MainWindow &w = Open();
    w.show();
    PitPanel &pit1 = Shown<PitPanel>(w, "Player 1 pit");
    PitPanel &pit2 = Shown<PitPanel>(w, "Player 2 pit");
    EXPECT_EQ(w.width(), 280);
    EXPECT_FALSE(pit2.isVisible());
    EXPECT_EQ(Shown(w, "Vorlix").x(), 74);
    EXPECT_EQ(Shown(w, "Paused").x(), 58);
    EXPECT_EQ(pit1.pos(), QPoint(55, 5));
    EXPECT_EQ(Shown(w, "Player 2 next piece").x(), 280);

    Item(w, "&Two Players").trigger();
    EXPECT_EQ(w.width(), 560);
    EXPECT_TRUE(pit2.isVisible());
    EXPECT_EQ(pit2.pos(), QPoint(327, 5));
    EXPECT_EQ(Shown(w, "Vorlix").x(), 214);
    EXPECT_EQ(Shown(w, "Paused").x(), 198);
    EXPECT_TRUE(Item(w, "&Two Players").isChecked());
    EXPECT_FALSE(Item(w, "&One Player").isChecked());
    // Between games both pits show their empty cells alike.
    for (PitPanel *pit : {&pit1, &pit2}) {
        const QImage shown = pit->Box().grab().toImage();
        EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 2).name().toStdString(), "#0000ff")
            << pit->accessibleName().toStdString();
    }

    Item(w, "&One Player").trigger();
    EXPECT_EQ(w.width(), 280);
    EXPECT_FALSE(pit2.isVisible());
}

TEST_F(MainWindowTest, ThreePlayersInTheFilePlayAsTwo)
{
    WriteIni("[Settings]\nNumberOfPlayers=3\n");
    MainWindow &w = Open();
    w.show();
    EXPECT_EQ(w.width(), 560);
    EXPECT_TRUE(Shown(w, "Player 2 pit").isVisible());
    EXPECT_TRUE(Item(w, "&Two Players").isChecked());
    EXPECT_EQ(app_.settings.NumberOfPlayers, 3);
}

TEST_F(MainWindowTest, PiecePreviewSwitchesDuringAGame)
{
    MainWindow &w = Open();
    w.show();
    QWidget &preview = Shown(w, "Player 1 next piece");
    QAction &command = Item(w, "Piece P&review");
    Item(w, "&New Game").trigger();
    EXPECT_TRUE(preview.isVisible());

    command.trigger();
    EXPECT_FALSE(preview.isVisible());
    EXPECT_FALSE(command.isChecked());
    EXPECT_EQ(app_.settings.Preview, 0);

    command.trigger();
    EXPECT_TRUE(command.isChecked());
    EXPECT_FALSE(preview.isVisible()) << "shown by the next drawing, not by the command";
    QTest::keyClick(&w, Qt::Key_Left);
    EXPECT_TRUE(preview.isVisible());
}

TEST_F(MainWindowTest, OddPreviewValueMakesTheCommandDoNothing)
{
    WriteIni("[Settings]\nPreview=2\n");
    MainWindow &w = Open();
    Item(w, "Piece P&review").trigger();
    EXPECT_EQ(app_.settings.Preview, 2);
    EXPECT_FALSE(Item(w, "Piece P&review").isChecked());
}

// What the pause shows: the pause picture over blank pits.
TEST_F(MainWindowTest, OpeningAMenuPausesARunningGameOnly)
{
    MainWindow &w = Open();
    w.show();
    QMenu *options = Item(w, "&Options").menu();
    QWidget &paused = Shown(w, "Paused");
    emit options->aboutToShow();
    EXPECT_FALSE(app_.game.Paused);
    EXPECT_FALSE(paused.isVisible());

    Item(w, "&New Game").trigger();
    QTest::keyClick(&w, Qt::Key_Left); // its pass draws the piece
    ASSERT_TRUE(ShowsAPiece(w));
    app_.game.Keys.Player[0].SoftDropFlag = true;
    emit options->aboutToShow();
    EXPECT_TRUE(app_.game.Paused);
    EXPECT_TRUE(paused.isVisible());
    EXPECT_FALSE(ShowsAPiece(w));
    EXPECT_FALSE(app_.game.Keys.Player[0].SoftDropFlag) << "a key released elsewhere must not stay held";

    // Game -> Pause then acts as resume.
    Item(w, "&Pause ").trigger();
    EXPECT_FALSE(app_.game.Paused);
    EXPECT_FALSE(paused.isVisible());
}

// The game's two timers reach it: gravity lets the piece fall, the level timer brings a level.
TEST_F(MainWindowTest, TheTimersDriveTheGame)
{
    MainWindow &w = Open();
    Item(w, "&New Game").trigger();
    const Grid spawned = app_.game.Player1().Piece;
    w.SetTimerInterval(GameTimer::Gravity, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return app_.game.Player1().Piece != spawned; })) << "waited for a fall";
    w.SetTimerInterval(GameTimer::Gravity, 100'000'000);
    w.SetTimerInterval(GameTimer::Level, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return StatusTexts(w)[0] != "Easy: Level 1"; })) << "waited for level 2";
}

TEST_F(MainWindowTest, KeysWithoutACodeAndTheServersRepeatsRunNoPass)
{
    MainWindow &w = Open();
    w.show();
    Item(w, "&New Game").trigger();
    w.SetTimerInterval(GameTimer::Gravity, 100'000'000); // no gravity meanwhile
    auto send = [&w](QEvent::Type type, int key, bool autoRepeat = false) {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(&w, &event);
    };
    send(QEvent::KeyPress, Qt::Key_Down); // held: every pass would drop the piece a row
    const Grid held = app_.game.Player1().Piece;

    // U+1000 would pause as Escape; U+1015 would be Down, its release ending the soft drop.
    for (int key : {0x1000, 0x1015, 0x1FFF, int(Qt::Key_unknown), int(Qt::Key_AltGr), int(Qt::Key_Dead_Acute)}) {
        send(QEvent::KeyPress, key);
        send(QEvent::KeyRelease, key);
        EXPECT_EQ(app_.game.Player1().Piece, held) << std::hex << key;
        EXPECT_FALSE(app_.game.Paused) << std::hex << key;
    }
    // The game repeats held keys itself; the X server's repeats would double them.
    send(QEvent::KeyRelease, Qt::Key_Down, true);
    send(QEvent::KeyPress, Qt::Key_Down, true);
    EXPECT_EQ(app_.game.Player1().Piece, held);
    EXPECT_TRUE(app_.game.Keys.Player[0].SoftDropFlag);

    send(QEvent::KeyPress, Qt::Key_Left);
    EXPECT_NE(app_.game.Player1().Piece, held) << "a real key still runs its pass";
}

// One player opens centred in the end-to-end tests; two do too, laid out first. A start-up
// message stands centred over the window, wherever the player moved it.
TEST_F(MainWindowTest, OpensCentredOnTheScreen)
{
    WriteIni("[Settings]\nNumberOfPlayers=2\nFullScreen=1\n");
    MainWindow &w = Open();
    const QPoint centre = w.screen()->availableGeometry().center();
    EXPECT_LE((w.frameGeometry().center() - centre).manhattanLength(), 2) << "window at " << w.x() << ", " << w.y();
    w.move(20, 30);
    w.show();
    QRect box;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget *message = QApplication::activeModalWidget()) {
            box = message->frameGeometry();
            message->close();
        }
    });
    poll.start(1);
    w.ShowStartupMessages();
    EXPECT_LE((box.center() - w.frameGeometry().center()).manhattanLength(), 1)
        << "message at " << box.x() << ", " << box.y() << ", " << box.width() << " x " << box.height();
}

// Ctrl+C (SIGINT) closes as the window's close does and writes the files it can; the end-to-end
// tests take SIGTERM and SIGHUP, at a game, at a warning and at the About box. A save that fails
// then shows no box of its own: nobody may be there to answer it.
TEST_F(MainWindowTest, ASignalClosesWithoutABoxWhenASaveFails)
{
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("Vorlix.HS")));
    MainWindow &w = Open();
    w.show();
    app_.settings.Difficulty = "Hard";
    CloseSignals closeSignals([&w] { w.CloseBySignal(); });
    bool boxUp = false;
    QTimer watch; // a box left waiting would hang the test: it is closed, and reported
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            boxUp = true;
            box->close();
        }
    });
    watch.start(10);
    ::kill(::getpid(), SIGINT);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.isHidden(); }, 10000)) << "waited for the window to close";
    EXPECT_FALSE(boxUp) << "a message box waited for an answer";
    QFile file(dir_.filePath(QStringLiteral("Vorlix.ini")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\nDifficulty=Hard\n"));
    SendMessagesToStandardError(false); // as the next run starts
}

TEST_F(MainWindowTest, UnreadableSettingsFileIsNotOverwritten)
{
    // A directory where the file should be cannot be read as one, even by root.
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("Vorlix.ini")));
    MainWindow &w = Open();
    EXPECT_TRUE(app_.keepSettingsFile);
    w.close();
    EXPECT_TRUE(QFileInfo(dir_.filePath(QStringLiteral("Vorlix.ini"))).isDir());
}
