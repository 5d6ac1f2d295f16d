#pragma once

#include <QMargins>
#include <QPoint>

class QScreen;
class QString;
class QWidget;

namespace vorlix {

// What the window manager is asked to offer on a window's frame.
enum class FrameButtons {
    None,                // a title and a border: the dialogs
    MenuMinimiseClose,   // the main window: fixed in size, so no maximise and no resizing
};

// Sets the window's flags and, on X11, its _MOTIF_WM_HINTS to exactly the functions and
// decorations of `buttons`: Qt's own hints always allow resizing and never state the
// decorations of a window without buttons. Creates the native window. Window managers that
// ignore these hints (openbox draws its buttons from the window type) are covered by the
// dialogs' close running their OK path and by MainWindowLock's restoring.
void SetFrameButtons(QWidget *window, FrameButtons buttons);

// A parentless window with the dialog flag and no title-bar buttons, fixed in size. Parentless,
// because disabling the main window would also disable its child windows.
void MakeDialogWindow(QWidget *dialog, const QString &caption, int width, int height);

// Places a top-level window so that, with `frame` around it, it is centred on `centre`.
void CentreFramed(QWidget *window, QPoint centre, const QMargins &frame);

// Moves a top-level window so that its frame is centred on the screen's free area. The frame is
// taken as `model`'s, a window on the screen framed by the same window manager: a window's own
// frame is not known, or wrongly so, before the window manager has framed it.
void CentreOnScreen(QWidget *window, const QScreen *screen, const QWidget *model = nullptr);

// The frame around `window` as its window manager states it (none where it states nothing).
// Qt's own measure is taken while the frame is being built, and now and then is off.
QMargins Frame(const QWidget *window);

// Centres a hidden dialog on the screen, shows it above the main window and focuses `focus`.
void PresentDialog(QWidget *dialog, QWidget &mainWindow, QWidget *focus);

} // namespace vorlix
