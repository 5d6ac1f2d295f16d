#include "GameFixture.h"
#include "engine/Layer.h"

#include <limits>

namespace vorlix::test {
namespace {

using Strings = std::vector<std::string>;
using RowsTest = GameFixture;

TEST_F(RowsTest, RowsEighteenAndTwentyAreBlankedBottomFirstAndScoreTwoRows)
{
    Start();
    P(0).Pit = PitFromRows({
        "#.........",
        "##########",
        "..#.......",
        "##########",
    });
    game.SettleRows();
    EXPECT_EQ(P(0).Score, settings.PTwo);
    EXPECT_EQ(state.Player1Clears, 1);
    EXPECT_EQ(state.LinesSinceLevel, 2);
    // Full rows are blanked on screen, bottom row first, before they go.
    auto cells = host.Only("cell");
    ASSERT_EQ(cells.size(), 20u);
    EXPECT_EQ(cells.front(), "cell 0 1,20 blank");
    EXPECT_EQ(cells.back(), "cell 0 10,18 blank");
    EXPECT_EQ(host.Only("status"), Strings{"status 1 Score: 200"});
}

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

TEST_F(RowsTest, ALandingInRowOneEndsTheGameEvenWhenItCompletesARow)
{
    Start();
    P(0).Pit = FullRows(1);
    P(0).Pit.set(1, 1, true);
    game.SettleRows();
    EXPECT_TRUE(state.GameStopped);
    EXPECT_EQ(state.Winner, 2);
    EXPECT_EQ(P(0).Pit.count(), 0);
    EXPECT_EQ(P(0).Piece.count(), 0);
    EXPECT_EQ(host.Only("status").front(), "status 1 Score: 100");
    const auto end = std::find(host.calls.begin(), host.calls.end(), "menus none");
    ASSERT_NE(end, host.calls.end());
    EXPECT_EQ(Strings(end, host.calls.end()), (Strings{"menus none", "hide Preview1", "hide Preview2", "show Logo",
                                                       "timer Level off", "disable", "summary"}));
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
        Start(c.players);
        if (c.p1Column)
            P(0).Pit.set(c.p1Column, c.row, true);
        if (c.p2Column)
            P(1).Pit.set(c.p2Column, c.row, true);
        game.SettleRows();
        const std::string which = "players " + std::to_string(c.players) + " row " + std::to_string(c.row) +
                                  " columns " + std::to_string(c.p1Column) + " " + std::to_string(c.p2Column);
        EXPECT_EQ(state.GameStopped, c.winner != 0) << which;
        EXPECT_EQ(state.Winner, c.winner) << which;
        EXPECT_EQ(host.Only("summary").size(), c.winner ? 1u : 0u) << which;
        if (c.winner) {
            EXPECT_EQ(P(0).Pit.count() + P(1).Pit.count() + P(0).Piece.count() + P(1).Piece.count(), 0) << which;
        }
    }
}

// Between games keys deal no piece. Levels by rows at every call push
// garbage rows even then, one key press after another, until they reach row 1: the game that
// is over is not ended again.
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
        host.calls.clear();
        const std::int32_t pieces = state.Pieces;
        for (int press = 0; press < 12; ++press) {
            game.FormKeyDown(key);
            game.FormKeyUp(key);
        }
        EXPECT_EQ(P(0).Piece.count(), 0);
        EXPECT_EQ(state.Pieces, pieces);
        EXPECT_NE(RowsOf(P(0).Pit).front(), "..........");
        EXPECT_FALSE(host.Has("summary"));
        EXPECT_EQ(state.Winner, 2);
    }
}

