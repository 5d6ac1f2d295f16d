#include "app/MainWindow.h"

#include "app/StatusStrip.h"
#include "render/Background.h"
#include "render/PitPanel.h"
#include "render/PitRenderer.h"
#include "ui/MessageBox.h"
#include "ui/WindowHints.h"
#include "ui/GameFont.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>

namespace vorlix {

namespace {

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

} // namespace

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
    // Centred by design; left to the window manager, a second copy of the game would open
    // wherever it finds room.
    CentreOnScreen(this, screen());
}

MainWindow::~MainWindow() = default;
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
        dialogs_->FinishOpen();
        SaveOnClose();
        dialogs_->HideAll();
    }
    event->accept();
    // The dialogs are top-level windows of their own, so the last window closing would not
    // end the run by itself.
    QCoreApplication::quit();
}

void MainWindow::CloseBySignal()
{
    SendMessagesToStandardError();
    // A modal box or dialog waiting for an answer gives up; its own event loop ends as the
    // call stack unwinds. The close runs now, even when a close is already showing a box.
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<QDialog *>(window); dialog && dialog->isVisible() && dialog->isModal())
            dialog->reject();
    close();
}

} // namespace vorlix
