#include "GameFixture.h"
#include "control/Speed.h"

#include <limits>
#include <map>

namespace vorlix::test {
namespace {

using Strings = std::vector<std::string>;
class ControlTest : public GameFixture {
protected:
    // A paused game hides its pits behind the Pause panel and stops both timers.
    void ExpectPausedScreen()
    {
        EXPECT_TRUE(host.Has("blank"));
        EXPECT_TRUE(host.shown["Pause"]);
        EXPECT_FALSE(host.gravity.Enabled() || host.level.Enabled());
    }
};

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
    host.seconds = 1234;
    game.NewGame1Click();

    EXPECT_EQ(host.menus, "running");
    EXPECT_EQ(host.shown, (std::map<std::string, bool>{{"Pause", false}, {"Preview1", true}, {"Preview2", true},
                                                       {"Logo", false}}));
    EXPECT_EQ(host.status, (std::map<int, std::string>{{0, "Hard: Level 1"}, {1, "Score: 0"}, {2, "Bonuses: 0"},
                                                       {4, "Score: 0"}, {5, "Bonuses: 0"}}));
    EXPECT_EQ(host.gravity.Due(), 500);
    EXPECT_TRUE(host.level.Enabled());
    EXPECT_TRUE(host.Has("black"));
    EXPECT_EQ(host.calls.back(), "events"); // what waited runs on the new game
    EXPECT_FALSE(state.GameStopped);
    EXPECT_EQ(state.Winner, 0);
    EXPECT_EQ(state.Pieces, 2);
    EXPECT_EQ(state.Player1Clears, 0);
    EXPECT_EQ(P(0).Pit.count(), 0);
    EXPECT_EQ(P(0).Piece.count(), 4);
    EXPECT_EQ(P(1).Piece.count(), 4);
    EXPECT_FALSE(state.Keys.Player[0].SoftDropFlag);

