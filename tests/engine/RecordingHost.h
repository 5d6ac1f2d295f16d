#pragma once

#include "engine/GameHost.h"
#include "engine/TimerPeriod.h"
#include "NullHost.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vorlix::test {

// Records every host call as one line of text, in order ("timer Gravity on", "status 1 Score:
// 100", ...), for the rules where the order is the rule, and keeps what the window would show:
// the panels, the status texts, the menus. Its two timers keep their periods on a clock of the
// test's own (`now`, ms), as the window's timers do on real time.
class RecordingHost : public GameHost {
public:
    std::vector<std::string> calls;
    std::int64_t seconds = 1000;
    std::int64_t now = 0;
    TimerPeriod gravity{1000}, level{60000}; // as the window is laid out
    // Runs inside ProcessPendingEvents, once, then clears itself (events that were waiting).
    std::function<void()> pendingEvents;
    std::map<std::string, bool> shown;     // panel name: visible
    std::map<int, std::string> status;     // panel: its text
    std::string menus;                     // "running" or "none"
    bool enabled = true;                   // the main window

    void ProcessPendingEvents() override
    {
        calls.push_back("events");
        if (auto run = std::exchange(pendingEvents, nullptr))
            run();
    }
    void DrawPits() override { calls.push_back("draw"); }
    void BlankPits() override { calls.push_back("blank"); }
    void PaintCell(int player, int x, int y, CellPicture picture) override
    {
        calls.push_back("cell " + std::to_string(player) + " " + std::to_string(x) + "," + std::to_string(y) +
                        (picture == CellPicture::Blank ? " blank" : " piece"));
    }
    void LevelFlash() override { calls.push_back("flash"); }
    void ClearPaintBoxes() override { calls.push_back("black"); }
    void RepaintMainWindow() override { calls.push_back("repaint"); }
    void SetTimerEnabled(GameTimer timer, bool on) override
    {
        calls.push_back(std::string("timer ") + Name(timer) + (on ? " on" : " off"));
        Period(timer).SetEnabled(on, now);
    }
    void SetTimerInterval(GameTimer timer, std::int64_t ms) override
    {
        calls.push_back(std::string("interval ") + Name(timer) + " " + std::to_string(ms));
        Period(timer).SetInterval(ms, now);
    }
    void SetStatusText(int panel, const std::string &text) override
    {
        calls.push_back("status " + std::to_string(panel) + " " + text);
        status[panel] = text;
    }
    void SetPanelVisible(GamePanel panel, bool visible) override
    {
        static const char *names[] = {"Logo", "Pause", "Preview1", "Preview2"};
        calls.push_back(std::string(visible ? "show " : "hide ") + names[static_cast<int>(panel)]);
        shown[names[static_cast<int>(panel)]] = visible;
    }
    void ApplyMenus(MenuSet set) override
    {
        menus = set == MenuSet::RunningGame ? "running" : "none";
        calls.push_back("menus " + menus);
    }
    void SetMainWindowEnabled(bool on) override
    {
        enabled = on;
        calls.push_back(on ? "enable" : "disable");
    }
    void ShowSummary() override { calls.push_back("summary"); }
    std::int64_t SecondsSinceEpoch() override { return seconds; }

    // Calls starting with `prefix`, in order.
    std::vector<std::string> Only(const std::string &prefix) const
    {
        std::vector<std::string> out;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(out),
                     [&](const std::string &c) { return c.rfind(prefix, 0) == 0; });
        return out;
    }
    bool Has(const std::string &call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
    TimerPeriod &Period(GameTimer timer) { return timer == GameTimer::Gravity ? gravity : level; }

private:
    static const char *Name(GameTimer timer) { return timer == GameTimer::Gravity ? "Gravity" : "Level"; }
};


} // namespace vorlix::test
