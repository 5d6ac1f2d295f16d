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

// Other platforms (the offscreen one too) may offer the X11 interface without a connection.
xcb_connection_t *XcbConnection(const QWidget *window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const bool xcb = x11 && window->windowHandle() && QGuiApplication::platformName() == QLatin1String("xcb");
    return xcb ? x11->connection() : nullptr;
}

// 0 if the server gives none.
xcb_atom_t Atom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : 0;
    std::free(reply);
    return atom;
}

void SetMotifHints(QWidget *window, std::uint32_t functions, std::uint32_t decorations)
{
    xcb_connection_t *connection = XcbConnection(window);
    const xcb_atom_t atom = connection ? Atom(connection, "_MOTIF_WM_HINTS") : 0;
    if (!atom)
        return;
    // flags, functions, decorations, input mode, status
    const std::uint32_t hints[5] = {FunctionsGiven | DecorationsGiven, functions, decorations, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()), atom, atom,
                        32, 5, hints);
    xcb_flush(connection);
}

} // namespace

QMargins Frame(const QWidget *window)
{
    xcb_connection_t *connection = XcbConnection(window);
    if (!connection)
        return {};
    const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, static_cast<xcb_window_t>(window->winId()),
                                                              Atom(connection, "_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 0, 4);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr);
    const auto *sides = reply && xcb_get_property_value_length(reply) == 16
                            ? static_cast<const std::int32_t *>(xcb_get_property_value(reply)) // left, right, top, bottom
                            : nullptr;
    const QMargins frame = sides ? QMargins(sides[0], sides[2], sides[1], sides[3]) : QMargins();
    std::free(reply);
    return frame;
}

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

void CentreFramed(QWidget *window, QPoint centre, const QMargins &frame)
{
    QRect centred(QPoint(0, 0), window->size().grownBy(frame));
    centred.moveCenter(centre);
    // The window itself: a frame Qt does not know yet would be placed where the window goes.
    window->setGeometry(centred.marginsRemoved(frame));
}

void CentreOnScreen(QWidget *window, const QScreen *screen, const QWidget *model)
{
    if (screen)
        CentreFramed(window, screen->availableGeometry().center(), Frame(model ? model : window));
}

void PresentDialog(QWidget *dialog, QWidget &mainWindow, QWidget *focus)
{
    if (!dialog->isVisible()) {
        CentreOnScreen(dialog, mainWindow.screen(), &mainWindow);
        dialog->winId(); // a native window, so the stacking hint can be set before mapping
        dialog->windowHandle()->setTransientParent(mainWindow.windowHandle());
        dialog->show();
    }
    dialog->raise();
    dialog->activateWindow();
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);
}

} // namespace vorlix
