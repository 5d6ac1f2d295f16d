#include "app/MainWindow.h"

#include "app/StatusStrip.h"
#include "render/Background.h"
#include "render/PitPanel.h"
#include "render/PitRenderer.h"
#include "scores/HighScoreFile.h"
#include "settings/SettingsFile.h"
#include "ui/DialogSupport.h"
#include "ui/GameFont.h"
#include "ui/KeyTranslation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QProxyStyle>
#include <QScreen>

#include <algorithm>
#include <climits>

namespace vorlix {

namespace {

constexpr int OnePlayerWidth = 280;
constexpr int TwoPlayerWidth = 560;

// A text that names files: their names are bytes, shown the way Qt shows file names.
QString FileText(const std::string &text) { return QFile::decodeName(QByteArray::fromStdString(text)); }

// A panel with a lowered inner bevel filled by a stretched picture.
QFrame *MakePicturePanel(QWidget *parent, QSize size, const QPixmap &picture, const QString &name)
{
    auto *panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->resize(size);
    panel->setAccessibleName(name);
    auto *image = new QLabel(panel);
    image->setPixmap(picture);
    image->setScaledContents(true);
    image->setGeometry(panel->contentsRect());
    image->setAccessibleName(name);
    return panel;
}

// A lone Alt would put the menu bar into keyboard mode and take the arrows and Escape away
// from a running game, with nothing on screen to say so. Alt with a letter still opens its menu.
class NoAltNavigationStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

// The client area below the menu bar: draws only the background; the pits are panels on top.
class ClientArea : public QWidget {
public:
    ClientArea(QWidget *parent, const AppState &app) : QWidget(parent), app_(app) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        PaintBackground(painter, size(), app_.pictures.Background, app_.settings.Tiled);
    }

private:
    const AppState &app_;
};

MainWindow::MainWindow(AppState &app, const std::string &gameDir)
    : app_(app),
      game_(app.game, app.settings, *this),
      timer1_(1000, this),
      levelTimer_(60000, this),
      keys_(game_)
{
    app_.settings = MakeDefaultSettings(gameDir);
    setWindowTitle(QStringLiteral("Vorlix 2.9"));
    // System menu, minimise and close; the window is fixed in size.
    SetFrameButtons(this, FrameButtons::MenuMinimiseClose);
    setFocusPolicy(Qt::StrongFocus);

    menu_.Build(menuBar());
    auto *menuStyle = new NoAltNavigationStyle(QApplication::style()->name());
    menuStyle->setParent(menuBar());
    menuBar()->setStyle(menuStyle);
    CreateWidgets();
    ConnectMenu();
    connect(&timer1_, &PeriodTimer::Timeout, this, [this] { game_.GravityTick(); });
    connect(&levelTimer_, &PeriodTimer::Timeout, this, [this] { game_.LevelTimerTimer(); });

    DesktopKeyRepeat::SuppressRepeatReleases();
    desktopRepeat_ = DesktopKeyRepeat::Read();
    keys_.SetTiming(desktopRepeat_.timing);
    clock_.start();
    repeatTimer_.setSingleShot(true);
    repeatTimer_.setTimerType(Qt::PreciseTimer);
    connect(&repeatTimer_, &QTimer::timeout, this, [this] {
        keys_.Tick(clock_.elapsed());
        ScheduleRepeat();
    });
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive) {
            // The player may have changed the desktop's repeat while away.
            desktopRepeat_ = DesktopKeyRepeat::Read();
            keys_.SetTiming(desktopRepeat_.timing);
            game_.AppOnActivate();
        } else {
            ForgetHeldKeys();
            game_.FormDeactivate();
        }
    });

    FormCreate();
    CentreOnScreen();
}

MainWindow::~MainWindow() = default;

