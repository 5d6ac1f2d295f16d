#include "GameFixture.h"
#include "engine/Layer.h"

namespace vorlix::test {
namespace {

using Strings = std::vector<std::string>;
constexpr std::int32_t Unbound = 0x1034; // F5: a key-down that only runs a pass

// A player's keys by what they do; the two vertical keys swap roles when pieces rise.
struct Roles {
    std::int32_t right, left, turn, softDrop, hardDrop;
};

// Each player's own keys move, turn and drop that player's piece and no other, in one- and
// two-player games and in both gravity directions.
class PlayerKeysTest : public GameFixture, public testing::WithParamInterface<Seat> {
protected:
    int me = GetParam().player;
    int other = 1 - me;
    Roles keys;
    Grid otherPiece;

    void SetUp() override
    {
        settings.GravityDown = GetParam().gravityDown;
        const Settings &s = settings;
        const bool one = me == 0;
        const std::int32_t up = one ? s.P1Up : s.P2Up, down = one ? s.P1DownSlow : s.P2DownSlow;
        keys = {one ? s.P1Right : s.P2Right, one ? s.P1Left : s.P2Left, s.GravityDown ? up : down,
                s.GravityDown ? down : up, one ? s.P1DownFast : s.P2DownFast};
        Start(GetParam().players);
        otherPiece = P(other).Piece;
    }

