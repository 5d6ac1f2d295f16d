#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QFrame;
class QPushButton;
class QRadioButton;
class QRect;
class QLabel;
class QWidget;

namespace vorlix {

// Knows which windows hold the main window disabled. A dialog that disables the main window
// takes a hold and its OK lets go; the main window is enabled exactly when no hold is left, so
// one dialog's OK never enables it under another that is still open.
//
// While a hold is taken, neither the main window nor a holding dialog stays minimised: some
// window managers minimise a dialog together with the window it belongs to, and the player
// would lose the game behind a dialog that must be answered first.
class MainWindowLock : public QObject {
public:
    // `setEnabled` is called when the first hold is taken (false) and the last let go (true).
    explicit MainWindowLock(std::function<void(bool enabled)> setEnabled, QWidget *mainWindow = nullptr);

    void Hold(QWidget *holder);
    void Release(QWidget *holder);
    bool Held() const { return !holders_.empty(); }
    bool HeldBy(const QWidget *holder) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void RestoreMinimised();

    std::function<void(bool)> setEnabled_;
    QPointer<QWidget> mainWindow_;
    std::vector<QWidget *> holders_; // in the order the holds were taken
    bool restorePending_ = false;
};

// How a dialog reaches the main window. Hooks left empty do nothing.
struct MainWindowHooks {
    MainWindowLock *Lock = nullptr;
    std::function<void()> RepaintMainWindow; // blank the pits, then repaint the background
    QWidget *MainWindow = nullptr;           // optional: stacking and the screen to centre on

    void Hold(QWidget *dialog) const
    {
        if (Lock)
            Lock->Hold(dialog);
    }
    void Release(QWidget *dialog) const
    {
        if (Lock)
            Lock->Release(dialog);
    }
    void Repaint() const
    {
        if (RepaintMainWindow)
            RepaintMainWindow();
    }
};

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

// Centres a hidden dialog on the screen, shows it above the main window and focuses `focus`.
void PresentDialog(QWidget *dialog, QWidget *mainWindow, QWidget *focus);

// A plain-text label at (left, top), sized to its text. Plain text, because names are typed
// by the player and must never be read as markup.
QLabel *MakeLabel(QWidget *parent, const QString &objectName, int left, int top,
                  const QString &text = {});
void MakeBold(QLabel *label);

// A sunken frame around a group of controls.
QFrame *MakeBevel(QWidget *parent, const QString &objectName, int left, int top, int width, int height);

QRadioButton *MakeRadio(QWidget *parent, const QString &objectName, const QString &text,
                        const QString &accessibleName, QRect place);

// A message box with one OK button; the text is shown as it is, never as markup (it may
// hold file names or typed text).
void ShowMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text);

// A file name, or a message naming files, as text to show. File names are bytes; this is the
// only way they become text, and never the way back.
QString FileNameText(const std::string &bytes);

// A flat button at a fixed place; Return presses it while it has the focus.
QPushButton *MakeFlatButton(QWidget *parent, const QString &objectName, const QString &text,
                            const QString &accessibleName, QRect place);

} // namespace vorlix
