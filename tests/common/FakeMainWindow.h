#pragma once

#include "ui/MainWindowLink.h"

namespace vorlix {

// The main window as a dialog sees it, doing nothing; a test overrides what it watches.
class FakeMainWindow : public MainWindowLink {
public:
    void Hold(QWidget *) override {}
    void Release(QWidget *) override {}
    void RepaintMainWindow() override {}
    QWidget *Window() override { return nullptr; }
    void ApplyLevelTimerInterval() override {}
    void SetPit1Bevel(bool, int) override {}
    void ReAdjustSize() override {}
};

} // namespace vorlix