void MainWindow::CentreOnScreen()
{
    // The window starts centred by design; left to the window manager, a second copy of the
    // game would open wherever it finds room.
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void MainWindow::CreateWidgets()
{
    setFont(GameFont());

    client_ = new ClientArea(this, app_);
    client_->setFocusPolicy(Qt::NoFocus);
    client_->setFixedHeight(ClientHeight);
    setCentralWidget(client_);
    setFixedSize(OnePlayerWidth, menuBar()->sizeHint().height() + ClientHeight);

    // Creation order is the stacking order: the last one lies on top.
    status_ = new StatusStrip(client_);
    player1panel_ = new PitPanel(client_);
    player1panel_->setAccessibleName(QStringLiteral("Player 1 pit"));
    player2panel_ = new PitPanel(client_);
    player2panel_->setAccessibleName(QStringLiteral("Player 2 pit"));
    player2panel_->hide();
    logoPanel_ = MakePicturePanel(client_, {132, 144}, app_.pictures.Splash, QStringLiteral("Vorlix"));
    pausePanel_ = MakePicturePanel(client_, {163, 73}, app_.pictures.Paused, QStringLiteral("Paused"));
    pausePanel_->hide();
    previewpanel_ = new PreviewPanel(client_);
    previewpanel_->setAccessibleName(QStringLiteral("Player 1 next piece"));
    previewpanel_->move(240, 113);
    previewpanel_->hide();
    previewPanel2_ = new PreviewPanel(client_);
    previewPanel2_->setAccessibleName(QStringLiteral("Player 2 next piece"));
    previewPanel2_->move(280, 113);
    previewPanel2_->hide();
    player1panel_->move(55, 5);
    player2panel_->move(327, 5);

    for (QWidget *child : client_->findChildren<QWidget *>())
        child->setFocusPolicy(Qt::NoFocus);
    menuBar()->setFocusPolicy(Qt::NoFocus);

    renderer_ = std::make_unique<PitRenderer>(app_.game, app_.settings, app_.pictures,
                                              std::array<PitPanel *, 2>{player1panel_, player2panel_},
                                              std::array<PreviewPanel *, 2>{previewpanel_, previewPanel2_});
}

void MainWindow::ConnectMenu()
{
    // Opening a top-level menu takes the player's attention away from the game.
    for (QMenu *top : {menu_.Game1, menu_.Options1, menu_.Help1})
        connect(top, &QMenu::aboutToShow, this, [this] {
            ForgetHeldKeys();
            game_.FormDeactivate();
        });

    connect(menu_.NewGame1, &QAction::triggered, this, [this] { game_.NewGame1Click(); });
    connect(menu_.Pause1, &QAction::triggered, this, [this] { game_.TogglePause(); });
    connect(menu_.StopGame1, &QAction::triggered, this, [this] { game_.StopGame1Click(); });
    connect(menu_.HighScores1, &QAction::triggered, this, [this] {
        if (dialogs_.showHighScores)
            dialogs_.showHighScores();
    });
    connect(menu_.Exit1, &QAction::triggered, this, &QWidget::close);

    connect(menu_.Easy, &QAction::triggered, this, [this] { SetDifficulty("Easy"); });
    connect(menu_.Medium, &QAction::triggered, this, [this] { SetDifficulty("Medium"); });
    connect(menu_.Hard, &QAction::triggered, this, [this] { SetDifficulty("Hard"); });
    connect(menu_.mnuOnePlayer, &QAction::triggered, this, [this] { SetPlayers(1); });
    connect(menu_.mnuTwoPlayers, &QAction::triggered, this, [this] { SetPlayers(2); });
    connect(menu_.mnuPoints, &QAction::triggered, this, [this] { SetMode("Points"); });
    connect(menu_.mnuAgressive, &QAction::triggered, this, [this] { SetMode("Aggressive"); });
    connect(menu_.PiecePreview, &QAction::triggered, this, [this] { PiecePreviewClick(); });
    connect(menu_.Settings, &QAction::triggered, this, [this] {
        if (dialogs_.showSettings)
            dialogs_.showSettings();
    });
    connect(menu_.mnuFullScreen, &QAction::triggered, this, [this] {
        // Unreachable while the item is disabled; kept as the command would behave.
        if (app_.settings.FullScreen) {
            app_.settings.FullScreen = false;
            menu_.mnuFullScreen->setChecked(false);
            showNormal();
            ReAdjustSize();
        } else {
            menu_.mnuFullScreen->setChecked(false);
            ShowPlainMessage(QStringLiteral("no full screen!"));
        }
    });
    connect(menu_.About1, &QAction::triggered, this, [this] {
        if (dialogs_.showAbout)
            dialogs_.showAbout();
    });
    connect(menu_.HowtoPlay1, &QAction::triggered, this,
            [this] { ShowPlainMessage(QStringLiteral("not yet!")); });
}

void MainWindow::FormCreate()
{
    app_.game.GameStopped = true;
    app_.game.Paused = false;

    const std::string &dir = app_.settings.GameDir;
    const HighScoreLoadResult scores = LoadHighScores(app_.scores, dir + "Vorlix.HS");
    if (scores.Status == HighScoreLoadStatus::Failed)
        startupMessages_ << QStringLiteral("High scores could not be read: %1").arg(FileText(scores.Message));

    const SettingsLoadResult settings = LoadSettings(dir + SettingsFileName, app_.settings);
    if (settings.status == SettingsFileStatus::Unreadable) {
        app_.keepSettingsFile = true;
        startupMessages_ << FileText(settings.message);
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
    const bool aggressive = s.Mode == "Aggressive";
    menu_.MarkMode(aggressive);
    s.MusicFile = aggressive ? s.AggressiveMidiFile : s.PointsMidiFile;
    menu_.PiecePreview->setChecked(s.Preview == 1);
    menu_.MarkPlayers(!s.TwoPlayers());
    if (s.TwoPlayers())
        ApplyTwoPlayerLayout();
    else
        ApplyOnePlayerLayout();
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
    for (const QString &message : std::as_const(startupMessages_))
        ShowMessage(this, QMessageBox::Warning, QStringLiteral("Warning"), message);
    startupMessages_.clear();
    if (app_.settings.FullScreen)
        ShowPlainMessage(QStringLiteral("No Full Screen support yet!"));
}

void MainWindow::ShowPlainMessage(const QString &text)
{
    ShowMessage(this, QMessageBox::NoIcon, QCoreApplication::applicationName(), text);
}

// ---- layout -------------------------------------------------------------------------------

void MainWindow::CentreOverlay(QWidget *panel)
{
    const int clientHeight = client_->height();
    panel->move((width() - panel->width()) / 2, (clientHeight - panel->height()) / 2);
}

void MainWindow::ReAdjustSize()
{
    const bool two = app_.settings.TwoPlayers();
    if (!isMaximized()) {
        setFixedWidth(two ? TwoPlayerWidth : OnePlayerWidth);
        player1panel_->move(55, 5);
        if (two)
            player2panel_->move(327, 5);
        previewpanel_->move(240, previewpanel_->y());
        previewPanel2_->move(280, previewPanel2_->y());
    } else {
        const int clientHeight = client_->height();
        int left = 0;
        if (two) {
            const int rowWidth = player1panel_->width() + player2panel_->width() + 60 + 2 * previewpanel_->width();
            left = (width() - rowWidth) / 2;
        } else {
            left = (width() - player1panel_->width()) / 2;
        }
        player1panel_->move(left, (clientHeight - player1panel_->height()) / 2);
        previewpanel_->move(player1panel_->x() + player1panel_->width() + 20, previewpanel_->y());
        previewPanel2_->move(previewpanel_->x() + previewpanel_->width() + 20, previewPanel2_->y());
        if (two)
            player2panel_->move(previewPanel2_->x() + previewPanel2_->width() + 20,
                                (clientHeight - player2panel_->height()) / 2);
    }
    CentreOverlay(logoPanel_);
    CentreOverlay(pausePanel_);
    status_->setGeometry(0, ClientHeight - StatusStrip::Height, width(), StatusStrip::Height);
    player2panel_->setVisible(two);
}

void MainWindow::ApplyOnePlayerLayout()
{
    if (!isMinimized() && !isMaximized())
        setFixedWidth(OnePlayerWidth);
    ReAdjustSize();
}

void MainWindow::ApplyTwoPlayerLayout()
{
    if (!isMinimized() && !isMaximized())
        setFixedWidth(TwoPlayerWidth);
    ReAdjustSize();
}

// ---- option menus -------------------------------------------------------------------------

void MainWindow::SetDifficulty(const char *difficulty)
{
    app_.settings.Difficulty = difficulty;
    menu_.MarkDifficulty(app_.settings.Difficulty);
    game_.WriteLevelStatus();
}

void MainWindow::SetPlayers(int players)
{
    app_.settings.NumberOfPlayers = static_cast<std::uint8_t>(players);
    if (players == 1)
        ApplyOnePlayerLayout();
    else
        ApplyTwoPlayerLayout();
    menu_.MarkPlayers(players == 1);
    // The window changed size: a pit that comes into view shows its blank cells like the other.
    RepaintMainWindow();
}

void MainWindow::SetMode(const char *mode)
{
    Settings &s = app_.settings;
    const bool aggressive = std::string(mode) == "Aggressive";
    s.MusicFile = aggressive ? s.AggressiveMidiFile : s.PointsMidiFile;
    s.Mode = mode;
    menu_.MarkMode(aggressive);
}

void MainWindow::PiecePreviewClick()
{
    Settings &s = app_.settings;
    if (s.Preview == 1) {
        menu_.PiecePreview->setChecked(false);
        previewpanel_->hide();
        previewPanel2_->hide();
        s.Preview = 0;
    } else if (s.Preview == 0) {
        menu_.PiecePreview->setChecked(true);
        s.Preview = 1;
    } else {
        // Any other stored value makes the command do nothing; undo the action's own flip.
        menu_.PiecePreview->setChecked(false);
    }
}

// ---- GameHost -----------------------------------------------------------------------------

void MainWindow::ProcessPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void MainWindow::DrawPits() { renderer_->DrawPits(); }

void MainWindow::BlankPits() { renderer_->BlankPits(); }

void MainWindow::PaintCell(int player, int x, int y, CellPicture picture) { renderer_->PaintCell(player, x, y, picture); }

void MainWindow::LevelFlash() { renderer_->LevelFlash(); }

void MainWindow::ClearPaintBoxes() { renderer_->ClearPaintBoxes(); }

void MainWindow::RepaintMainWindow()
{
    renderer_->BlankPits();
    client_->update();
}

void MainWindow::SetTimerEnabled(GameTimer timer, bool on)
{
    (timer == GameTimer::Gravity ? timer1_ : levelTimer_).SetEnabled(on);
}

void MainWindow::SetTimerInterval(GameTimer timer, std::int64_t milliseconds)
{
    (timer == GameTimer::Gravity ? timer1_ : levelTimer_).SetInterval(milliseconds);
}

void MainWindow::SetStatusText(int panel, const std::string &text) { status_->SetText(panel, QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))); }

