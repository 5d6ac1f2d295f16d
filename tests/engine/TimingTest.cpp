#include "GameFixture.h"
#include "engine/Layer.h"

#include <limits>
#include <optional>

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

// The game's own timing, on the host's clock: ticks and level changes come when the timers
// fall due.
using TimingTest = GameFixture;

// A game that ended during a key press leaves Timer1 running (its last tick finds no game);
// the next New Game must still give the first piece a full interval before it falls.
TEST_F(TimingTest, TheFirstFallComesOneFullIntervalAfterNewGame)
{
    const std::pair<const char *, std::int64_t> difficulties[] = {{"Easy", 1000}, {"Medium", 700}, {"Hard", 500}};
    for (auto [difficulty, interval] : difficulties) {
        host = RecordingHost{}; // the clock back at 0, both timers as at start-up
        settings.Difficulty = "Easy";
        Start();
        RunUntil(700);
        P(0).Pit.set(1, 1, true);
        game.FormKeyDown(settings.P1Left); // game over in the key's pass
        ASSERT_TRUE(state.GameStopped);

        settings.Difficulty = difficulty;
        RunUntil(800);
        game.NewGame1Click();
        const Grid spawned = P(0).Piece;
        RunUntil(800 + interval - 1);
        EXPECT_EQ(P(0).Piece, spawned) << difficulty;
        RunUntil(800 + interval);
        EXPECT_EQ(P(0).Piece, Moved(spawned, 0, 1)) << difficulty;
    }
}

TEST_F(TimingTest, ALevelChangeRestartsTheFallPeriod)
{
    settings.LevelChangeBy = 3;
    settings.LevelChangePieces = 2;
    Start();
    RunUntil(1500);
    game.FormKeyDown(settings.P1DownFast); // the second piece brings level 2: 800 ms
    game.FormKeyUp(settings.P1DownFast);
    ASSERT_EQ(state.Level, 2);
    const Grid spawned = P(0).Piece;
    RunUntil(2299);
    EXPECT_EQ(P(0).Piece, spawned);
    RunUntil(2300);
    EXPECT_EQ(P(0).Piece, Moved(spawned, 0, 1));
}

// Levels every minute of unpaused play; a pause loses the part of the minute before it.
TEST_F(TimingTest, TimedLevelsCountFullMinutesSinceNewGameOrResume)
{
    game.ApplyLevelTimerInterval();
    Start();
    game.FormKeyDown(settings.P1DownSlow); // held: gravity stops, so the pit stays empty
    RunUntil(180'000);
    EXPECT_EQ(state.Level, 4);
    EXPECT_EQ(state.FallInterval, 512u);

    RunUntil(239'000);
    game.FormKeyDown(Key::Escape);
    RunUntil(241'000);
    EXPECT_EQ(state.Level, 4);
    game.FormKeyDown(Key::Escape);
    RunUntil(300'999);
    EXPECT_EQ(state.Level, 4);
    RunUntil(301'000);
    EXPECT_EQ(state.Level, 5);
}

} // namespace
} // namespace vorlix::test
