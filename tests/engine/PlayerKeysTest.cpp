#include "GameFixture.h"

namespace vorlix::test {
namespace {

using PlayerKeysTest = GameFixture;

// The flags a key-down sets: every role the key has for the players in the game, the two
// vertical keys swapping roles when pieces rise. Another key going up leaves them; the key's
// own key-up clears them. Played paused, where passes ignore the flags: the key-ups forget the
// one-shot requests made meanwhile, so the resume finds none.
TEST_F(PlayerKeysTest, AKeySetsTheFlagsOfItsRolesUntilItsRelease)
{
    const Settings keys;
    struct Case {
        int players;
        bool gravityDown;
        int bonuses;
        std::int32_t key;
        std::string flags;
        bool shared = false; // P1Left and P1DownFast bound to P1Right too
    };
    const Case cases[] = {
        {1, true, 0, keys.P1Right, "R"},    {1, true, 0, keys.P1Left, "L"},       {1, true, 0, keys.P1Up, "T"},
        {1, true, 0, keys.P1DownSlow, "S"}, {1, true, 0, keys.P1DownFast, "H"},   {1, false, 0, keys.P1Up, "S"},
        {1, false, 0, keys.P1DownSlow, "T"}, {1, true, 1, keys.P1Bonus, "B"},     {1, true, 0, keys.P1Bonus, ""},
        {2, true, 3, keys.P1Bonus, ""},     {1, true, 0, Key::C, "C"},            {2, true, 0, Key::C, ""},
        {1, true, 0, keys.P2Right, ""},     {1, true, 0, keys.P2DownSlow, ""},    {2, true, 0, keys.P1Right, "R"},
        {2, true, 0, keys.P2Right, "r"},    {2, true, 0, keys.P2Left, "l"},       {2, true, 0, keys.P2Up, "t"},
        {2, true, 0, keys.P2DownSlow, "s"}, {2, true, 0, keys.P2DownFast, "h"},   {2, false, 0, keys.P2Up, "s"},
        {2, false, 0, keys.P2DownSlow, "t"}, {3, true, 0, keys.P2Left, "l"},      {1, true, 0, keys.P1Right, "RLH", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.players << " players, " << (c.gravityDown ? "falling" : "rising")
                                        << ", key 0x" << std::hex << c.key);
        state = GameState{};
        settings = Settings{};
        settings.GravityDown = c.gravityDown;
        if (c.shared)
            settings.P1Left = settings.P1DownFast = settings.P1Right;
        Start(c.players);
        P(0).Bonuses = static_cast<std::uint8_t>(c.bonuses);
        game.TogglePause();
        game.FormKeyDown(c.key);
        EXPECT_EQ(Flags(), c.flags);
        game.FormKeyDown(Key::F1);
        game.FormKeyUp(Key::F1);
        EXPECT_EQ(Flags(), c.flags);
        game.FormKeyUp(c.key);
        EXPECT_EQ(Flags(), "");
    }
}

} // namespace
} // namespace vorlix::test