void MainWindow::SetPanelVisible(GamePanel panel, bool visible)
{
    QWidget *widget = nullptr;
    switch (panel) {
    case GamePanel::Logo: widget = logoPanel_; break;
    case GamePanel::Pause: widget = pausePanel_; break;
    case GamePanel::Preview1: widget = previewpanel_; break;
    case GamePanel::Preview2: widget = previewPanel2_; break;
    }
    widget->setVisible(visible);
}

void MainWindow::ApplyMenus(MenuSet set) { menu_.Apply(set); }

void MainWindow::SetMainWindowEnabled(bool enabled) { setEnabled(enabled); }

void MainWindow::ShowSummary()
{
    if (dialogs_.showSummary)
        dialogs_.showSummary();
    else
        SetMainWindowEnabled(true);
}

std::int64_t MainWindow::SecondsSinceEpoch() { return QDateTime::currentSecsSinceEpoch(); }

// ---- events -------------------------------------------------------------------------------

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    // The X server repeats only the key pressed last; the game repeats every held key itself.
    if (event->isAutoRepeat())
        return;
    // A key whose code would be another key's does nothing at all.
    const std::optional<std::int32_t> code = TranslateKey(event->key());
    if (!code)
        return;
    keys_.Press(*code, clock_.elapsed(), desktopRepeat_.Repeats(event->key(), event->nativeScanCode()));
    ScheduleRepeat();
}