    // The draws replay from the clock: next kinds of both players first, then each spawn.
    Random rng;
    rng.Seed(1234);
    std::uint32_t next1 = rng(7) + 1, next2 = rng(7) + 1;
    std::uint32_t picture1 = rng(20) + 1;
    rng(7);
    std::uint32_t picture2 = rng(20) + 1;
    EXPECT_EQ(P(0).Kind, next1);
    EXPECT_EQ(P(1).Kind, next2);
    EXPECT_EQ(P(0).Picture, picture1);
    EXPECT_EQ(P(1).Picture, picture2);
}

TEST(Random, IsTheLinearCongruentialGenerator)
{
    Random rng;
    rng.Seed(1234);
    std::vector<std::uint32_t> draws;
    for (std::uint32_t n : {7u, 20u, 10u, 1000u, 0xFFFFFFFFu})
        draws.push_back(rng(n));
    EXPECT_EQ(draws, (std::vector<std::uint32_t>{5, 16, 3, 2, 1329851014}));
    EXPECT_EQ(rng.SeedValue(), 1329851015u);
}

TEST_F(ControlTest, OnePlayerNewGameLeavesPlayerTwoAlone)
{
    P(1).Score = 77;
    P(1).Bonuses = 3;
    settings.Preview = 0;
    Start(1);
    EXPECT_EQ(P(1).Score, 77);
    EXPECT_EQ(P(1).Bonuses, 3);
    EXPECT_EQ(P(1).Piece.count(), 0);
}

TEST_F(ControlTest, NewGameShowsThePreviewsOfItsPlayersOnlyWhenPreviewIsOne)
{
    struct Case {
        int players;
        std::uint8_t preview;
        Strings shown;
    };
    const Case cases[] = {
        {1, 1, {"show Preview1"}}, {2, 1, {"show Preview1", "show Preview2"}}, {1, 0, {}}, {2, 2, {}},
    };
    for (const Case &c : cases) {
        settings.NumberOfPlayers = static_cast<std::uint8_t>(c.players);
        settings.Preview = c.preview;
        host.calls.clear();
        game.NewGame1Click();
        EXPECT_EQ(host.Only("show Preview"), c.shown) << c.players << " players, preview " << int{c.preview};
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
    host.calls.clear();
    game.NewGame1Click();
    EXPECT_EQ(state.FallInterval, 560u);
    EXPECT_TRUE(host.Only("interval").empty());
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
    for (int d = 0; d < 3; ++d) {
        settings.Difficulty = names[d];
        Start();
        for (int level = 1; level <= 20; ++level) {
            EXPECT_EQ(state.Level, level);
            EXPECT_EQ(state.FallInterval, table[level - 1][d]) << names[d] << " level " << level;
            game.NextLevel();
        }
        // At the shortest interval a level change does not put off the next fall.
        host.now = 5;
        const auto due = host.gravity.Due();
        game.NextLevel();
        EXPECT_EQ(host.gravity.Due(), due) << names[d];
    }
    EXPECT_EQ(ShortenedFallInterval(12), 8u);
    EXPECT_EQ(ShortenedFallInterval(36), 28u);
    EXPECT_EQ(ShortenedFallInterval(8), 8u);
}

TEST_F(ControlTest, NextLevelFlashesCountsWritesAndShortens)
{
    settings.Difficulty = "Medium";
    Start();
    game.NextLevel();
    EXPECT_EQ(host.calls, (Strings{"flash", "status 0 Medium: Level 2", "interval Gravity 560"}));
    state.Level = 255;
    game.NextLevel();
    EXPECT_EQ(state.Level, 0);
}

TEST_F(ControlTest, ALevelChangeWhilePausedOnlyStopsTheLevelTimer)
{
    Start();
    state.Paused = true;
    game.LevelTimerTimer();
    EXPECT_EQ(state.Level, 1);
    EXPECT_EQ(host.calls, Strings{"timer Level off"});
}

TEST_F(ControlTest, TheLevelTimerChangesLevelsOnlyWhenLevelsGoBySeconds)
{
    for (int by : {2, 3, 0}) {
        settings.LevelChangeBy = by;
        Start();
        game.LevelTimerTimer();
        EXPECT_EQ(state.Level, 1);
    }
    settings.LevelChangeBy = 1;
    game.LevelTimerTimer();
    EXPECT_EQ(state.Level, 2);
}

TEST_F(ControlTest, OnePlayerAggressiveLevelsPushTwoGarbageRows)
{
    settings.Mode = "Aggressive";
    Start(1);
    P(0).Pit = PitFromRows({"#........."});
    P(0).Pit.set(4, 3, true);
    game.NextLevel();
    EXPECT_TRUE(P(0).Pit.at(1, 18));
    EXPECT_TRUE(P(0).Pit.at(4, 1));
    EXPECT_EQ(P(0).Pit.count(), 2 + 18);
    game.SettleRows(); // the block pushed into row 1 ends the game
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
        EXPECT_EQ(game.LevelTimerInterval(), ms) << seconds;
    }
    game.ApplyLevelTimerInterval();
    EXPECT_EQ(host.calls.back(), "interval Level " + std::to_string(std::int64_t{std::numeric_limits<std::int32_t>::min()} * 1000));
}

TEST_F(ControlTest, EscapePausesAndResumes)
{
    Start();
    const Grid before = P(0).Piece;
    game.FormKeyDown(Key::Escape);
    EXPECT_TRUE(state.Paused);
    ExpectPausedScreen();
    EXPECT_EQ(host.Only("events").size(), 2u); // the pause's own, then the key's pass
    game.FormKeyUp(Key::Escape);
    game.GravityTick();
    EXPECT_EQ(P(0).Piece, before);

    host.calls.clear();
    game.FormKeyDown(Key::Escape);
    EXPECT_FALSE(state.Paused);
    EXPECT_FALSE(host.shown["Pause"]);
    EXPECT_TRUE(host.gravity.Enabled() && host.level.Enabled());
    EXPECT_TRUE(host.Has("draw")); // the key's pass redraws at once
}

TEST_F(ControlTest, EscapeWithoutAGameDoesNothing)
{
    game.FormKeyDown(Key::Escape);
    EXPECT_FALSE(state.Paused);
    EXPECT_FALSE(host.Has("timer Gravity on"));
    EXPECT_FALSE(host.Has("timer Level on"));
}

TEST_F(ControlTest, StopGameFromAPausedGame)
{
    Start(2);
    P(0).Pit = FullRows(3);
    P(1).Pit = FullRows(2);
    game.TogglePause();
    host.calls.clear();
    game.StopGame1Click();
    EXPECT_EQ(host.menus, "none");
    EXPECT_FALSE(host.gravity.Enabled() || host.level.Enabled() || host.enabled);
    EXPECT_TRUE(host.Has("summary"));
    EXPECT_EQ(host.shown, (std::map<std::string, bool>{{"Logo", true}, {"Preview1", false}, {"Preview2", false},
                                                       {"Pause", false}}));
    EXPECT_TRUE(state.GameStopped);
    EXPECT_FALSE(state.Paused);
    EXPECT_EQ(state.Winner, 0);
    EXPECT_EQ(P(0).Piece.count() + P(1).Piece.count() + P(0).Pit.count() + P(1).Pit.count(), 0);

    Start(); // and from a running game
    game.StopGame1Click();
    EXPECT_FALSE(host.gravity.Enabled() || host.level.Enabled());

    host.calls.clear();
    game.StopGame1Click(); // no game: no second summary
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(ControlTest, LosingTheFocusPausesAndDropsHeldKeys)
{
    Start();
    state.Keys.Player[0].SoftDropFlag = true;
    game.FormDeactivate();
    EXPECT_TRUE(state.Paused);
    EXPECT_FALSE(state.Keys.Player[0].SoftDropFlag);
    ExpectPausedScreen();

    host.calls.clear();
    game.FormDeactivate(); // a paused game stays paused
    game.AppOnActivate();
    game.FormActivate();
    EXPECT_TRUE(state.Paused);
    // Activation makes sure a paused game's timers stay off.
    EXPECT_EQ(host.calls, (Strings{"blank", "show Pause", "timer Gravity off", "timer Level off", "repaint",
                                   "timer Level off", "timer Gravity off", "blank", "repaint"}));

    game.TogglePause(); // the menu's Pause resumes
    EXPECT_FALSE(state.Paused);
    EXPECT_TRUE(host.gravity.Enabled() && host.level.Enabled());
}

TEST_F(ControlTest, FocusChangesWithoutAGameOnlyRepaint)
{
    game.FormDeactivate();
    game.AppOnActivate();
    game.FormActivate();
    EXPECT_EQ(host.calls, (Strings{"repaint", "repaint"}));

    // Nor do they stop a running game that did not lose the focus.
    Start();
    game.AppOnActivate();
    game.FormActivate();
    EXPECT_TRUE(host.gravity.Enabled());
    EXPECT_TRUE(host.level.Enabled());
    EXPECT_FALSE(state.Paused);
}

TEST_F(ControlTest, StatusTexts)
{
    settings.Difficulty = "Easy";
    game.WriteStartupStatus();
    EXPECT_EQ(host.calls, (Strings{"status 0 Easy: Level ", "status 1 Score: ", "status 2 Bonuses: "}));
    host.calls.clear();
    state.Level = 3;
    game.WriteLevelStatus();
    EXPECT_EQ(host.calls, Strings{"status 0 Easy: Level 3"});
}

// Every comparison is made (the roles of each key under each gravity are PlayerKeysTest's).
TEST_F(ControlTest, AKeyBoundToSeveralRolesSetsThemAll)
{
    Start();
    settings.P1Left = settings.P1Right;
    settings.P1DownFast = settings.P1Right;
    PlayerKeyFlags seen; // as the key's pass finds them, before it acts on them
    host.pendingEvents = [&] { seen = state.Keys.Player[0]; };
    game.FormKeyDown(settings.P1Right);
    EXPECT_TRUE(seen.RightFlag && seen.LeftFlag && seen.DropFlag);
}

// The release of another key, waiting in the queue when a one-shot key's pass begins, leaves
// that key's request alone.
TEST_F(ControlTest, AnotherKeysReleaseDoesNotCancelAOneShotKey)
{
    struct Case {
        const char *name;
        int players;
        std::int32_t key;
    };
    const Case cases[] = {
        {"hard drop", 1, settings.P1DownFast},
        {"player 2's hard drop", 2, settings.P2DownFast},
        {"bonus", 1, settings.P1Bonus},
        {"new piece", 1, Key::C},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.players);
        P(0).Bonuses = 1;
        const std::int32_t pieces = state.Pieces;
        game.FormKeyDown(settings.P1Left);
        host.pendingEvents = [&] { game.FormKeyUp(settings.P1Left); };
        game.FormKeyDown(c.key);
        EXPECT_EQ(state.Pieces, pieces + 1) << "a new piece dealt";
        EXPECT_EQ(P(0).Bonuses, c.key == settings.P1Bonus ? 0 : 1);
    }
}

TEST_F(ControlTest, KeysOfOtherModesSetNothing)
{
    Start(1);
    game.FormKeyDown(settings.P1Bonus); // no bonuses
    game.FormKeyDown(settings.P2Right);
    game.FormKeyDown(settings.P2DownSlow);
    EXPECT_FALSE(state.Keys.BonusFlag);
    EXPECT_FALSE(state.Keys.Player[1].RightFlag);
    EXPECT_FALSE(state.Keys.Player[1].SoftDropFlag);
    EXPECT_EQ(state.Pieces, 1);

    Start(2);
    P(0).Bonuses = 3;
    game.FormKeyDown(settings.P1Bonus);
    game.FormKeyDown(Key::C);
    EXPECT_FALSE(state.Keys.BonusFlag);
    EXPECT_FALSE(state.Keys.NewPieceFlag);
    EXPECT_EQ(P(0).Bonuses, 3);
}

TEST_F(ControlTest, AnUnboundKeyStillRunsAPass)
{
    Start();
    game.FormKeyDown(0x7A);
    EXPECT_EQ(host.calls.front(), "events");
    EXPECT_TRUE(host.Has("draw"));
}

TEST_F(ControlTest, NumberOfPlayersOtherThanOnePlaysAsTwo)
{
    Start(3);
    EXPECT_EQ(P(1).Piece.count(), 4);
    game.FormKeyDown(settings.P2Left);
    EXPECT_TRUE(state.Keys.Player[1].LeftFlag);
}

} // namespace
} // namespace vorlix::test
