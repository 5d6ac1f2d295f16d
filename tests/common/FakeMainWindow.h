#pragma once

#include "ui/MainWindowLink.h"
#include "ui/MainWindowLock.h"

#include <QWidget>

#include <vector>

namespace vorlix {

// The main window as a dialog sees it: a plain window to centre on. Holds go through a real
// lock, which records each time it would enable or disable the window; repaints are counted.
class FakeMainWindow : public MainWindowLink {
public:
    void Hold(QWidget *dialog) override { lock.Hold(dialog); }
    void Release(QWidget *dialog) override { lock.Release(dialog); }
    void RepaintMainWindow() override { ++repaints; }
    QWidget &Window() override { return window; }

    QWidget window;
    std::vector<bool> enabledCalls;
    bool mainEnabled = true;
    MainWindowLock lock{[this](bool on) {
        enabledCalls.push_back(on);
        mainEnabled = on;
    }, window};
    int repaints = 0;
};

} // namespace vorlix