TEST_F(RowsTest, LevelByRowsChangesAtExactlyTheLengthAndCarriesTheSurplus)
{
    struct Case {
        std::int32_t lines;
        std::vector<int> removals;
        std::vector<int> levels, since; // after each call
    };
    const Case cases[] = {
        {5, {4, 4, 0}, {1, 2, 2}, {4, 3, 3}},
        {5, {4, 1}, {1, 2}, {4, 0}},
        {4, {3, 1}, {1, 2}, {3, 0}},
        {2, {4, 0, 0}, {2, 3, 3}, {2, 0, 0}},
    };
    settings.LevelChangeBy = 2;
    for (const Case &c : cases) {
        settings.LevelChangeLines = c.lines;
        Start();
        for (std::size_t i = 0; i < c.removals.size(); ++i) {
            P(0).Pit = FullRows(c.removals[i]);
            game.SettleRows();
            EXPECT_EQ(state.Level, c.levels[i]) << "length " << c.lines << " call " << i;
            EXPECT_EQ(state.LinesSinceLevel, c.since[i]) << "length " << c.lines << " call " << i;
        }
    }
}

TEST_F(RowsTest, LevelLinesOfZeroOrLessChangeTheLevelAtEveryCall)
{
    settings.LevelChangeBy = 2;
    settings.LevelChangeLines = std::numeric_limits<std::int32_t>::min();
    Start();
    game.SettleRows();
    game.SettleRows();
    EXPECT_EQ(state.Level, 3);
    EXPECT_EQ(state.LinesSinceLevel, std::numeric_limits<std::int32_t>::max());
}

TEST_F(RowsTest, LevelByPiecesCountsBothPlayersFirstPieces)
{
    settings.LevelChangeBy = 3;
    settings.LevelChangePieces = 4;
    Start(2); // two pieces dealt
    game.ClearPiece(0);
    game.SpawnPiece(0); // 3
    game.SettleRows();
    EXPECT_EQ(state.Level, 1);
    game.ClearPiece(1);
    game.SpawnPiece(1); // 4: player 1 had a new piece since the last level
    game.SettleRows();
    EXPECT_EQ(state.Level, 2);
    game.SettleRows(); // still 4 pieces: no second change
    EXPECT_EQ(state.Level, 2);
}

TEST_F(RowsTest, LevelPiecesOfZeroNeverChangesAndNegativeActsAsItsMagnitude)
{
    settings.LevelChangeBy = 3;
    settings.LevelChangePieces = 0;
    Start();
    for (int i = 0; i < 30; ++i) {
        game.ClearPiece(0);
        game.SpawnPiece(0);
        game.SettleRows();
    }
    EXPECT_EQ(state.Level, 1);

    settings.LevelChangePieces = 1;
    Start(); // 1 piece
    game.SettleRows();
    EXPECT_EQ(state.Level, 2) << "the first piece is a multiple of 1";

    settings.LevelChangePieces = -3;
    Start(); // 1 piece
    for (int i = 0; i < 5; ++i) {
        game.ClearPiece(0);
        game.SpawnPiece(0);
        game.SettleRows();
    }
    EXPECT_EQ(state.Level, 3); // at 3 and 6 pieces
}

TEST_F(RowsTest, PlayerTwoSoftDropFlagIsIgnoredInAOnePlayerGame)
{
    Start(1);
    state.Keys.Player[1].SoftDropFlag = true;
    const Grid p1 = P(0).Piece;
    game.GravityTick();
    EXPECT_EQ(P(0).Piece, Moved(p1, 0, 1));
}

TEST_F(RowsTest, ATickWhilePausedHidesThePitsAndStopsBothTimers)
{
    Start();
    state.Paused = true;
    const Grid before = P(0).Piece;
    game.GravityTick();
    EXPECT_EQ(P(0).Piece, before);
    EXPECT_EQ(host.calls, (Strings{"blank", "show Pause", "timer Gravity off", "timer Level off"}));
}

TEST_F(RowsTest, TheTickAfterAGameOverMovesNothingAndLeavesTheTimerOff)
{
    Start();
    P(0).Pit.set(1, 1, true);
    game.SettleRows();
    host.calls.clear();
    game.GravityTick();
    EXPECT_EQ(host.calls, (Strings{"timer Gravity off", "draw"}));
    EXPECT_EQ(P(0).Piece.count(), 0);
}

// The rows a player removes score, count and attack for that player, whoever it is.
class RowsBySeatTest : public GameFixture, public testing::WithParamInterface<std::tuple<Seat, const char *>> {
protected:
    int me = std::get<0>(GetParam()).player;
    int other = 1 - me;
    bool aggressive = std::string(std::get<1>(GetParam())) == "Aggressive";

