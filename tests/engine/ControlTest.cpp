#include "GameFixture.h"

#include <array>
#include <functional>
#include <limits>
#include <map>

namespace vorlix::test {
namespace {

using ControlTest = GameFixture;

// The pits show black until the first redraw; the seed is the clock, and the kinds and pictures
// dealt replay from it.
TEST_F(ControlTest, NewGameSetsUpEverything)
{
    settings.Difficulty = "Hard";
    settings.NumberOfPlayers = 2;
    state.Winner = 1;
    state.Level = 7;
    P(0).Score = 900;
    P(1).Score = 800;
    P(0).Bonuses = 2;
    P(1).Bonuses = 3;
    P(0).Pit.set(3, 3, true);
    state.Keys.Player[0].SoftDropFlag = true;
    state.Pieces = 50; // the summary's figures of the last game
    state.Player1Clears = 9;
    state.LinesSinceLevel = 4;
    host.seconds = 1700000007;
    host.DrawPits(); // the last game on screen
    game.NewGame1Click();

    EXPECT_EQ(host.menus, MenuSet::RunningGame);
    EXPECT_EQ(host.shown, (std::map<GamePanel, bool>{{GamePanel::Logo, false}, {GamePanel::Pause, false},
                                                     {GamePanel::Preview1, true}, {GamePanel::Preview2, true}}));
    EXPECT_EQ(host.status, (std::map<int, std::string>{{0, "Hard: Level 1"}, {1, "Score: 0"}, {2, "Bonuses: 0"},
                                                       {4, "Score: 0"}, {5, "Bonuses: 0"}}));
    EXPECT_EQ(host.gravity.Due(), 500);
    EXPECT_TRUE(host.level.Enabled());
    EXPECT_EQ(host.screen[0], std::vector<std::string>(PitHeight, std::string(PitWidth, ' ')));
    EXPECT_EQ(host.screen[1], host.screen[0]);
    EXPECT_FALSE(state.GameStopped);
    EXPECT_EQ(state.Winner, 0);
    EXPECT_EQ(state.Pieces, 2);
    EXPECT_EQ(state.Player1Clears, 0);
    EXPECT_EQ(state.LinesSinceLevel, 0);
    EXPECT_EQ(P(0).Pit.count(), 0);
    EXPECT_FALSE(state.Keys.Player[0].SoftDropFlag);
    const std::array<int, 6> dealt{P(0).Kind, P(0).Picture, P(0).NextKind, P(1).Kind, P(1).Picture, P(1).NextKind};
    EXPECT_EQ(dealt, (std::array<int, 6>{1, 14, 2, 7, 9, 4}));
}

TEST(Random, IsTheLinearCongruentialGenerator)
{
    Random rng;
    rng.Seed(1234);
    std::vector<std::uint32_t> draws;
    for (std::uint32_t n : {7u, 20u, 10u, 1000u, 0xFFFFFFFFu})
        draws.push_back(rng(n));
    EXPECT_EQ(draws, (std::vector<std::uint32_t>{5, 16, 3, 2, 1329851014}));
}

// Only the players taking part are reset, and their previews shown when Preview is 1.
TEST_F(ControlTest, NewGameSetsUpItsPlayersOnly)
{
    struct Case {
        int players;
        std::uint8_t preview;
        bool shown1, shown2;
    };
    const Case cases[] = {{1, 1, true, false}, {2, 1, true, true}, {1, 0, false, false}, {2, 2, false, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.players << " players, preview " << int{c.preview});
        state = GameState{};
        host.shown[GamePanel::Preview1] = host.shown[GamePanel::Preview2] = false;
        P(1).Score = 77;
        P(1).Bonuses = 3;
        settings.Preview = c.preview;
        Start(c.players);
        EXPECT_EQ(host.shown[GamePanel::Preview1], c.shown1);
        EXPECT_EQ(host.shown[GamePanel::Preview2], c.shown2);
        EXPECT_EQ(P(1).Score, c.players == 1 ? 77 : 0);
        EXPECT_EQ(P(1).Bonuses, c.players == 1 ? 3 : 0);
        EXPECT_EQ(P(1).Piece.count(), c.players == 1 ? 0 : 4);
    }
}

TEST_F(ControlTest, AnUnknownDifficultyKeepsThePreviousInterval)
{
    settings.Difficulty = "easy";
    Start();
    EXPECT_EQ(state.FallInterval, 1000u);
    settings.Difficulty = "Medium";
    Start();
    game.NextLevel();
    settings.Difficulty = "Extreme";
    game.NewGame1Click();
    EXPECT_EQ(state.FallInterval, 560u);
    EXPECT_EQ(host.gravity.Interval(), 560);
}

TEST_F(ControlTest, FallIntervalsForTwentyLevels)
{
    const std::uint32_t table[20][3] = {
        {1000, 700, 500}, {800, 560, 400}, {640, 448, 320}, {512, 356, 256}, {408, 284, 204},
        {324, 224, 160},  {256, 176, 128}, {204, 140, 100}, {160, 112, 80},  {128, 88, 64},
        {100, 68, 48},    {80, 52, 36},    {64, 40, 28},    {48, 32, 20},    {36, 24, 16},
        {28, 16, 12},     {20, 12, 8},     {16, 8, 8},      {12, 8, 8},      {8, 8, 8},
    };
    const char *names[] = {"Easy", "Medium", "Hard"};
    for (int d : {1, 2, 0}) { // Easy last, so it cannot keep an interval left from before
        settings.Difficulty = names[d];
        Start(2);
        for (int level = 1; level <= 20; ++level) {
            EXPECT_EQ(state.Level, level);
            EXPECT_EQ(host.status[0], names[d] + (": Level " + std::to_string(level)));
            EXPECT_EQ(state.FallInterval, table[level - 1][d]) << names[d] << " level " << level;
            EXPECT_EQ(host.gravity.Interval(), table[level - 1][d]);
            game.NextLevel();
            // Both pits flash with player 1's picture until the next redraw.
            EXPECT_EQ(host.screen[1], std::vector<std::string>(PitHeight, std::string(PitWidth, '*')));
        }
        // At the shortest interval a level change does not put off the next fall.
        host.now = 5;
        const auto due = host.gravity.Due();
        game.NextLevel();
        EXPECT_EQ(host.gravity.Due(), due) << names[d];
    }
    state.Level = 255;
    game.NextLevel();
    EXPECT_EQ(state.Level, 0);
}

// Whatever brings the level; a block pushed into row 1 ends the game at the next bookkeeping,
// not in the one whose rows brought the level.
TEST_F(ControlTest, OnePlayerAggressiveLevelsPushTwoGarbageRows)
{
    settings.Mode = "Aggressive";
    Start(1);
    P(0).Pit = PitOf({"3 ...#......", "20 #........."});
    game.LevelTimerTimer();
    EXPECT_EQ(Drawn(P(0).Pit).front(), "1 ...#......");
    EXPECT_EQ(Drawn(P(0).Pit)[1], "18 #.........");
    EXPECT_EQ(P(0).Pit.count(), 2 + 18);

    settings.LevelChangeBy = 2;
    settings.LevelChangeLines = 1;
    Start(1);
    P(0).Pit = PitOf({"2 ...#......", "20 ##########"});
    game.SettleRows();
    EXPECT_EQ(state.Level, 2);
    EXPECT_EQ(Drawn(P(0).Pit).front(), "1 ...#......");
    EXPECT_FALSE(state.GameStopped);
    game.SettleRows();
    EXPECT_TRUE(state.GameStopped);

    Start(2);
    game.NextLevel();
    EXPECT_EQ(P(0).Pit.count() + P(1).Pit.count(), 0);
}

TEST_F(ControlTest, LevelTimerIntervalIsComputedWithoutOverflow)
{
    const std::pair<std::int32_t, std::int64_t> cases[] = {
        {60, 60000}, {0, 0}, {-5, -5000}, {2147483, 2147483000},
        {2147484, std::numeric_limits<std::int32_t>::max()}, {std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::max()},
        {std::numeric_limits<std::int32_t>::min(), std::int64_t{std::numeric_limits<std::int32_t>::min()} * 1000},
    };
    for (auto [seconds, ms] : cases) {
        settings.LevelChangeTime = seconds;
        game.ApplyLevelTimerInterval();
        EXPECT_EQ(host.level.Interval(), ms) << seconds;
    }
}

// Every way into a pause hides the pits, shows the Pause panel and stops both timers; late
// ticks, keys and the focus coming back change nothing until the resume. Escape resumes with
// the pits redrawn at once, the Pause command at the next tick. Losing the focus also drops
// the keys held, whose releases will go elsewhere.
TEST_F(ControlTest, APauseHidesThePitsAndHoldsTheGameUntilItsResume)
{
    const std::function<void()> escape = [&] {
        game.FormKeyDown(Key::Escape);
        game.FormKeyUp(Key::Escape);
    };
    const std::function<void()> focusLost = [&] { game.FormDeactivate(); };
    const std::function<void()> command = [&] { game.TogglePause(); };
    struct Case {
        const char *name;
        std::function<void()> pause, resume;
        bool redrawn, keysDropped;
    };
    const Case cases[] = {
        {"Escape, Escape", escape, escape, true, false},
        {"focus lost, the Pause command", focusLost, command, false, true},
        {"the Pause command, Escape", command, escape, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        game.PlayStep();
        state.Keys.Player[0].SoftDropFlag = true;
        c.pause();
        const Rows pits = Drawn(P(0));
        EXPECT_EQ(state.Keys.Player[0].SoftDropFlag, !c.keysDropped);
        for (int round = 0; round < 2; ++round) {
            EXPECT_TRUE(state.Paused);
            EXPECT_EQ(Screen(0), Rows{});
            EXPECT_TRUE(host.shown[GamePanel::Pause]);
            EXPECT_FALSE(host.gravity.Enabled() || host.level.Enabled());
            EXPECT_EQ(Drawn(P(0)), pits);
            EXPECT_EQ(state.Level, 1);
            game.FormDeactivate();
            game.AppOnActivate();
            game.FormActivate();
            game.GravityTick();
            game.LevelTimerTimer();
            game.FormKeyDown(settings.P1Right);
            game.FormKeyUp(settings.P1Right);
        }
        c.resume();
        EXPECT_FALSE(state.Paused);
        EXPECT_FALSE(host.shown[GamePanel::Pause]);
        EXPECT_TRUE(host.gravity.Enabled() && host.level.Enabled());
        EXPECT_EQ(Screen(0), c.redrawn ? Drawn(P(0)) : Rows{});
    }
}

// Escape, the Pause command and the focus between games neither start nor pause anything.
TEST_F(ControlTest, WithoutAGameNothingPauses)
{
    game.FormKeyDown(Key::Escape);
    game.TogglePause();
    game.FormDeactivate();
    game.AppOnActivate();
    game.FormActivate();
    EXPECT_FALSE(state.Paused);
    EXPECT_FALSE(host.shown[GamePanel::Pause]);
    EXPECT_FALSE(host.gravity.Enabled() || host.level.Enabled());

    // Nor does the focus coming back stop a running game that did not lose it; it repaints the
    // window, which blanks the pits until the next redraw.
    Start();
    for (void (Game::*activate)() : {&Game::AppOnActivate, &Game::FormActivate}) {
        game.PlayStep();
        (game.*activate)();
        EXPECT_EQ(Screen(0), Rows{});
        EXPECT_FALSE(state.Paused);
        EXPECT_TRUE(host.gravity.Enabled() && host.level.Enabled());
    }
}

TEST_F(ControlTest, StopGameFromAPausedGame)
{
    Start(2);
    P(0).Pit = FullRows(3);
    P(1).Pit = FullRows(2);
    P(1).Score = 7;
    game.TogglePause();
    game.StopGame1Click();
    EXPECT_EQ(host.menus, MenuSet::NoGame);
    EXPECT_FALSE(host.gravity.Enabled() || host.level.Enabled());
    ASSERT_EQ(host.summaries.size(), 1u);
    const GameState &summary = host.summaries[0];
    EXPECT_EQ(summary.Player1().Score, 0);
    EXPECT_EQ(summary.Player2().Score, 7);
    EXPECT_EQ(host.shown, (std::map<GamePanel, bool>{{GamePanel::Logo, true}, {GamePanel::Pause, false},
                                                     {GamePanel::Preview1, false}, {GamePanel::Preview2, false}}));
    EXPECT_TRUE(state.GameStopped);
    EXPECT_FALSE(state.Paused);
    EXPECT_EQ(state.Winner, 0);
    EXPECT_EQ(P(0).Piece.count() + P(1).Piece.count() + P(0).Pit.count() + P(1).Pit.count(), 0);

    Start(); // and from a running game
    game.StopGame1Click();
    EXPECT_FALSE(host.gravity.Enabled() || host.level.Enabled());
    game.StopGame1Click(); // no game: no second summary
    EXPECT_EQ(host.summaries.size(), 2u);
}

// Before any game (the level panel at each level change is FallIntervalsForTwentyLevels').
TEST_F(ControlTest, StartupStatusTexts)
{
    settings.Difficulty = "Easy";
    game.WriteStartupStatus();
    EXPECT_EQ(host.status, (std::map<int, std::string>{{0, "Easy: Level "}, {1, "Score: "}, {2, "Bonuses: "}}));
}

} // namespace
} // namespace vorlix::test
