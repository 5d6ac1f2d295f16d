#pragma once

class QWidget;

namespace vorlix {

// What a dialog asks of the main window. The dialogs are given it when they are made.
class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;
    virtual void Hold(QWidget *dialog) = 0;    // disable the main window while `dialog` is up
    virtual void Release(QWidget *dialog) = 0;
    virtual void RepaintMainWindow() = 0;      // blank the pits, then repaint the background
    virtual QWidget &Window() = 0;             // stacking and the screen to centre on
};

} // namespace vorlix