void MainWindow::keyReleaseEvent(QKeyEvent *event)
{
    // X11 sends a release before every repeated press; it is not the key going up.
    if (event->isAutoRepeat())
        return;
    const std::optional<std::int32_t> code = TranslateKey(event->key());
    if (!code)
        return;
    keys_.Release(*code);
    ScheduleRepeat();
}

void MainWindow::ScheduleRepeat()
{
    const std::optional<std::int64_t> next = keys_.NextRepeat();
    if (!next) {
        repeatTimer_.stop();
        return;
    }
    const std::int64_t wait = std::clamp<std::int64_t>(*next - clock_.elapsed(), 0, INT_MAX);
    repeatTimer_.start(static_cast<int>(wait));
}

// Their releases will go to another window or a menu.
void MainWindow::ForgetHeldKeys()
{
    keys_.Forget();
    repeatTimer_.stop();
}

bool MainWindow::focusNextPrevChild(bool) { return false; }

bool MainWindow::event(QEvent *event)
{
    // Tab and Backtab would otherwise be eaten by focus navigation before keyPressEvent.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QMainWindow::event(event);
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        game_.FormActivate();
    // A dialog of the game (the summary) took the keyboard, or the window no longer gets keys.
    if ((event->type() == QEvent::ActivationChange && !isActiveWindow()) ||
        (event->type() == QEvent::EnabledChange && !isEnabled()))
        ForgetHeldKeys();
    QMainWindow::changeEvent(event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Repainting blanks the pits, paused or not.
    RepaintMainWindow();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!closing_) {
        closing_ = true;
        timer1_.SetEnabled(false);
        levelTimer_.SetEnabled(false);
        // A result still on the summary is stored, not lost.
        if (dialogs_.finishOpen)
            dialogs_.finishOpen();
        SaveOnClose();
        if (dialogs_.hideAll)
            dialogs_.hideAll();
    }
    event->accept();
    // The dialogs are top-level windows of their own, so the last window closing would not
    // end the run by itself.
    QCoreApplication::quit();
}

