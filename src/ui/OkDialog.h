#pragma once

#include <QWidget>

namespace vorlix {

// A dialog with OK and no Cancel: the window manager's close button and Escape run its OK
// path, so no road out of it leaves the main window disabled or a result unstored.
class OkDialog : public QWidget {
protected:
    // The dialog's OK. False keeps the dialog open (a capture in progress, a bad value).
    virtual bool RunOk() = 0;

    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace vorlix