    // One key press and its release.
    void Press(std::int32_t key)
    {
        game.FormKeyDown(key);
        game.FormKeyUp(key);
    }
};

// A held key acts in every pass, whatever other keys go down and up meanwhile.
TEST_P(PlayerKeysTest, MovesSidewaysWhileTheKeyIsHeld)
{
    const Grid start = P(me).Piece;
    game.FormKeyDown(keys.right);
    EXPECT_EQ(P(me).Piece, Moved(start, 1, 0));
    Press(Unbound);
    EXPECT_EQ(P(me).Piece, Moved(start, 2, 0));
    game.FormKeyUp(keys.right);
    Press(Unbound);
    EXPECT_EQ(P(me).Piece, Moved(start, 2, 0));
    game.FormKeyDown(keys.left);
    Press(Unbound);
    EXPECT_EQ(P(me).Piece, start);
    game.FormKeyDown(keys.right); // both held: right, then left, in every pass
    EXPECT_EQ(P(me).Piece, start);
    game.FormKeyUp(keys.left);
    Press(Unbound);
    EXPECT_EQ(P(me).Piece, Moved(start, 1, 0));
    EXPECT_EQ(host.calls.back(), "timer Gravity on");
    EXPECT_EQ(P(other).Piece, otherPiece);
}

TEST_P(PlayerKeysTest, TheTurnKeyTurnsOncePerPress)
{
    Deal(me, 3);
    P(me).Piece = Moved(P(me).Piece, 0, 3);
    const Grid start = P(me).Piece;
    game.FormKeyDown(keys.turn);
    EXPECT_EQ(P(me).Rotation, 1);
    EXPECT_NE(P(me).Piece, start);
    EXPECT_EQ(P(me).Piece.count(), 4);
    game.FormKeyDown(Unbound); // held, but a turn is one-shot
    EXPECT_EQ(P(me).Rotation, 1);
    game.FormKeyUp(keys.turn);
    Press(keys.softDrop);
    EXPECT_EQ(P(me).Rotation, 1);
    Press(keys.turn);
    EXPECT_EQ(P(me).Rotation, 2);
    EXPECT_EQ(P(other).Piece, otherPiece);
    EXPECT_EQ(P(other).Rotation, 0);
}

TEST_P(PlayerKeysTest, TheSoftDropKeyDropsOneRowPerPassUntilReleased)
{
    const Grid start = P(me).Piece;
    game.FormKeyDown(keys.softDrop);
    EXPECT_EQ(P(me).Piece, Moved(start, 0, 1));
    EXPECT_EQ(P(me).Rotation, 0);
    Press(Unbound);
    Press(Unbound); // other keys going up leave it held
    EXPECT_EQ(P(me).Piece, Moved(start, 0, 3));
    game.FormKeyUp(keys.softDrop);
    Press(Unbound);
    EXPECT_EQ(P(me).Piece, Moved(start, 0, 3));
    EXPECT_EQ(P(other).Piece, otherPiece);
}

// The drop paints a trail in the player's own pit; the redraw at the landing removes it.
TEST_P(PlayerKeysTest, TheHardDropLandsInTheOwnPitAndDealsTheNextPiece)
{
    Deal(me, 2); // rows 1..2
    P(me).Pit = PitFromRows({"....#....."});
    const std::int32_t pieces = state.Pieces;
    host.calls.clear();
    Press(keys.hardDrop);
    EXPECT_EQ(RowsOf(P(me).Pit, 17), (Strings{"..........", "....##....", "....##....", "....#....."}));
    EXPECT_EQ(P(me).Piece.count(), 4);
    EXPECT_EQ(CellsOf(P(me).Piece).front().second, 1);
    EXPECT_EQ(state.Pieces, pieces + 1);
    EXPECT_EQ(P(other).Pit.count(), 0);
    EXPECT_EQ(P(other).Piece, otherPiece);
    const std::string mine = "cell " + std::to_string(me) + " ";
    const auto trail = host.Only("cell");
    ASSERT_EQ(trail.size(), 17u * 4u); // rows 1..2 fall to 18..19
    EXPECT_EQ(host.Only(mine).size(), trail.size());
    EXPECT_EQ(trail.front(), mine + "5,2 piece");
    EXPECT_EQ(trail.back(), mine + "6,19 piece");
    EXPECT_EQ(host.Only("draw").size(), 2u);
}

TEST_P(PlayerKeysTest, AHeldSoftDropHoldsGravityBackForBoth)
{
    game.FormKeyDown(keys.softDrop);
    const Grid mine = P(me).Piece;
    host.calls.clear();
    game.GravityTick();
    EXPECT_EQ(P(me).Piece, mine);
    EXPECT_EQ(P(other).Piece, otherPiece);
    EXPECT_TRUE(host.calls.empty());

    game.FormKeyUp(keys.softDrop);
    host.calls.clear();
    game.GravityTick();
    EXPECT_EQ(P(me).Piece, Moved(mine, 0, 1));
    EXPECT_EQ(P(other).Piece, Moved(otherPiece, 0, 1)); // no piece at all without a player 2
    EXPECT_EQ(host.calls.front(), "timer Gravity off");
    EXPECT_EQ(host.calls.back(), "timer Gravity on");
}

// A pass while paused ignores the keys, and their key-up forgets the one-shot requests, so
// the resume does not act on them.
TEST_P(PlayerKeysTest, KeysPressedWhilePausedAreForgotten)
{
    P(0).Bonuses = 1;
    const Grid mine = P(me).Piece;
    Press(Key::Escape);
    for (std::int32_t key : {keys.turn, keys.hardDrop, settings.P1Bonus, Key::C})
        Press(key);
    Press(Key::Escape);
    EXPECT_FALSE(state.Paused);
    EXPECT_EQ(P(me).Piece, mine);
    EXPECT_EQ(P(me).Rotation, 0);
    EXPECT_EQ(P(me).Pit.count(), 0);
    EXPECT_EQ(P(0).Bonuses, 1);
    EXPECT_EQ(P(other).Piece, otherPiece);
}

INSTANTIATE_TEST_SUITE_P(Seats, PlayerKeysTest,
                         testing::Values(Seat{0, 1, true}, Seat{0, 1, false}, Seat{0, 2, true},
                                         Seat{0, 2, false}, Seat{1, 2, true}, Seat{1, 2, false}),
                         SeatName);

} // namespace
} // namespace vorlix::test
