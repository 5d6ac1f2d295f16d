#include "ui/WindowHints.h"
#include "ui/GameFont.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace vorlix {

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

void CentreOnScreen(QWidget *window, const QScreen *screen)
{
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void PresentDialog(QWidget *dialog, QWidget *mainWindow, QWidget *focus)
{
    if (!dialog->isVisible()) {
        CentreOnScreen(dialog, mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen());
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

} // namespace vorlix
