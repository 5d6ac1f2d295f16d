#include "GameFixture.h"
#include "engine/Layer.h"

#include <limits>

namespace vorlix::test {
namespace {

using Strings = std::vector<std::string>;
using RowsTest = GameFixture;

TEST_F(RowsTest, RowsEighteenAndTwentyGoBottomFirstAndScoreTwoRows)
{
    Start();
    P(0).Pit = PitFromRows({
        "#.........",
        "##########",
        "..#.......",
        "##########",
    });
    game.SettleRows();
    EXPECT_EQ(RowsOf(P(0).Pit, 17), (Strings{"..........", "..........", "#.........", "..#......."}));
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

TEST_F(RowsTest, FourRowsEarnABonusAndRewriteBothPanels)
{
    settings.Mode = "Aggressive";
    Start();
    P(0).Pit = PitFromRows({"##########", "##########", "##########", "##########"});
    game.SettleRows();
    EXPECT_EQ(P(0).Pit.count(), 0);
    EXPECT_EQ(P(0).Score, settings.AFour);
    EXPECT_EQ(P(0).Bonuses, 1);
    EXPECT_EQ(state.Player1Clears, 1);
    EXPECT_EQ(state.LinesSinceLevel, 4);
    EXPECT_EQ(host.Only("status"), (Strings{"status 1 Score: 2000", "status 2 Bonuses: 1"}));

    P(0).Pit = PitFromRows({"##########", "##########", "##########"});
    host.calls.clear();
    game.SettleRows();
    EXPECT_EQ(P(0).Bonuses, 1);
    EXPECT_EQ(host.Only("status"), Strings{"status 1 Score: 2600"});
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
    const Grid four = PitFromRows({"##########", "##########", "##########", "##########"});
    P(0).Score = 5;
    P(0).Bonuses = 255;
    state.Player1Clears = std::numeric_limits<std::int32_t>::max();
    state.LinesSinceLevel = std::numeric_limits<std::int32_t>::max() - 1;
    P(0).Pit = four;
    game.SettleRows();
    EXPECT_EQ(P(0).Score, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(P(0).Bonuses, 255);
    EXPECT_EQ(state.Player1Clears, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(state.LinesSinceLevel, std::numeric_limits<std::int32_t>::max());

    P(0).Score = -5;
    P(0).Pit = PitFromRows({"##########"});
    game.SettleRows();
    EXPECT_EQ(P(0).Score, std::numeric_limits<std::int32_t>::min());
}

TEST_F(RowsTest, ALandingInRowOneEndsTheGameEvenWhenItCompletesARow)
{
    Start();
    state.Player1().Pit = PitFromRows({"##########"});
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

TEST_F(RowsTest, TheOverflowingPlayerLosesAndTheLeftmostColumnDecides)
{
    struct Case {
        int p1Column, p2Column;
        int winner;
    };
    const Case cases[] = {{0, 4, 1}, {4, 0, 2}, {7, 3, 1}, {3, 7, 2}, {5, 5, 2}};
    for (const Case &c : cases) {
        Start(2);
        if (c.p1Column)
            P(0).Pit.set(c.p1Column, 1, true);
        if (c.p2Column)
            P(1).Pit.set(c.p2Column, 1, true);
        game.SettleRows();
        EXPECT_TRUE(state.GameStopped);
        EXPECT_EQ(state.Winner, c.winner) << c.p1Column << " " << c.p2Column;
        EXPECT_EQ(host.Only("summary").size(), 1u);
        EXPECT_EQ(P(0).Pit.count() + P(1).Pit.count() + P(0).Piece.count() + P(1).Piece.count(), 0);
    }
}

TEST_F(RowsTest, EachRemovedRowSendsAGarbageRowWithItsOwnHole)
{
    settings.Mode = "Aggressive";
    Start(2);
    P(0).Pit = PitFromRows({"##########", "##########", "##########"});
    P(1).Pit = PitFromRows({"#........."});
    Random rng = state.Rng;
    int holes[3];
    for (int &hole : holes)
        hole = static_cast<int>(rng(10)) + 1;

    game.SettleRows();
    EXPECT_EQ(P(0).Pit.count(), 0);
    Strings rows = RowsOf(P(1).Pit, 17);
    EXPECT_EQ(rows[0], "#.........");
    for (int i = 0; i < 3; ++i) {
        Strings expected{std::string(10, '#')};
        expected[0][static_cast<std::size_t>(holes[i] - 1)] = '.';
        EXPECT_EQ(rows[static_cast<std::size_t>(1 + i)], expected[0]) << "garbage row " << i;
    }
    EXPECT_EQ(P(1).Score, 0);
    EXPECT_EQ(state.LinesSinceLevel, 3);
}

TEST_F(RowsTest, PointsModeAndOnePlayerGamesSendNoGarbage)
{
    Start(2);
    P(0).Pit = PitFromRows({"##########"});
    game.SettleRows();
    EXPECT_EQ(P(1).Pit.count(), 0);

    settings.Mode = "Aggressive";
    Start(1);
    P(0).Pit = PitFromRows({"##########"});
    game.SettleRows();
    EXPECT_EQ(P(0).Pit.count(), 0);
    EXPECT_EQ(P(1).Pit.count(), 0);
}

TEST_F(RowsTest, PlayerTwoRowsCountSharedLinesButNotClears)
{
    Start(2);
    P(1).Pit = PitFromRows({"##########", "##########", "##########", "##########"});
    game.SettleRows();
    EXPECT_EQ(state.Player1Clears, 0);
    EXPECT_EQ(state.LinesSinceLevel, 4);
    EXPECT_EQ(P(1).Bonuses, 1);
    EXPECT_EQ(host.Only("status"), (Strings{"status 4 Score: 1600", "status 5 Bonuses: 1"}));
}

TEST_F(RowsTest, LevelByRowsCarriesTheSurplus)
{
    settings.LevelChangeBy = 2;
    Start();
    const Grid four = PitFromRows({"##########", "##########", "##########", "##########"});
    P(0).Pit = four;
    game.SettleRows();
    EXPECT_EQ(state.Level, 1);
    P(0).Pit = four;
    game.SettleRows();
    EXPECT_EQ(state.Level, 2);
    EXPECT_EQ(state.LinesSinceLevel, 3);
    game.SettleRows();
    EXPECT_EQ(state.Level, 2);
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

    settings.LevelChangePieces = -3;
    Start(); // 1 piece
    for (int i = 0; i < 5; ++i) {
        game.ClearPiece(0);
        game.SpawnPiece(0);
        game.SettleRows();
    }
    EXPECT_EQ(state.Level, 3); // at 3 and 6 pieces
}

TEST_F(RowsTest, HeldSoftDropStopsGravityForBothPlayers)
{
    Start(2);
    const Grid p1 = P(0).Piece, p2 = P(1).Piece;
    state.Keys.Player[1].SoftDropFlag = true;
    game.GravityTick();
    EXPECT_EQ(P(0).Piece, p1);
    EXPECT_EQ(P(1).Piece, p2);
    EXPECT_TRUE(host.calls.empty());

    state.Keys.Player[1].SoftDropFlag = false;
    game.GravityTick();
    EXPECT_EQ(P(0).Piece, Moved(p1, 0, 1));
    EXPECT_EQ(P(1).Piece, Moved(p2, 0, 1));
    EXPECT_EQ(host.calls.front(), "timer Gravity off");
    EXPECT_EQ(host.calls.back(), "timer Gravity on");
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

} // namespace
} // namespace vorlix::test
