#include "GameFixture.h"

#include <array>
#include <limits>
#include <map>

namespace vorlix::test {
namespace {

using RowsTest = GameFixture;

TEST_F(RowsTest, ScoreForRowsFollowsTheModeTable)
{
    const std::int32_t points[] = {0, 100, 200, 400, 1600, 0};
    const std::int32_t aggressive[] = {0, 150, 300, 600, 2000, 0};
    for (int n = 0; n <= 5; ++n) {
        settings.Mode = "Points";
        EXPECT_EQ(game.ScoreForRows(n), points[n]);
        settings.Mode = "Aggressive";
        EXPECT_EQ(game.ScoreForRows(n), aggressive[n]);
        settings.Mode = "points";
        EXPECT_EQ(game.ScoreForRows(n), 0);
    }
}

TEST_F(RowsTest, ScoresAndCountersSaturateInsteadOfWrapping)
{
    settings.PFour = std::numeric_limits<std::int32_t>::max();
    settings.POne = std::numeric_limits<std::int32_t>::min();
    Start();
    P(0).Score = 5;
    P(0).Bonuses = 255;
    state.Player1Clears = std::numeric_limits<std::int32_t>::max();
    state.LinesSinceLevel = std::numeric_limits<std::int32_t>::max() - 1;
    P(0).Pit = FullRows(4);
    game.SettleRows();
    EXPECT_EQ(P(0).Score, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(P(0).Bonuses, 255);
    EXPECT_EQ(state.Player1Clears, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(state.LinesSinceLevel, std::numeric_limits<std::int32_t>::max());

    P(0).Score = -5;
    P(0).Pit = FullRows(1);
    game.SettleRows();
    EXPECT_EQ(P(0).Score, std::numeric_limits<std::int32_t>::min());
}

// The row is credited first, so the summary shows its score; then the game ends as after Stop
// Game, but with a winner.
TEST_F(RowsTest, ALandingInRowOneEndsTheGameEvenWhenItCompletesARow)
{
    Start();
    P(0).Pit = FullRows(1);
    P(0).Pit.set(1, 1, true);
    game.SettleRows();
    EXPECT_TRUE(state.GameStopped);
    EXPECT_EQ(P(0).Pit.count() + P(0).Piece.count(), 0);
    ASSERT_EQ(host.summaries.size(), 1u);
    const GameState &summary = host.summaries[0];
    EXPECT_EQ(summary.Winner, 2);
    EXPECT_EQ(summary.Player1().Score, settings.POne);
    EXPECT_EQ(host.menus, MenuSet::NoGame);
    EXPECT_EQ(host.shown, (std::map<GamePanel, bool>{{GamePanel::Logo, true}, {GamePanel::Pause, false},
                                                     {GamePanel::Preview1, false}, {GamePanel::Preview2, false}}));
    EXPECT_FALSE(host.level.Enabled());
}

// Every column of row 1 is looked at, from the left: the first block found decides, and
// within a column player 1's overflow comes first. Row 2 ends nothing.
TEST_F(RowsTest, TheOverflowingPlayerLosesAndTheLeftmostColumnDecides)
{
    struct Case {
        int players, row;
        int p1Column, p2Column; // 0: no block
        int winner;             // 0: the game goes on
    };
    const Case cases[] = {
        {2, 1, 0, 4, 1},  {2, 1, 4, 0, 2},  {2, 1, 7, 3, 1},  {2, 1, 3, 7, 2}, {2, 1, 5, 5, 2},
        {2, 1, 1, 0, 2},  {2, 1, 10, 0, 2}, {2, 1, 0, 1, 1},  {2, 1, 0, 10, 1}, {2, 1, 10, 1, 1},
        {2, 1, 1, 10, 2}, {1, 1, 1, 0, 2},  {1, 1, 10, 0, 2}, {1, 1, 0, 5, 0}, {2, 2, 1, 10, 0},
    };
    for (const Case &c : cases) {
        host.summaries.clear();
        Start(c.players);
        if (c.p1Column)
            P(0).Pit.set(c.p1Column, c.row, true);
        if (c.p2Column)
            P(1).Pit.set(c.p2Column, c.row, true);
        game.SettleRows();
        SCOPED_TRACE(testing::Message() << c.players << " players, row " << c.row << ", columns " << c.p1Column << " "
                                        << c.p2Column);
        EXPECT_EQ(state.GameStopped, c.winner != 0);
        EXPECT_EQ(state.Winner, c.winner);
        EXPECT_EQ(host.summaries.size(), c.winner ? 1u : 0u);
        EXPECT_EQ(host.shown[GamePanel::Preview2], c.players == 2 && !c.winner);
        if (c.winner) {
            EXPECT_EQ(P(0).Pit.count() + P(1).Pit.count() + P(0).Piece.count() + P(1).Piece.count(), 0);
        }
    }
}

// Between games a key's pass only settles and redraws: it deals no piece. Levels by rows at
// every call push garbage rows even then, one key press after another, until they reach row 1:
// the game that is over is not ended again.
TEST_F(RowsTest, KeysBetweenGamesDealNothingAndEndNothing)
{
    settings.Mode = "Aggressive";
    settings.LevelChangeBy = 2;
    settings.LevelChangeLines = 0;
    for (std::int32_t key : {Key::C, settings.P1DownFast, settings.P1DownSlow}) {
        SCOPED_TRACE(key);
        Start(1);
        P(0).Pit.set(1, 1, true);
        game.SettleRows();
        ASSERT_TRUE(state.GameStopped);
        host.summaries.clear();
        const std::int32_t pieces = state.Pieces;
        for (int press = 0; press < 12; ++press) {
            game.FormKeyDown(key);
            game.FormKeyUp(key);
        }
        EXPECT_EQ(P(0).Piece.count(), 0);
        EXPECT_EQ(state.Pieces, pieces);
        EXPECT_EQ(Drawn(P(0).Pit).front().substr(0, 2), "1 ");
        EXPECT_EQ(Screen(0), Drawn(P(0))); // each key's pass redraws
        EXPECT_TRUE(host.summaries.empty());
        EXPECT_EQ(state.Winner, 2);
    }
}

// When a level change may come and when not. Each event leaves the level it is followed by
// in `levels`: '1'..'4' player 1 removes that many rows, 'a'..'d' player 2 does (the
// bookkeeping runs once); 'p' and 'q' deal player 1's or player 2's next piece and run the
// bookkeeping; 's' runs it alone; 'X' fills row 20 of player 1's pit and puts a block in its
// row 1, so the bookkeeping ends the game; 't' the level timer fires; 'P' pauses or resumes;
// 'k' an unbound key runs a pass.
TEST_F(RowsTest, LevelChangesComeOnlyWhenTheirRuleSays)
{
    constexpr std::int32_t Least = std::numeric_limits<std::int32_t>::min();
    struct Case {
        const char *name;
        int by;
        std::int32_t length; // of a level in rows and in pieces
        int players;
        std::string events, levels;
        std::int32_t since; // LinesSinceLevel at the end
    };
    const Case cases[] = {
        {"rows: the length reached, the surplus carried", 2, 5, 1, "44s", "122", 3},
        {"rows: exactly the length", 2, 5, 1, "41", "12", 0},
        {"rows: one level per call", 2, 2, 1, "4ss", "233", 0},
        {"rows: both players' rows count together", 2, 4, 2, "2b", "12", 0},
        {"rows: a length of 0 at every call", 2, 0, 1, "ss", "23", 0},
        {"rows: the least length, saturated", 2, Least, 1, "ss", "23", std::numeric_limits<std::int32_t>::max()},
        {"rows: even in the call that ends the game", 2, 1, 1, "X", "2", 0},
        {"pieces: the tenth piece", 3, 10, 1, "ppppppppp", "111111112", 0},
        {"pieces: both players' first pieces count", 3, 4, 2, "pq", "12", 0},
        {"pieces: only player 1's spawns mark a new piece", 3, 2, 2, "sqqpq", "22223", 0},
        {"pieces: no second change on the same count", 3, 4, 1, "ppps", "1122", 0},
        {"pieces: not in the call that ends the game", 3, 1, 1, "X", "1", 1},
        {"pieces: a length of 0 never", 3, 0, 1, "ppp", "111", 0},
        {"pieces: a negative length as its magnitude", 3, -3, 1, "ppppp", "12223", 0},
        {"pieces: the first piece is a multiple of 1", 3, 1, 1, "s", "2", 0},
        {"seconds: only the level timer", 1, 5, 1, "t44pppp", "2222222", 8},
        {"rows: not the level timer", 2, 5, 1, "t", "1", 0},
        {"pieces: not the level timer", 3, 5, 1, "t", "1", 0},
        {"no other rule changes levels", 0, 1, 1, "4pt", "111", 4},
        {"not while paused", 1, 1, 1, "Pt", "11", 0},
        {"pieces: an unbound key's pass settles", 3, 1, 1, "k", "2", 0},
        {"pieces: a paused pass takes no level", 3, 1, 1, "PkPs", "1112", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        state = GameState{};
        settings.LevelChangeBy = c.by;
        settings.LevelChangeLines = settings.LevelChangePieces = c.length;
        Start(c.players);
        std::string levels;
        for (char e : c.events) {
            if (e >= '1' && e <= '4')
                P(0).Pit = FullRows(e - '0');
            if (e >= 'a' && e <= 'd')
                P(1).Pit = FullRows(e - 'a' + 1);
            if (e == 'p' || e == 'q')
                game.SpawnPiece(e == 'p' ? 0 : 1);
            if (e == 'X')
                P(0).Pit = PitOf({"1 #.........", "20 ##########"});
            if (e == 't')
                game.LevelTimerTimer();
            else if (e == 'k')
                game.FormKeyDown(Key::F1);
            else if (e == 'P')
                game.TogglePause();
            else
                game.SettleRows();
            levels += std::to_string(state.Level);
        }
        EXPECT_EQ(levels, c.levels);
        EXPECT_EQ(state.LinesSinceLevel, c.since);
    }
}

// In a two-player Aggressive game both pits lose their full rows first; then player 1's rows
// are sent, one garbage row each with its own hole, then player 2's; then the overflow test.
// Points games and one-player games send nothing.
TEST_F(RowsTest, BothPitsSettleThenPlayerOnesRowsAreSentFirst)
{
    const std::string full(10, '#');
    struct Case {
        const char *name;
        std::array<Rows, 2> before, after;
        int winner;
        const char *mode = "Aggressive";
        int players = 2;
    };
    const Case cases[] = {
        {"one row against two", {{{"20 " + full}, {"19 " + full, "20 " + full}}},
         {{{"19 .#########", "20 ######.###"}, {"20 #######.##"}}}, 0},
        {"player 2's block in row 1 stays through its removal and the garbage", {{{"20 " + full}, {"1 #.........", "20 " + full}}},
         {{{}, {}}}, 1},
        {"garbage pushing a block into row 1 ends the game at once", {{{"20 " + full}, {"2 ....#....."}}}, {{{}, {}}}, 1},
        {"the same for player 1", {{{"2 ....#....."}, {"20 " + full}}}, {{{}, {}}}, 2},
        {"Points: nothing sent", {{{"20 " + full}, {"19 " + full, "20 " + full}}}, {{{}, {}}}, 0, "Points"},
        {"one player: nothing sent", {{{"20 " + full}, {"20 #........."}}}, {{{}, {"20 #........."}}}, 0, "Aggressive", 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        settings.Mode = c.mode;
        Start(c.players);
        P(0).Pit = PitOf(c.before[0]);
        P(1).Pit = PitOf(c.before[1]);
        game.SettleRows();
        EXPECT_EQ(state.Winner, c.winner);
        EXPECT_EQ(Drawn(P(0).Pit), c.after[0]);
        EXPECT_EQ(Drawn(P(1).Pit), c.after[1]);
    }
}

// The rows a player removes score and count for that player, whoever it is: four rows earn a
// bonus, three do not, more than four at once score nothing and earn no bonus. Player 1's
// removals alone count as clears; the rows of both count towards levels.
TEST_F(RowsTest, RemovedRowsScoreForTheirPlayer)
{
    for (auto [me, players] : {std::pair{0, 1}, std::pair{0, 2}, std::pair{1, 2}}) {
        for (const char *mode : {"Points", "Aggressive"}) {
            SCOPED_TRACE(testing::Message() << "player " << me + 1 << " of " << players << ", " << mode);
            state = GameState{};
            settings.Mode = mode;
            Start(players);
            const std::int32_t four = settings.Aggressive() ? settings.AFour : settings.PFour;
            const std::int32_t three = settings.Aggressive() ? settings.AThree : settings.PThree;
            for (int rows : {4, 3, 5}) {
                P(me).Pit = FullRows(rows);
                game.SettleRows();
                const std::int32_t total = rows == 4 ? four : four + three;
                EXPECT_EQ(P(me).Pit.count(), 0);
                EXPECT_EQ(P(me).Score, total);
                EXPECT_EQ(P(me).Bonuses, 1);
                EXPECT_EQ(host.status[me == 0 ? 1 : 4], "Score: " + std::to_string(total));
                EXPECT_EQ(host.status[me == 0 ? 2 : 5], "Bonuses: 1");
            }
            EXPECT_EQ(state.Player1Clears, me == 0 ? 3 : 0);
            EXPECT_EQ(state.LinesSinceLevel, 12);
            EXPECT_EQ(P(1 - me).Score, 0);
            EXPECT_EQ(P(1 - me).Bonuses, 0);
        }
    }
}

} // namespace
} // namespace vorlix::test
