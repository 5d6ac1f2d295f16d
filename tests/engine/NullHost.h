#pragma once

#include "engine/GameHost.h"

namespace vorlix::test {

// A host that shows nothing: for replays and benchmarks that only want the rules.
class NullHost : public GameHost {
public:
    void ProcessPendingEvents() override {}
    void DrawPits() override {}
    void BlankPits() override {}
    void PaintCell(int, int, int, CellPicture) override {}
    void LevelFlash() override {}
    void ClearPaintBoxes() override {}
    void RepaintMainWindow() override {}
    void SetTimerEnabled(GameTimer, bool) override {}
    void SetTimerInterval(GameTimer, std::int64_t) override {}
    void SetStatusText(int, const std::string &) override {}
    void SetPanelVisible(GamePanel, bool) override {}
    void ApplyMenus(MenuSet) override {}
    void ShowSummary() override {}
    std::int64_t SecondsSinceEpoch() override { return 0; }
};

} // namespace vorlix::test