void MainWindow::SaveOnClose()
{
    const std::string &dir = app_.settings.GameDir;
    QStringList failures;
    const HighScoreSaveResult scores = SaveHighScores(app_.scores, dir + "Vorlix.HS");
    if (!scores.Error.empty())
        failures << QStringLiteral("%1: %2").arg(FileText(dir + "Vorlix.HS"), FileText(scores.Error));
    if (!app_.keepSettingsFile) {
        const std::string settingsError = SaveSettings(dir + SettingsFileName, app_.settings);
        if (!settingsError.empty())
            failures << QStringLiteral("%1: %2").arg(FileText(dir + SettingsFileName), FileText(settingsError));
    }
    QStringList notes;
    if (!failures.isEmpty())
        notes << QStringLiteral("Could not save:\n") + failures.join(QLatin1Char('\n'));
    // The start-up warning said the scores could not be read; say where that file went.
    if (!scores.Backup.empty())
        notes << QStringLiteral("The high-score file that could not be read was kept as \"%1\".")
                     .arg(FileText(scores.Backup));
    if (!notes.isEmpty())
        ShowMessage(nullptr, failures.isEmpty() ? QMessageBox::Information : QMessageBox::Warning,
                    failures.isEmpty() ? QCoreApplication::applicationName() : QStringLiteral("Warning"),
                    notes.join(QStringLiteral("\n\n")));
}

} // namespace vorlix
