#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QFrame;
class QPushButton;
class QRadioButton;
class QRect;
class QLabel;
class QWidget;

namespace vorlix {

// How a dialog reaches the main window. Hooks left empty do nothing.
struct MainWindowHooks {
    std::function<void(bool)> SetMainWindowEnabled;
    std::function<void()> RepaintMainWindow; // blank the pits, then repaint the background
    QWidget *MainWindow = nullptr;           // optional: stacking and the screen to centre on

    void EnableMainWindow(bool enabled) const
    {
        if (SetMainWindowEnabled)
            SetMainWindowEnabled(enabled);
    }
    void Repaint() const
    {
        if (RepaintMainWindow)
            RepaintMainWindow();
    }
};

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

// A flat button at a fixed place; Return presses it while it has the focus.
QPushButton *MakeFlatButton(QWidget *parent, const QString &objectName, const QString &text,
                            const QString &accessibleName, QRect place);

} // namespace vorlix
