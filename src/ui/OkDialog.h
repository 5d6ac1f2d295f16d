#pragma once

#include "ui/MainWindowLink.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QWidget>

namespace vorlix {

// A dialog over the main window with OK and no Cancel: the window manager's close button and
// Escape run its OK path, so no road out of it leaves the main window disabled or a result
// unstored.
class OkDialog : public QWidget {
protected:
    explicit OkDialog(MainWindowLink &mainWindow) : mainWindow_(mainWindow) {}

    // The dialog's OK. False keeps the dialog open (a capture in progress, a bad value).
    virtual bool RunOk() = 0;

    void closeEvent(QCloseEvent *event) override
    {
        // Only a dialog on the screen has an OK to run.
        event->setAccepted(!isVisible() || RunOk());
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
            RunOk();
        else
            QWidget::keyPressEvent(event);
    }

    MainWindowLink &mainWindow_;
};

} // namespace vorlix
