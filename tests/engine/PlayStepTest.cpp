#include "GameFixture.h"
#include "engine/Layer.h"

namespace vorlix::test {
namespace {

using Strings = std::vector<std::string>;
using PlayStepTest = GameFixture;

TEST_F(PlayStepTest, APausedPassMovesAndDrawsNothing)
{
    Start();
    state.Paused = true;
    state.Keys.Player[0].RightFlag = true;
    state.Keys.Player[0].DropFlag = true;
    const GameState before = state;
    game.PlayStep();
    EXPECT_EQ(P(0).Piece, before.Player1().Piece);
    EXPECT_TRUE(state.Keys.Player[0].DropFlag);
    EXPECT_EQ(host.calls, Strings{"events"});
}

TEST_F(PlayStepTest, WithoutAGameOnlyTheClosingStepsRun)
{
    state.Keys.Player[0].RightFlag = true;
    game.PlayStep();
    EXPECT_EQ(host.calls, (Strings{"events", "draw"}));
}

TEST_F(PlayStepTest, ATurnEndsThePassAndTheHardDropWaits)
{
    Start();
    Deal(0, 3);
    P(0).Piece = Moved(P(0).Piece, 0, 3);
    state.Keys.Player[0].RotateFlag = true;
    state.Keys.Player[0].DropFlag = true;
    game.PlayStep();
    EXPECT_EQ(P(0).Rotation, 1);
    EXPECT_FALSE(state.Keys.Player[0].RotateFlag);
    EXPECT_TRUE(state.Keys.Player[0].DropFlag);
    EXPECT_EQ(P(0).Pit.count(), 0);
    EXPECT_EQ(host.Only("draw").size(), 2u); // after the turn, and closing

    game.PlayStep();
    EXPECT_EQ(P(0).Pit.count(), 4);
    EXPECT_FALSE(state.Keys.Player[0].DropFlag);
}

TEST_F(PlayStepTest, ARefusedTurnAlsoEndsThePass)
{
    Start();
    Deal(0, 1);
    P(0).Piece = Moved(P(0).Piece, 4, 0); // column 9
    const Grid before = P(0).Piece;
    state.Keys.Player[0].RotateFlag = true;
    state.Keys.Player[0].SoftDropFlag = true;
    game.PlayStep();
    EXPECT_EQ(P(0).Piece, before);
    EXPECT_EQ(host.Only("draw").size(), 1u);
}

TEST_F(PlayStepTest, TheSquareConsumesTheTurnAndThePassGoesOn)
{
    Start();
    Deal(0, 2);
    const Grid before = P(0).Piece;
    state.Keys.Player[0].RotateFlag = true;
    state.Keys.Player[0].SoftDropFlag = true;
    game.PlayStep();
    EXPECT_FALSE(state.Keys.Player[0].RotateFlag);
    EXPECT_EQ(P(0).Piece, Moved(before, 0, 1));
}

TEST_F(PlayStepTest, AHardDropOfARestingPieceLandsAtOnce)
{
    Start();
    Deal(0, 1);
    P(0).Piece = Moved(P(0).Piece, 0, 5); // rows 6..9
    P(0).Pit.set(5, 10, true);
    state.Keys.Player[0].DropFlag = true;
    game.PlayStep();
    EXPECT_EQ(P(0).Pit.count(), 5);
    EXPECT_TRUE(P(0).Pit.at(5, 6));
    EXPECT_TRUE(host.Only("cell").empty());
}

TEST_F(PlayStepTest, HardDropOfAnEmptyPieceLayerEnds)
{
    Start();
    P(0).Piece.clear();
    state.Keys.Player[0].DropFlag = true;
    game.PlayStep();
    EXPECT_EQ(P(0).Piece.count(), 4);
}

TEST_F(PlayStepTest, PlayerOnesHardDropLeavesPlayerTwosForTheNextPass)
{
    Start(2);
    state.Keys.Player[0].DropFlag = true;
    state.Keys.Player[1].DropFlag = true;
    game.PlayStep();
    EXPECT_EQ(P(0).Pit.count(), 4);
    EXPECT_EQ(P(1).Pit.count(), 0);
    EXPECT_TRUE(state.Keys.Player[1].DropFlag);
}

TEST_F(PlayStepTest, SwapByCCostsNothingCountsAPieceAndRewritesTheBonusPanel)
{
    Start();
    P(0).Bonuses = 2;
    std::uint8_t next = P(0).NextKind;
    std::int32_t pieces = state.Pieces;
    P(0).Piece = Moved(P(0).Piece, 0, 6);
    game.FormKeyDown(Key::C);
    EXPECT_EQ(P(0).Kind, next);
    EXPECT_EQ(state.Pieces, pieces + 1);
    EXPECT_EQ(P(0).Bonuses, 2);
    EXPECT_EQ(P(0).Piece.count(), 4);
    EXPECT_TRUE(P(0).Piece.at(6, 1) || P(0).Piece.at(5, 1));
    EXPECT_FALSE(state.Keys.NewPieceFlag);
    EXPECT_EQ(host.Only("status"), Strings{"status 2 Bonuses: 2"});
}

TEST_F(PlayStepTest, SwapByBonusSpendsOne)
{
    Start();
    P(0).Bonuses = 1;
    std::uint8_t next = P(0).NextKind;
    game.FormKeyDown(settings.P1Bonus);
    EXPECT_EQ(P(0).Kind, next);
    EXPECT_EQ(P(0).Bonuses, 0);
    EXPECT_EQ(host.Only("status"), Strings{"status 2 Bonuses: 0"});
    game.FormKeyUp(settings.P1Bonus);
    const Grid before = P(0).Piece;
    game.FormKeyDown(settings.P1Bonus); // none left: no swap
    EXPECT_EQ(P(0).Piece, before);

    P(0).Bonuses = 1;
    state.Keys.BonusFlag = true;
    state.Keys.NewPieceFlag = true;
    game.PlayStep();
    EXPECT_EQ(P(0).Bonuses, 0);
    EXPECT_FALSE(state.Keys.BonusFlag);
    EXPECT_FALSE(state.Keys.NewPieceFlag);

    state.Keys.BonusFlag = true; // never below 0
    game.PlayStep();
    EXPECT_EQ(P(0).Bonuses, 0);
}

TEST_F(PlayStepTest, NoSwapInATwoPlayerGame)
{
    Start(2);
    const Grid before = P(0).Piece;
    state.Keys.NewPieceFlag = true;
    game.PlayStep();
    EXPECT_EQ(P(0).Piece, before);
}

// Key passes and ticks waiting in the queue run inside the pass, before it reads any flag.
TEST_F(PlayStepTest, NestedTicksRunBeforeThePassReadsTheFlags)
{
    Start();
    Deal(0, 1);
    P(0).Pit = PitFromRows({"....#....."});
    state.Keys.Player[0].DropFlag = true;
    host.pendingEvents = [&] {
        game.GravityTick();     // falls one row
        game.FormKeyUp(Key::Space); // the hard drop key was released meanwhile
    };
    game.PlayStep();
    EXPECT_EQ(CellsOf(P(0).Piece).front(), (std::pair{5, 2}));
    EXPECT_EQ(P(0).Pit.count(), 1);
}

TEST_F(PlayStepTest, ANestedGameOverEndsThePassInTheClosingSteps)
{
    Start();
    state.Keys.Player[0].RightFlag = true;
    host.pendingEvents = [&] {
        P(0).Pit.set(1, 1, true);
        game.GravityTick();
    };
    game.PlayStep();
    EXPECT_TRUE(state.GameStopped);
    EXPECT_EQ(P(0).Piece.count(), 0);
    EXPECT_EQ(host.Only("summary").size(), 1u);
    EXPECT_FALSE(host.Has("timer Gravity on"));
}

} // namespace
} // namespace vorlix::test
