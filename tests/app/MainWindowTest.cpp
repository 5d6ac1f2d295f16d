#include "app/CloseSignals.h"
#include "app/MainWindow.h"
#include "app/StatusStrip.h"
#include "render/PitPanel.h"
#include "ui/MessageBox.h"

#include "../common/LateFifo.h"
#include "../common/TempDir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScreen>
#include <QImage>
#include <QKeyEvent>
#include <QMenuBar>
#include <QDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>
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

// The six status panels from left to right.
std::vector<std::string> StatusTexts(MainWindow &w)
{
    std::vector<std::string> texts;
    for (int panel = 0; panel < 6; ++panel)
        texts.push_back(w.Status().Text(panel).toStdString());
    return texts;
}

struct MenuStates {
    bool newGame, difficulty, stop, pause, highScores, about, settings, howToPlay, players, mode, preview;
};

MenuStates Read(const MainMenu &m)
{
    return {m.NewGame1->isEnabled(),  m.mnuDifficulty->menuAction()->isEnabled(),
            m.StopGame1->isEnabled(), m.Pause1->isEnabled(),
            m.HighScores1->isEnabled(), m.About1->isEnabled(),
            m.Settings->isEnabled(),  m.HowtoPlay1->isEnabled(),
            m.mnuPlayers->menuAction()->isEnabled(), m.Mode1->menuAction()->isEnabled(),
            m.PiecePreview->isEnabled()};
}

} // namespace

TEST_F(MainWindowTest, MenusFollowTheGameFromStartThroughTheEnd)
{
    MainWindow &w = Open();
    MenuStates s = Read(w.Menu());
    EXPECT_TRUE(s.newGame && s.difficulty && s.highScores && s.about && s.settings && s.players && s.mode);
    EXPECT_FALSE(s.stop || s.pause || s.howToPlay);
    EXPECT_FALSE(w.Menu().mnuSound->isEnabled() || w.Menu().mnuMusic->isEnabled());
    EXPECT_FALSE(w.Menu().mnuFullScreen->isEnabled());

    w.Menu().NewGame1->trigger();
    s = Read(w.Menu());
    EXPECT_FALSE(s.newGame || s.difficulty || s.highScores || s.about || s.settings || s.howToPlay || s.players || s.mode);
    EXPECT_TRUE(s.stop && s.pause && s.preview);
    EXPECT_TRUE(w.Timer1().Running());

    w.Menu().StopGame1->trigger();
    s = Read(w.Menu());
    EXPECT_TRUE(s.newGame && s.difficulty && s.highScores && s.about && s.settings && s.howToPlay && s.players && s.mode);
    EXPECT_FALSE(s.stop || s.pause);
    EXPECT_FALSE(w.Timer1().Running());
    EXPECT_FALSE(w.LevelTimer().Running());
    // The summary is not wired in this test, so the window must not stay disabled.
    EXPECT_TRUE(w.isEnabled());
}

TEST_F(MainWindowTest, MarksComeFromTheSettingsFile)
{
    WriteIni("[Settings]\nDifficulty=Medium\nMode=Aggressive\nSound=1\nMusic=1\n");
    MainWindow &w = Open();
    EXPECT_TRUE(w.Menu().Medium->isChecked());
    EXPECT_FALSE(w.Menu().Easy->isChecked() || w.Menu().Hard->isChecked());
    EXPECT_TRUE(w.Menu().mnuAgressive->isChecked());
    EXPECT_FALSE(w.Menu().mnuPoints->isChecked());
    EXPECT_EQ(app_.settings.MusicFile, app_.settings.AggressiveMidiFile);
    EXPECT_FALSE(w.Menu().mnuSound->isChecked() || w.Menu().mnuMusic->isChecked());
    EXPECT_EQ(app_.settings.Sound, 0);
    EXPECT_EQ(app_.settings.Music, 0);
}

TEST_F(MainWindowTest, UnknownDifficultyMarksEasyAndKeepsItsText)
{
    WriteIni("[Settings]\nDifficulty=easy\n");
    MainWindow &w = Open();
    EXPECT_TRUE(w.Menu().Easy->isChecked());
    EXPECT_EQ(app_.settings.Difficulty, "easy");
    EXPECT_EQ(w.Status().Text(0), QStringLiteral("easy: Level "));
}

TEST_F(MainWindowTest, StatusPanelsAfterStartAndNewGame)
{
    MainWindow &w = Open();
    EXPECT_EQ(StatusTexts(w), (std::vector<std::string>{"Easy: Level ", "Score: ", "Bonuses: ", "", "", ""}));

    w.Menu().NewGame1->trigger();
    EXPECT_EQ(StatusTexts(w), (std::vector<std::string>{"Easy: Level 1", "Score: 0", "Bonuses: 0", "", "", ""}));

    w.Menu().StopGame1->trigger();
    w.Menu().Hard->trigger();
    EXPECT_EQ(w.Status().Text(0), QStringLiteral("Hard: Level 1"));
    EXPECT_TRUE(w.Menu().Hard->isChecked());
    EXPECT_FALSE(w.Menu().Easy->isChecked());
}

