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
    virtual QWidget *Window() = 0;             // stacking and the screen to centre on; may be null
    // The settings dialog's changes that show at once.
    virtual void ApplyLevelTimerInterval() = 0;
    virtual void SetPit1Bevel(bool on, int width) = 0;
    virtual void ReAdjustSize() = 0;
};

} // namespace vorlix
