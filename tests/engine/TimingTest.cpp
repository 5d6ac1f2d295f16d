#include "GameFixture.h"

#include <limits>
#include <optional>
#include <sstream>

namespace vorlix::test {
namespace {

constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();

// The timer rule on a clock of our own: each step acts at `now`, then the next tick is due
// at `due` (none: it will not fire).
TEST(TimerPeriod, RestartsOnlyWhenTheIntervalIsSetOrItIsSwitchedOffAndOn)
{
    enum class Op { On, Off, Interval, Fired };
    struct Step {
        std::int64_t now;
        Op op;
        std::int64_t value;
        std::optional<std::int64_t> due;
    };
    struct Script {
        const char *name;
        std::int64_t interval;
        std::vector<Step> steps;
    };
    const std::nullopt_t none = std::nullopt;
    const Script scripts[] = {
        {"switching on keeps a running period", 100, {{0, Op::On, 0, 100}, {40, Op::On, 0, 100}, {99, Op::On, 0, 100}}},
        {"the interval restarts a running period",
         100,
         {{0, Op::On, 0, 100}, {40, Op::Interval, 100, 140}, {60, Op::Interval, 50, 110}}},
        {"the interval starts nothing while off", 100, {{10, Op::Interval, 70, none}, {20, Op::On, 0, 90}}},
        {"off and on begins a full period",
         100,
         {{0, Op::On, 0, 100}, {30, Op::Off, 0, none}, {30, Op::On, 0, 130}, {50, Op::Off, 0, none}, {50, Op::Off, 0, none}}},
        {"zero or less never fires",
         0,
         {{0, Op::On, 0, none}, {5, Op::Interval, -5000, none}, {6, Op::Fired, 0, none}, {7, Op::Interval, 10, 17}}},
        {"huge intervals run as INT32_MAX",
         3'000'000'000,
         {{0, Op::On, 0, Int32Max}, {10, Op::Interval, std::numeric_limits<std::int64_t>::max(), 10 + Int32Max}}},
        {"ticks follow on from the due time",
         100,
         {{0, Op::On, 0, 100}, {103, Op::Fired, 0, 200}, {450, Op::Fired, 0, 550}, {650, Op::Fired, 0, 750}}},
        {"one millisecond fires", 1, {{0, Op::On, 0, 1}, {1, Op::Fired, 0, 2}}},
    };
    for (const Script &script : scripts) {
        TimerPeriod timer(script.interval);
        EXPECT_EQ(timer.Due(), std::nullopt) << script.name; // created switched off
        for (const Step &step : script.steps) {
            switch (step.op) {
            case Op::On: timer.SetEnabled(true, step.now); break;
            case Op::Off: timer.SetEnabled(false, step.now); break;
            case Op::Interval: timer.SetInterval(step.value, step.now); break;
            case Op::Fired: timer.Fired(step.now); break;
            }
            EXPECT_EQ(timer.Due(), step.due) << script.name << ", at " << step.now;
        }
    }
}

// What switches gravity on, on the host's clock. Each case is a script of events, each at its
// time: 'N' New Game (Easy), 'M' the same with two players, 'H' New Game on Hard, 'k' an unbound key pressed and released,
// 'E' Escape pressed and released, 'F' the focus lost, 'A' the focus back, 'C' the Pause
// command, 'L' a level change, 'S' Stop Game, 'o' a block into row 1 of the pit, 'O' that and a
// key, 'D' and 'U' player 1's soft drop key down and up, 'd' and 'u' player 2's, 'Q' player 2's
// soft-drop flag, 'W' redraws from then on taking 10 ms, 'T' levels every 2 s. Then the ticks
// that came, as RunUntil records them.
using TimingTest = GameFixture;

TEST_F(TimingTest, GravityRunsWhileAGameRunsUnpausedAndEachTickRestartsItsPeriod)
{
    struct Case {
        const char *name;
        std::string events;
        std::int64_t until;
        std::vector<std::string> ticks;
    };
    const Case cases[] = {
        {"the first fall a full interval after New Game", "0N", 3500, {"1000", "2000", "3000"}},
        {"on Hard every 500 ms", "0H", 1600, {"500", "1000", "1500"}},
        {"key passes never restart the period", "0N 100k 500k 900k 1300k", 2500, {"1000", "2000"}},
        {"a tick restarts it after its work", "0W 0N", 3500, {"1000", "2010", "3020"}},
        {"a pause stops it, the resume starts a full period", "0N 500E 800E", 2900, {"1800", "2800"}},
        {"the focus back keeps it stopped", "0N 500F 700A", 3000, {}},
        {"the Pause command resumes it", "0N 500F 700C", 2800, {"1700", "2700"}},
        {"a level change restarts it at the shorter interval", "0N 1500L", 3200, {"1000", "2300", "3100"}},
        {"a game over in a key pass leaves one tick, which finds no game", "0N 500O", 3000, {"1000-"}},
        {"a game over in a tick leaves none", "0N 500o", 3000, {"1000"}},
        {"Stop Game stops it", "0N 500S", 3000, {}},
        {"a held soft drop holds the falls, not the timer", "0N 100D 2500U", 3500, {"1000-", "2000-", "3000"}},
        {"player 2's held soft drop holds player 1's falls too", "0M 100d 2500u", 3500, {"1000-", "2000-", "3000"}},
        {"player 2's soft drop does not hold a one-player game", "0N 100Q", 2500, {"1000", "2000"}},
        {"without a game nothing switches it on", "0k 100E 200C 300A 400F", 3000, {}},
        {"New Game restarts it though the last game left it running", "0N 700O 800H", 2000, {"1300", "1800"}},
        {"a level every period of unpaused play, at a shorter interval; a pause loses the period's part before it",
         "0T 0N 0D 3500E 3700E", 6000, {"1000-", "2000-", "L2000", "2800-", "4500-", "5300-", "L5700"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        host = RecordingHost{state, settings};
        state = GameState{};
        ticks.clear();
        std::istringstream events(c.events);
        for (std::string event; events >> event;) {
            RunUntil(std::stoll(event));
            switch (event.back()) {
            case 'N': settings.Difficulty = "Easy"; Start(); break;
            case 'M': settings.Difficulty = "Easy"; Start(2); break;
            case 'H': settings.Difficulty = "Hard"; Start(); break;
            case 'k': game.FormKeyDown(0x7A); game.FormKeyUp(0x7A); break;
            case 'E': game.FormKeyDown(Key::Escape); game.FormKeyUp(Key::Escape); break;
            case 'F': game.FormDeactivate(); break;
            case 'A': game.AppOnActivate(); game.FormActivate(); break;
            case 'C': game.TogglePause(); break;
            case 'L': game.NextLevel(); break;
            case 'S': game.StopGame1Click(); break;
            case 'O': P(0).Pit.set(1, 1, true); game.FormKeyDown(0x7A); game.FormKeyUp(0x7A); break;
            case 'o': P(0).Pit.set(1, 1, true); break;
            case 'D': game.FormKeyDown(settings.P1DownSlow); break;
            case 'U': game.FormKeyUp(settings.P1DownSlow); break;
            case 'd': game.FormKeyDown(settings.P2DownSlow); break;
            case 'u': game.FormKeyUp(settings.P2DownSlow); break;
            case 'Q': state.Keys.Player[1].SoftDropFlag = true; break;
            case 'W': host.drawMs = 10; break;
            case 'T': settings.LevelChangeTime = 2; game.ApplyLevelTimerInterval(); break;
            }
        }
        RunUntil(c.until);
        EXPECT_EQ(ticks, c.ticks);
    }
}

} // namespace
} // namespace vorlix::test