    void SetUp() override
    {
        settings.Mode = std::get<1>(GetParam());
        Start(std::get<0>(GetParam()).players);
    }

    void SettleFullRows(int rows)
    {
        host.calls.clear();
        P(me).Pit = FullRows(rows);
        game.SettleRows();
        EXPECT_EQ(P(me).Pit.count(), 0) << rows << " rows";
        // Blanked on screen first, in the player's own pit.
        EXPECT_EQ(host.Only("cell " + std::to_string(me) + " ").size(), 10u * static_cast<unsigned>(rows));
        EXPECT_EQ(host.Only("cell").size(), 10u * static_cast<unsigned>(rows));
    }
};

// Four rows earn a bonus; three do not; more than four at once score nothing and earn no
// bonus. Player 1's removals alone count as clears; the rows of both count towards levels.
TEST_P(RowsBySeatTest, RemovedRowsScoreForTheirPlayer)
{
    const std::string score = "status " + std::to_string(me == 0 ? 1 : 4) + " Score: ";
    const std::string bonuses = "status " + std::to_string(me == 0 ? 2 : 5) + " Bonuses: ";
    const std::int32_t four = aggressive ? settings.AFour : settings.PFour;
    const std::int32_t three = aggressive ? settings.AThree : settings.PThree;

    SettleFullRows(4);
    EXPECT_EQ(P(me).Score, four);
    EXPECT_EQ(P(me).Bonuses, 1);
    EXPECT_EQ(host.Only("status"), (Strings{score + std::to_string(four), bonuses + "1"}));

    SettleFullRows(3);
    EXPECT_EQ(P(me).Score, four + three);
    EXPECT_EQ(P(me).Bonuses, 1);
    EXPECT_EQ(host.Only("status"), Strings{score + std::to_string(four + three)});

    SettleFullRows(5);
    EXPECT_EQ(P(me).Score, four + three);
    EXPECT_EQ(P(me).Bonuses, 1);
    EXPECT_EQ(host.Only("status"), Strings{score + std::to_string(four + three)});

    EXPECT_EQ(state.Player1Clears, me == 0 ? 3 : 0);
    EXPECT_EQ(state.LinesSinceLevel, 12);
    EXPECT_EQ(P(other).Score, 0);
    EXPECT_EQ(P(other).Bonuses, 0);
    const GameState &summary = state; // as the summary reads it
    EXPECT_EQ(summary.Player1().Score, P(0).Score);
    EXPECT_EQ(summary.Player2().Score, P(1).Score);
}

// Only two-player Aggressive games attack: each removed row pushes a garbage row with its
// own hole into the other pit. Nothing is ever pushed into the remover's own pit.
TEST_P(RowsBySeatTest, RemovedRowsPushGarbageIntoTheOtherPitInTwoPlayerAggressiveGames)
{
    const bool attacks = aggressive && std::get<0>(GetParam()).players == 2;
    P(other).Pit = PitFromRows({"#........."});
    Random rng = state.Rng;
    Strings garbage;
    for (int i = 0; i < 3; ++i) {
        garbage.emplace_back(10, '#');
        garbage.back()[rng(10)] = '.';
    }

    SettleFullRows(3);
    Strings expected = attacks ? Strings{"#.........", garbage[0], garbage[1], garbage[2]}
                               : Strings{"..........", "..........", "..........", "#........."};
    EXPECT_EQ(RowsOf(P(other).Pit, 17), expected);
    EXPECT_EQ(P(other).Pit.count(), attacks ? 28 : 1);
    EXPECT_EQ(P(other).Score, 0);
    EXPECT_EQ(state.LinesSinceLevel, 3);
}

INSTANTIATE_TEST_SUITE_P(
    SeatsAndModes, RowsBySeatTest,
    testing::Combine(testing::Values(Seat{0, 1}, Seat{0, 2}, Seat{1, 2}), testing::Values("Points", "Aggressive")),
    [](const testing::TestParamInfo<std::tuple<Seat, const char *>> &info) {
        return SeatName({std::get<0>(info.param), info.index}) + std::get<1>(info.param);
    });

} // namespace
} // namespace vorlix::test