TEST_F(MainWindowTest, PlayersSwitchTheLayout)
{
    SavePicture("blank.bmp", {16, 16}, Qt::blue);
    MainWindow &w = Open();
    w.show();
    EXPECT_EQ(w.width(), 280);
    EXPECT_FALSE(w.Player2Panel().isVisible());
    EXPECT_EQ(w.LogoPanel().x(), 74);
    EXPECT_EQ(w.PausePanel().x(), 58);
    EXPECT_EQ(w.Player1Panel().pos(), QPoint(55, 5));
    EXPECT_EQ(w.Preview2().x(), 280);

    w.Menu().mnuTwoPlayers->trigger();
    EXPECT_EQ(w.width(), 560);
    EXPECT_TRUE(w.Player2Panel().isVisible());
    EXPECT_EQ(w.Player2Panel().pos(), QPoint(327, 5));
    EXPECT_EQ(w.LogoPanel().x(), 214);
    EXPECT_EQ(w.PausePanel().x(), 198);
    EXPECT_TRUE(w.Menu().mnuTwoPlayers->isChecked());
    EXPECT_FALSE(w.Menu().mnuOnePlayer->isChecked());
    // Between games both pits show their empty cells alike.
    for (PitPanel *pit : {&w.Player1Panel(), &w.Player2Panel()}) {
        const QImage shown = pit->Box().grab().toImage();
        EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 2).name().toStdString(), "#0000ff")
            << pit->accessibleName().toStdString();
    }

    w.Menu().mnuOnePlayer->trigger();
    EXPECT_EQ(w.width(), 280);
    EXPECT_FALSE(w.Player2Panel().isVisible());
}

TEST_F(MainWindowTest, ThreePlayersInTheFilePlayAsTwo)
{
    WriteIni("[Settings]\nNumberOfPlayers=3\n");
    MainWindow &w = Open();
    w.show();
    EXPECT_EQ(w.width(), 560);
    EXPECT_TRUE(w.Player2Panel().isVisible());
    EXPECT_TRUE(w.Menu().mnuTwoPlayers->isChecked());
    EXPECT_EQ(app_.settings.NumberOfPlayers, 3);
}

TEST_F(MainWindowTest, PiecePreviewSwitchesDuringAGame)
{
    MainWindow &w = Open();
    w.show();
    w.Menu().NewGame1->trigger();
    EXPECT_TRUE(w.Preview1().isVisible());

    w.Menu().PiecePreview->trigger();
    EXPECT_FALSE(w.Preview1().isVisible());
    EXPECT_FALSE(w.Menu().PiecePreview->isChecked());
    EXPECT_EQ(app_.settings.Preview, 0);

    w.Menu().PiecePreview->trigger();
    EXPECT_TRUE(w.Menu().PiecePreview->isChecked());
    EXPECT_FALSE(w.Preview1().isVisible()) << "shown by the next drawing, not by the command";
    w.GameRules().GravityTick();
    EXPECT_TRUE(w.Preview1().isVisible());
}

TEST_F(MainWindowTest, OddPreviewValueMakesTheCommandDoNothing)
{
    WriteIni("[Settings]\nPreview=2\n");
    MainWindow &w = Open();
    w.Menu().PiecePreview->trigger();
    EXPECT_EQ(app_.settings.Preview, 2);
    EXPECT_FALSE(w.Menu().PiecePreview->isChecked());
}

TEST_F(MainWindowTest, OpeningAMenuPausesARunningGameOnly)
{
    MainWindow &w = Open();
    w.show();
    emit w.Menu().Options1->aboutToShow();
    EXPECT_FALSE(app_.game.Paused);
    EXPECT_FALSE(w.PausePanel().isVisible());

    w.Menu().NewGame1->trigger();
    app_.game.Keys.Player[0].SoftDropFlag = true;
    emit w.Menu().Options1->aboutToShow();
    EXPECT_TRUE(app_.game.Paused);
    EXPECT_TRUE(w.PausePanel().isVisible());
    EXPECT_FALSE(w.Timer1().Running());
    EXPECT_FALSE(w.LevelTimer().Running());
    EXPECT_FALSE(app_.game.Keys.Player[0].SoftDropFlag) << "a key released elsewhere must not stay held";

    // Game -> Pause then acts as resume.
    w.Menu().Pause1->trigger();
    EXPECT_FALSE(app_.game.Paused);
    EXPECT_FALSE(w.PausePanel().isVisible());
    EXPECT_TRUE(w.Timer1().Running());
}

