#include "GameFixture.h"

#include <algorithm>
#include <array>

namespace vorlix::test {
namespace {

using PlayStepTest = GameFixture;

// One pass acts in the order the rules fix: sideways moves (right before left), a turn (which
// ends the pass, made or refused), soft drops, a hard drop (which ends it), the swap; player 1
// before player 2; then the row bookkeeping, then the redraw. Each case is the falling pieces
// and pits before the pass, the flags set, and what the pits and the screen show after it.
// The next piece is always a square. A '*' for the flags runs a gravity tick instead.
TEST_F(PlayStepTest, APassActsInItsOrderAndThePitsShowTheSettledRows)
{
    struct Case {
        const char *name;
        std::array<int, 2> kinds; // of the falling pieces; no second kind: a one-player game
        std::array<Rows, 2> before;
        std::string flags;
        std::array<Rows, 2> after;
        std::string flagsAfter;
    };
    const std::string full(10, '#');
    const Case cases[] = {
        {"at the right wall right is refused, then left moves", {2, 0}, {{{"10 ........@@", "11 ........@@"}}}, "RL",
         {{{"10 .......@@.", "11 .......@@."}}}, "RL"},
        {"at the left wall right moves, then left moves back", {2, 0}, {{{"10 @@........", "11 @@........"}}}, "RL",
         {{{"10 @@........", "11 @@........"}}}, "RL"},
        {"a move comes before the turn: the bar turns from column 8",
         {1, 0}, {{{"10 ........@.", "11 ........@.", "12 ........@.", "13 ........@."}}}, "LT",
         {{{"11 .....@@@@."}}}, "L"},
        {"a turn ends the pass: no soft drop", {3, 0}, {{{"10 ....@.....", "11 ....@.....", "12 ....@@...."}}}, "TS",
         {{{"11 ...@@@....", "12 ...@......"}}}, "S"},
        {"a refused turn ends it too", {1, 0}, {{{"10 ........@.", "11 ........@.", "12 ........@.", "13 ........@."}}},
         "TS", {{{"10 ........@.", "11 ........@.", "12 ........@.", "13 ........@."}}}, "S"},
        {"after a turn the hard drop waits", {3, 0}, {{{"10 ....@.....", "11 ....@.....", "12 ....@@...."}}}, "TH",
         {{{"11 ...@@@....", "12 ...@......"}}}, "H"},
        {"the square only consumes the turn", {2, 0}, {{{"10 ....@@....", "11 ....@@...."}}}, "TS",
         {{{"11 ....@@....", "12 ....@@...."}}}, "S"},
        {"the soft drop lands the resting piece before the hard drop drops the next", {2, 0},
         {{{"19 ....@@....", "20 ....@@...."}}}, "SH",
         {{{"1 ....@.....", "2 ....@.....", "3 ....@.....", "4 ....@.....", "17 ....##....", "18 ....##....", "19 ....##....",
            "20 ....##...."}}},
         "S"},
        {"a hard drop of a resting piece lands it at once and ends the pass before the swap", {2, 0},
         {{{"10 ....@@....", "11 ....@@....", "12 ....#....."}}}, "HC",
         {{{"1 ....@@....", "2 ....@@....", "10 ....##....", "11 ....##....", "12 ....#....."}}}, "C"},
        {"the soft drop comes before the swap", {1, 0}, {{{"10 ....@.....", "11 ....@.....", "12 ....@.....", "13 ....@....."}}},
         "SBC", {{{"1 ....@@....", "2 ....@@...."}}}, "S"},
        {"the rows the drop fills are gone before the redraw", {2, 0},
         {{{"1 ........@@", "2 ........@@", "18 #.........", "19 ########..", "20 ########.."}}}, "H",
         {{{"1 ....@@....", "2 ....@@....", "20 #........."}}}, ""},
        {"both players move before player 1's turn ends the pass", {3, 3},
         {{{"10 ....@.....", "11 ....@.....", "12 ....@@...."}, {"10 ....@.....", "11 ....@.....", "12 ....@@...."}}}, "Trt",
         {{{"11 ...@@@....", "12 ...@......"}, {"10 .....@....", "11 .....@....", "12 .....@@..."}}}, "rt"},
        {"player 1's square lets player 2 turn", {2, 3},
         {{{"10 ....@@....", "11 ....@@...."}, {"10 ....@.....", "11 ....@.....", "12 ....@@...."}}}, "Tt",
         {{{"10 ....@@....", "11 ....@@...."}, {"11 ...@@@....", "12 ...@......"}}}, ""},
        {"player 1's hard drop ends the pass before player 2's", {2, 2},
         {{{"10 ....@@....", "11 ....@@...."}, {"10 ....@@....", "11 ....@@...."}}}, "Hh",
         {{{"1 ....@@....", "2 ....@@....", "19 ....##....", "20 ....##...."}, {"10 ....@@....", "11 ....@@...."}}}, "h"},
        {"player 2's own moves and drop", {2, 2}, {{{"10 ....@@....", "11 ....@@...."}, {"10 ........@@", "11 ........@@"}}},
         "rlh", {{{"10 ....@@....", "11 ....@@...."}, {"1 ....@@....", "2 ....@@....", "19 .......##.", "20 .......##."}}}, "rl"},
        {"two players never swap", {2, 2}, {{{"10 ....@@....", "11 ....@@...."}, {"10 ....@@....", "11 ....@@...."}}}, "C",
         {{{"10 ....@@....", "11 ....@@...."}, {"10 ....@@....", "11 ....@@...."}}}, "C"},
        {"a tick too settles before it draws", {2, 0}, {{{"18 #.........", "19 ########@@", "20 ########@@"}}}, "*",
         {{{"1 ....@@....", "2 ....@@....", "20 #........."}}}, ""},
        {"the rows of both pits are gone before the redraw", {2, 2},
         {{{"1 ........@@", "2 ........@@", "19 ########..", "20 ########.."}, {"18 ....@@....", "19 ....@@....", "20 " + full}}},
         "Hs", {{{"1 ....@@....", "2 ....@@...."}, {"1 ....@@....", "2 ....@@....", "19 ....##....", "20 ....##...."}}}, "s"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const int players = c.kinds[1] ? 2 : 1;
        Start(players);
        for (int player = 0; player < players; ++player) {
            Place(P(player), c.before[static_cast<std::size_t>(player)]);
            P(player).Kind = static_cast<std::uint8_t>(c.kinds[static_cast<std::size_t>(player)]);
            P(player).NextKind = 2;
        }
        SetFlags(c.flags);
        if (c.flags == "*")
            game.GravityTick();
        else
            game.PlayStep();
        for (int player = 0; player < players; ++player) {
            EXPECT_EQ(Drawn(P(player)), c.after[static_cast<std::size_t>(player)]) << "player " << player + 1;
            EXPECT_EQ(Screen(player), c.after[static_cast<std::size_t>(player)]) << "player " << player + 1;
        }
        EXPECT_EQ(Flags(), c.flagsAfter);
    }
}

// When both pieces land at once, by a tick or both soft drops, player 1 deals first: his next
// piece is the one he gets when he lands alone.
TEST_F(PlayStepTest, BothLandingAtOncePlayerOneDealsFirst)
{
    for (const bool tick : {true, false}) {
        SCOPED_TRACE(tick ? "tick" : "soft drops");
        Start(2);
        Place(P(0), {"19 ....@@....", "20 ....@@...."});
        Place(P(1), {"19 ....@@....", "20 ....@@...."});
        const GameState before = state;
        std::array<std::pair<int, int>, 2> dealt{};
        for (auto &[picture, next] : dealt) {
            SetFlags(tick ? "" : "Ss");
            tick ? game.GravityTick() : game.PlayStep();
            picture = P(0).Picture;
            next = P(0).NextKind;
            state = before;
            Place(P(1), {"10 ....@@....", "11 ....@@...."});
        }
        EXPECT_EQ(dealt[0], dealt[1]);
    }
}

TEST_F(PlayStepTest, HardDropOfAnEmptyPieceLayerEnds)
{
    Start();
    game.ClearPiece(0);
    SetFlags("H");
    game.PlayStep();
    EXPECT_EQ(P(0).Piece.count(), 4);
}

TEST_F(PlayStepTest, SwapByCCostsNothingAndSwapByBonusSpendsOne)
{
    Start();
    P(0).Bonuses = 2;
    for (const char *flags : {"C", "B", "BC", "B", "B"}) {
        SCOPED_TRACE(flags);
        const std::uint8_t next = P(0).NextKind;
        const std::int32_t pieces = state.Pieces;
        const int bonuses = P(0).Bonuses;
        SetFlags(flags);
        game.PlayStep();
        EXPECT_EQ(P(0).Kind, next);
        EXPECT_EQ(state.Pieces, pieces + 1);
        EXPECT_EQ(P(0).Bonuses, std::max(0, bonuses - (flags[0] == 'B'))); // never below 0
        EXPECT_EQ(host.status[2], "Bonuses: " + std::to_string(P(0).Bonuses));
        EXPECT_EQ(Flags(), "");
    }
}

// Key passes and ticks waiting in the queue run inside the pass, before it reads any flag.
TEST_F(PlayStepTest, NestedTicksRunBeforeThePassReadsTheFlags)
{
    Start();
    Deal(0, 1);
    P(0).Pit = PitOf({"20 ....#....."});
    SetFlags("H");
    host.pendingEvents = [&] {
        game.GravityTick();         // falls one row
        game.FormKeyUp(Key::Space); // the hard drop key was released meanwhile
    };
    game.PlayStep();
    EXPECT_EQ(Drawn(P(0)), (Rows{"2 ....@.....", "3 ....@.....", "4 ....@.....", "5 ....@.....", "20 ....#....."}));
}

TEST_F(PlayStepTest, ANestedGameOverEndsThePassInTheClosingSteps)
{
    Start();
    SetFlags("R");
    host.pendingEvents = [&] {
        P(0).Pit.set(1, 1, true);
        game.GravityTick();
    };
    game.PlayStep();
    EXPECT_TRUE(state.GameStopped);
    EXPECT_EQ(P(0).Piece.count(), 0);
    EXPECT_EQ(host.summaries.size(), 1u);
    EXPECT_FALSE(host.gravity.Enabled());
}

} // namespace
} // namespace vorlix::test
