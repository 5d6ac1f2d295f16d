#pragma once

#include "engine/GameHost.h"
#include "engine/GameState.h"
#include "engine/TimerPeriod.h"
#include "settings/Settings.h"

#include <array>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vorlix::test {

// Keeps what the window would show: each visible pit as text (row 1 first; '#' the pit
// picture, '@' the player's piece picture, '*' the level flash, '.' blank, ' ' black), the
// panels, the status texts, the menus and what each summary showed. Its two timers keep their periods on a clock of the test's own (`now`, ms), as the
// window's timers do on real time; a redraw may take `drawMs` of it.
class RecordingHost : public GameHost {
public:
    RecordingHost(const GameState &state, const Settings &settings) : state_(&state), settings_(&settings) {}

    std::array<std::vector<std::string>, 2> screen{std::vector<std::string>(PitHeight, std::string(PitWidth, ' ')),
                                                   std::vector<std::string>(PitHeight, std::string(PitWidth, ' '))};
    std::int64_t seconds = 1000;
    std::int64_t now = 0;
    std::int64_t drawMs = 0;
    TimerPeriod gravity{1000}, level{60000}; // as the window is laid out
    // Runs inside ProcessPendingEvents, once, then clears itself (events that were waiting).
    std::function<void()> pendingEvents;
    std::map<GamePanel, bool> shown{{GamePanel::Logo, true}, {GamePanel::Pause, false},
                                    {GamePanel::Preview1, false}, {GamePanel::Preview2, false}};
    std::map<int, std::string> status;
    MenuSet menus = MenuSet::NoGame;
    std::vector<GameState> summaries; // the game as each summary found it

    void ProcessPendingEvents() override
    {
        if (auto run = std::exchange(pendingEvents, nullptr))
            run();
    }
    void DrawPits() override
    {
        Each([&](int player, int x, int y, char &c) {
            const PlayerState &p = state_->Players[static_cast<std::size_t>(player)];
            c = state_->Paused ? '.' : p.Pit.at(x, y) ? '#' : p.Piece.at(x, y) ? '@' : '.';
        });
        now += drawMs;
    }
    void BlankPits() override { Fill('.'); }
    void PaintCell(int player, int x, int y, CellPicture picture) override
    {
        screen[static_cast<std::size_t>(player)][static_cast<std::size_t>(y - 1)][static_cast<std::size_t>(x - 1)] =
            picture == CellPicture::Blank ? '.' : '@';
    }
    void LevelFlash() override { Fill('*'); }
    void ClearPaintBoxes() override { Fill(' '); }
    void RepaintMainWindow() override { Fill('.'); }
    void SetTimerEnabled(GameTimer timer, bool on) override { Period(timer).SetEnabled(on, now); }
    void SetTimerInterval(GameTimer timer, std::int64_t ms) override { Period(timer).SetInterval(ms, now); }
    void SetStatusText(int panel, const std::string &text) override { status[panel] = text; }
    void SetPanelVisible(GamePanel panel, bool visible) override { shown[panel] = visible; }
    void ApplyMenus(MenuSet set) override { menus = set; }
    void ShowSummary() override { summaries.push_back(*state_); }
    std::int64_t SecondsSinceEpoch() override { return seconds; }

    TimerPeriod &Period(GameTimer timer) { return timer == GameTimer::Gravity ? gravity : level; }

private:
    template <typename F>
    void Each(F f)
    {
        for (int player = 0; player < (settings_->TwoPlayers() ? 2 : 1); ++player)
            for (int y = 1; y <= PitHeight; ++y)
                for (int x = 1; x <= PitWidth; ++x)
                    f(player, x, y, screen[static_cast<std::size_t>(player)][static_cast<std::size_t>(y - 1)][static_cast<std::size_t>(x - 1)]);
    }
    void Fill(char c)
    {
        Each([c](int, int, int, char &cell) { cell = c; });
    }

    const GameState *state_;
    const Settings *settings_;
};

} // namespace vorlix::test
