#pragma once

#include "ui/MainWindowLink.h"
#include "ui/MainWindowLock.h"

#include <vector>

namespace vorlix {

// The main window as a dialog sees it. Holds go through a real lock, which records each time it
// would enable or disable the window; repaints and new sizes are counted.
class FakeMainWindow : public MainWindowLink {
public:
    void Hold(QWidget *dialog) override { lock.Hold(dialog); }
    void Release(QWidget *dialog) override { lock.Release(dialog); }
    void RepaintMainWindow() override { ++repaints; }
    QWidget *Window() override { return nullptr; }
    void ApplyLevelTimerInterval() override {}
    void SetPit1Bevel(bool, int) override {}
    void ReAdjustSize() override { ++readjusts; }

    std::vector<bool> enabledCalls;
    bool mainEnabled = true;
    MainWindowLock lock{[this](bool on) {
        enabledCalls.push_back(on);
        mainEnabled = on;
    }};
    int repaints = 0;
    int readjusts = 0;
};

} // namespace vorlix