TEST_F(MainWindowTest, KeysWithoutACodeAndTheServersRepeatsRunNoPass)
{
    MainWindow &w = Open();
    w.show();
    w.Menu().NewGame1->trigger();
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

TEST_F(MainWindowTest, ZeroSecondsLevelTimerNeverRuns)
{
    WriteIni("[Settings]\nLevelChangeTime=0\n");
    MainWindow &w = Open();
    w.Menu().NewGame1->trigger();
    EXPECT_TRUE(w.LevelTimer().Enabled());
    EXPECT_FALSE(w.LevelTimer().Running());
}

TEST_F(MainWindowTest, APictureThatIsNoFileFailsStartUpAtOnce)
{
    const std::string pit = QFile::encodeName(dir_.filePath(QStringLiteral("pit.bmp"))).toStdString();
    for (const bool pipe : {false, true}) {
        QFile::remove(dir_.filePath(QStringLiteral("pit.bmp")));
        // A pipe in the picture's place: a reader that waits for a writer would hang the start.
        std::optional<test::LateFifo> fifo;
        if (pipe) {
            fifo.emplace(pit, std::chrono::seconds(3));
            ASSERT_TRUE(fifo->Created());
        }
        QElapsedTimer clock;
        clock.start();
        EXPECT_THROW(Open(), StartupFailure) << (pipe ? "pipe" : "missing");
        EXPECT_LT(clock.elapsed(), 1500) << (pipe ? "pipe" : "missing");
        EXPECT_FALSE(QFile::exists(dir_.filePath(QStringLiteral("Vorlix.ini"))));
    }
}

TEST_F(MainWindowTest, OpensCentredOnTheScreen)
{
    for (const char *players : {"1", "2"}) {
        WriteIni(QByteArray("[Settings]\nNumberOfPlayers=") + players + "\n");
        MainWindow &w = Open();
        const QPoint centre = w.screen()->availableGeometry().center();
        EXPECT_LE((w.frameGeometry().center() - centre).manhattanLength(), 2)
            << players << " player(s): window at " << w.x() << ", " << w.y();
    }
    // A start-up message stands centred over the window, wherever the player moved it.
    WriteIni("[Settings]\nFullScreen=1\n");
    MainWindow &w = Open();
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

// The window's close, a logout or kill (SIGTERM), a closed terminal (SIGHUP) and Ctrl+C (SIGINT)
// write both files. A signal also ends a message box that waits for an answer, and a failed save
// then shows no box of its own: nobody may be there to answer it.
TEST_F(MainWindowTest, ClosingSavesBothFiles)
{
    const QString ini = dir_.filePath(QStringLiteral("Vorlix.ini"));
    const QString hs = dir_.filePath(QStringLiteral("Vorlix.HS"));
    const struct {
        const char *name;
        int signal; // 0: the window's close
        bool messageUp;
        bool scoresFail;
    } cases[] = {
        // The real program under X takes SIGTERM at a game and at a warning, SIGHUP at About.
        {"close", 0, false, false},
        {"SIGINT at a start-up message", SIGINT, true, false},
        {"SIGTERM, scores not writable", SIGTERM, false, true},
    };
    for (const auto &c : cases) {
        QFile::remove(ini);
        QFile::remove(hs);
        QDir(dir_.path()).rmdir(QStringLiteral("Vorlix.HS"));
        if (c.messageUp)
            WriteIni("[Settings]\nFullScreen=1\n");
        if (c.scoresFail) {
            ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("Vorlix.HS")));
        }
        SendMessagesToStandardError(false); // as a new run starts
        MainWindow &w = Open();
        w.show();
        app_.settings.Difficulty = "Hard";
        CloseSignals closeSignals([&w] { w.CloseBySignal(); });

        QObject caseScope;
        bool messageSeen = false;
        QTimer poll(&caseScope);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (c.messageUp && !QApplication::activeModalWidget())
                return;
            messageSeen = c.messageUp;
            poll.stop();
            if (c.signal)
                ::kill(::getpid(), c.signal);
            else
                w.close();
        });
        poll.start(1);
        if (c.messageUp)
            QTimer::singleShot(0, &caseScope, [&w] { w.ShowStartupMessages(); });
        // A box left waiting would hang the test: it is answered late, and reported.
        QTimer::singleShot(5000, &caseScope, [&c] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                ADD_FAILURE() << c.name << ": a message box waits for an answer";
                box->close();
            }
        });
        QElapsedTimer clock;
        clock.start();
        while (!w.isHidden() && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

        EXPECT_EQ(messageSeen, c.messageUp) << c.name;
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.name;
        EXPECT_TRUE(file.readAll().contains("\nDifficulty=Hard\n")) << c.name;
        if (!c.scoresFail) {
            EXPECT_EQ(QFile(hs).size(), 1560) << c.name;
        }
        EXPECT_TRUE(w.isHidden()) << c.name;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << c.name;
    }
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
