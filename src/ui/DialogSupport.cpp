#include "ui/DialogSupport.h"
#include "ui/GameFont.h"

#include <QFile>
#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace vorlix {

MainWindowLock::MainWindowLock(std::function<void(bool enabled)> setEnabled, QWidget *mainWindow)
    : setEnabled_(std::move(setEnabled)), mainWindow_(mainWindow)
{
    if (mainWindow)
        mainWindow->installEventFilter(this);
}

void MainWindowLock::Hold(QWidget *holder)
{
    if (HeldBy(holder))
        return;
    holders_.push_back(holder);
    holder->installEventFilter(this);
    if (holders_.size() == 1 && setEnabled_)
        setEnabled_(false);
}

void MainWindowLock::Release(QWidget *holder)
{
    const auto it = std::find(holders_.begin(), holders_.end(), holder);
    if (it == holders_.end())
        return;
    holders_.erase(it);
    holder->removeEventFilter(this);
    if (holders_.empty() && setEnabled_)
        setEnabled_(true);
}

bool MainWindowLock::HeldBy(const QWidget *holder) const
{
    return std::find(holders_.begin(), holders_.end(), holder) != holders_.end();
}

bool MainWindowLock::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange && Held() && !restorePending_ &&
        static_cast<QWidget *>(watched)->isMinimized()) {
        // Not from inside the window system's notification.
        restorePending_ = true;
        QTimer::singleShot(0, this, [this] {
            restorePending_ = false;
            RestoreMinimised();
        });
    }
    return QObject::eventFilter(watched, event);
}

void MainWindowLock::RestoreMinimised()
{
    if (!Held())
        return;
    std::vector<QWidget *> windows;
    if (mainWindow_)
        windows.push_back(mainWindow_);
    windows.insert(windows.end(), holders_.begin(), holders_.end());
    for (QWidget *window : windows)
        if (window->isMinimized())
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    QWidget *top = holders_.back();
    top->raise();
    top->activateWindow();
}

namespace {

// The window manager hints of the Motif window manager, which most window managers read.
enum MotifHints : std::uint32_t {
    FunctionsGiven = 1,
    DecorationsGiven = 2,
    MayMove = 4,
    MayMinimise = 8,
    MayClose = 32,
    DrawBorder = 2,
    DrawTitle = 8,
    DrawMenu = 16,
    DrawMinimise = 32,
};

void SetMotifHints(QWidget *window, std::uint32_t functions, std::uint32_t decorations)
{
    // Other platforms (the offscreen one too) may offer the X11 interface without a connection.
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 && QGuiApplication::platformName() == QLatin1String("xcb") ? x11->connection() : nullptr;
    if (!connection || !window->windowHandle())
        return;
    static const char name[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
    if (!reply)
        return;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    // flags, functions, decorations, input mode, status
    const std::uint32_t hints[5] = {FunctionsGiven | DecorationsGiven, functions, decorations, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()), atom, atom,
                        32, 5, hints);
    xcb_flush(connection);
}

} // namespace

void SetFrameButtons(QWidget *window, FrameButtons buttons)
{
    if (buttons == FrameButtons::None) {
        window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        window->winId();
        SetMotifHints(window, MayMove, DrawBorder | DrawTitle);
    } else {
        window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        window->winId();
        SetMotifHints(window, MayMove | MayMinimise | MayClose, DrawBorder | DrawTitle | DrawMenu | DrawMinimise);
    }
}

void MakeDialogWindow(QWidget *dialog, const QString &caption, int width, int height)
{
    SetFrameButtons(dialog, FrameButtons::None);
    dialog->setWindowTitle(caption);
    dialog->setAccessibleName(caption);
    dialog->setFixedSize(width, height);
    dialog->setFont(GameFont());
}

void PresentDialog(QWidget *dialog, QWidget *mainWindow, QWidget *focus)
{
    if (!dialog->isVisible()) {
        QScreen *screen = mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            QRect frame = dialog->frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            dialog->move(frame.topLeft());
        }
        dialog->winId(); // a native window, so the stacking hint can be set before mapping
        if (mainWindow && mainWindow->windowHandle() && dialog->windowHandle())
            dialog->windowHandle()->setTransientParent(mainWindow->windowHandle());
        dialog->show();
    }
    dialog->raise();
    dialog->activateWindow();
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);
}

QLabel *MakeLabel(QWidget *parent, const QString &objectName, int left, int top, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->move(left, top);
    label->adjustSize();
    return label;
}

void MakeBold(QLabel *label)
{
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->adjustSize();
}

QFrame *MakeBevel(QWidget *parent, const QString &objectName, int left, int top, int width, int height)
{
    auto *bevel = new QFrame(parent);
    bevel->setObjectName(objectName);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(left, top, width, height);
    return bevel;
}

QString FileNameText(const std::string &bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

namespace {

// Centred over its parent's window, or on the screen without one. Qt's own placement measures
// the box before it takes its final size and guesses the frame, and leaves the rest to the
// window manager, which may put it in a corner. Placed here once the size is known, the
// position is given to the window manager as the one asked for.
class CentredMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        const QWidget *over = parentWidget() ? parentWidget()->window() : nullptr;
        const QScreen *screen = over ? over->screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return;
        // The frame the window manager will add, as it added it to the parent.
        const QMargins frame = over ? QMargins(over->geometry().left() - over->frameGeometry().left(),
                                               over->geometry().top() - over->frameGeometry().top(),
                                               over->frameGeometry().right() - over->geometry().right(),
                                               over->frameGeometry().bottom() - over->geometry().bottom())
                                    : QMargins();
        QRect outer(QPoint(0, 0), size().grownBy(frame));
        outer.moveCenter(over ? over->frameGeometry().center() : screen->availableGeometry().center());
        // The window itself, not its frame: the frame is not known before it is mapped.
        setGeometry(outer.marginsRemoved(frame));
    }
};

} // namespace

void ShowMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    CentredMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

namespace {

// A button with its text and names at a fixed place.
template <typename Button>
Button *MakePlacedButton(QWidget *parent, const QString &objectName, const QString &text,
                         const QString &accessibleName, QRect place)
{
    auto *button = new Button(text, parent);
    button->setObjectName(objectName);
    button->setAccessibleName(accessibleName);
    button->setGeometry(place);
    return button;
}

} // namespace

QRadioButton *MakeRadio(QWidget *parent, const QString &objectName, const QString &text,
                        const QString &accessibleName, QRect place)
{
    return MakePlacedButton<QRadioButton>(parent, objectName, text, accessibleName, place);
}

QPushButton *MakeFlatButton(QWidget *parent, const QString &objectName, const QString &text,
                            const QString &accessibleName, QRect place)
{
    auto *button = MakePlacedButton<QPushButton>(parent, objectName, text, accessibleName, place);
    button->setFlat(true);
    button->setAutoDefault(true);
    return button;
}

} // namespace vorlix
