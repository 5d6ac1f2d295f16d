#include "GameFixture.h"
#include "engine/KeyRepeat.h"
#include "engine/Layer.h"

namespace vorlix::test {
namespace {

constexpr int Square = 2; // two rows tall, columns 5 and 6 at the spawn

// Held keys against a clock the test moves on, one millisecond at a time.
class KeyRepeatTest : public GameFixture {
protected:
    KeyRepeat keys{game};
    std::int64_t now = 0;
    KeyRepeat::Timing timing{300, 50};

    void StartWithSquares(int players)
    {
        keys.SetTiming(timing);
        Start(players);
        for (int player = 0; player < players; ++player)
            Deal(player, Square);
    }
    // Ticks at every millisecond after `now` up to `end`, as a timer would.
    void RunUntil(std::int64_t end)
    {
        while (now < end)
            keys.Tick(++now);
    }
    // Rows the square has fallen and columns it has moved since its spawn.
    int Fallen(int player) { return CellsInReadingOrder(P(player).Piece).front().y - 1; }
    int Moved(int player) { return CellsInReadingOrder(P(player).Piece).front().x - 5; }
};

TEST_F(KeyRepeatTest, AHeldKeyActsAtOnceThenAfterTheDelayAtTheRate)
{
    for (KeyRepeat::Timing t : {KeyRepeat::Timing{300, 50}, KeyRepeat::Timing{660, 40}}) {
        timing = t;
        now = 0;
        StartWithSquares(1);
        keys.Press(settings.P1DownSlow, now);
        EXPECT_EQ(Fallen(0), 1);
        RunUntil(t.DelayMs - 1);
        EXPECT_EQ(Fallen(0), 1) << "no repeat before the delay";
        RunUntil(t.DelayMs);
        EXPECT_EQ(Fallen(0), 2);
        RunUntil(t.DelayMs + t.IntervalMs - 1);
        EXPECT_EQ(Fallen(0), 2);
        RunUntil(t.DelayMs + 10 * t.IntervalMs);
        EXPECT_EQ(Fallen(0), 12);
        keys.Release(settings.P1DownSlow);
        RunUntil(now + 1000);
        EXPECT_EQ(Fallen(0), 12) << "the release ends the repeats";
        EXPECT_FALSE(keys.NextRepeat());
    }
}

TEST_F(KeyRepeatTest, ALateRepeatKeepsTheCadenceAndIsOneRepeatNotABurst)
{
    StartWithSquares(1);
    keys.Press(settings.P1DownSlow, now);
    keys.Tick(timing.DelayMs + 10); // late by less than an interval
    EXPECT_EQ(Fallen(0), 2);
    EXPECT_EQ(keys.NextRepeat(), timing.DelayMs + timing.IntervalMs);

    keys.Tick(timing.DelayMs + 5 * timing.IntervalMs);
    EXPECT_EQ(Fallen(0), 3);
    keys.Tick(timing.DelayMs + 5 * timing.IntervalMs);
    EXPECT_EQ(Fallen(0), 3);
    EXPECT_EQ(keys.NextRepeat(), timing.DelayMs + 6 * timing.IntervalMs);

    keys.Tick(timing.DelayMs + 7 * timing.IntervalMs); // late by exactly one interval
    EXPECT_EQ(Fallen(0), 4);
    EXPECT_EQ(keys.NextRepeat(), timing.DelayMs + 8 * timing.IntervalMs);
}

// The desktop's repeat switched off (a rate of 0) stops the game's own too; the fastest rate
// repeats at every millisecond.
TEST_F(KeyRepeatTest, ARateOfZeroRepeatsNothing)
{
    for (std::int64_t interval : {0, -5, 1}) {
        SCOPED_TRACE(interval);
        timing = {300, interval};
        now = 0;
        StartWithSquares(1);
        keys.Press(settings.P1Right, now);
        RunUntil(302);
        EXPECT_EQ(Moved(0), interval > 0 ? 1 + 3 : 1);
        keys.Release(settings.P1Right);
    }
}

TEST_F(KeyRepeatTest, AHeldKeyKeepsActingWhileAnotherIsTapped)
{
    StartWithSquares(1);
    keys.Press(settings.P1DownSlow, now);
    RunUntil(100);
    keys.Press(settings.P1Left, now);
    RunUntil(150);
    keys.Release(settings.P1Left);
    RunUntil(timing.DelayMs + 4 * timing.IntervalMs);
    EXPECT_EQ(Fallen(0), 1 + 1 + 5) << "the press, the tap's pass, five repeats";
    EXPECT_EQ(Moved(0), -1) << "the released key does not repeat";
}

TEST_F(KeyRepeatTest, TwoHeldKeysShareOneStreamAndOutliveEachOther)
{
    StartWithSquares(2);
    keys.Press(settings.P1DownSlow, now);
    RunUntil(120);
    keys.Press(settings.P2DownSlow, now);
    EXPECT_EQ(Fallen(0), 2) << "player 2's pass also acts on player 1's held key";
    RunUntil(timing.DelayMs + 8 * timing.IntervalMs);
    // Repeats at delay + k * interval, k = 0..8. Every pass acts on every held flag, so player
    // 1's repeats move player 2's piece too, before player 2's own delay is over.
    EXPECT_EQ(Fallen(0), 2 + 9) << "a second held key adds no repeats";
    EXPECT_EQ(Fallen(1), 1 + 9);

    keys.Release(settings.P1DownSlow);
    RunUntil(now + 4 * timing.IntervalMs);
    EXPECT_EQ(Fallen(0), 11);
    EXPECT_EQ(Fallen(1), 10 + 4) << "player 2's key goes on at the same rate";
}

TEST_F(KeyRepeatTest, TheServersRepeatsOfAHeldKeyAddNothing)
{
    StartWithSquares(1);
    keys.Press(settings.P1DownSlow, now);
    // Presses the X server repeats without releases, just before the game's own repeats.
    for (int n = 0; n <= 10; ++n) {
        RunUntil(timing.DelayMs + n * timing.IntervalMs - 1);
        keys.Press(settings.P1DownSlow, now);
    }
    RunUntil(timing.DelayMs + 10 * timing.IntervalMs);
    EXPECT_EQ(Fallen(0), 1 + 11);
}

// One-shot keys act again only through the key-down each repeat makes again: a held hard-drop or
// turn key acts at its press, then at every repeat from its own delay on.
TEST_F(KeyRepeatTest, HeldOneShotKeysActAgainAtEveryRepeatUntilForgotten)
{
    StartWithSquares(1);
    keys.Press(settings.P1Right, now);
    RunUntil(10);
    keys.Press(settings.P1DownFast, now);
    const int dealt = state.Pieces;
    RunUntil(10 + timing.DelayMs + 3 * timing.IntervalMs);
    EXPECT_EQ(state.Pieces, dealt + 3) << "the first repeat, at the right key's delay, drops nothing";

    // Keys the desktop does not repeat (modifiers) act once.
    keys.Release(settings.P1DownFast);
    keys.Press(settings.P1DownFast, now, false);
    RunUntil(now + timing.DelayMs + 5 * timing.IntervalMs);
    EXPECT_EQ(state.Pieces, dealt + 4);
    keys.Release(settings.P1DownFast);
    keys.Release(settings.P1Right);

    Deal(0, 1);
    P(0).Piece = vorlix::Moved(P(0).Piece, 0, 3);
    const std::int64_t pressed = now;
    keys.Press(settings.P1Up, now);
    RunUntil(pressed + timing.DelayMs - 1);
    EXPECT_EQ(P(0).Rotation, 1);
    RunUntil(pressed + timing.DelayMs);
    EXPECT_EQ(P(0).Rotation, 0);
    RunUntil(pressed + timing.DelayMs + timing.IntervalMs);
    EXPECT_EQ(P(0).Rotation, 1);

    keys.Forget();
    EXPECT_FALSE(keys.NextRepeat());
    const Grid before = P(0).Piece;
    RunUntil(now + 1000);
    EXPECT_EQ(P(0).Piece, before);
}

} // namespace
} // namespace vorlix::test
