#include "engine/Game.h"

namespace vorlix {

namespace {
// The turn and soft-drop roles of a player's two vertical keys swap when the pieces are
// seen rising.
struct VerticalRoles {
    bool *upKey;
    bool *downKey;
};

VerticalRoles RolesFor(PlayerKeyFlags &flags, bool gravityDown)
{
    if (gravityDown)
        return {&flags.RotateFlag, &flags.SoftDropFlag};
    return {&flags.SoftDropFlag, &flags.RotateFlag};
}

// Sets (a key down) or clears (a key up) the flags of every role the key has for the player:
// a key bound to several roles acts in them all.
void SetRoleFlags(PlayerKeyFlags &flags, const Settings &s, int player, std::int32_t key, bool down)
{
    const std::span<const KeyBinding> keys = PlayerKeys(player);
    const VerticalRoles roles = RolesFor(flags, s.GravityDown);
    if (key == s.*keys[KeyRole::Right])
        flags.RightFlag = down;
    if (key == s.*keys[KeyRole::Left])
        flags.LeftFlag = down;
    if (key == s.*keys[KeyRole::Up])
        *roles.upKey = down;
    if (key == s.*keys[KeyRole::DownSlow])
        *roles.downKey = down;
    if (key == s.*keys[KeyRole::DownFast])
        flags.DropFlag = down;
}
} // namespace

void Game::FormKeyDown(std::int32_t key)
{
    ApplyKeyDown(key);
    PlayStep();
}

void Game::FormKeyRepeat(std::span<const std::int32_t> keys)
{
    for (std::int32_t key : keys)
        ApplyKeyDown(key);
    PlayStep();
}

void Game::ApplyKeyDown(std::int32_t key)
{
    if (key == Key::Escape)
        TogglePause();
    for (int player = 0; player < PlayerCount(); ++player)
        SetRoleFlags(Flags(player), settings_, player, key, true);
    if (!TwoPlayers()) {
        if (state_.Player1().Bonuses > 0 && key == settings_.P1Bonus)
            state_.Keys.BonusFlag = true;
        if (key == Key::C)
            state_.Keys.NewPieceFlag = true;
    }
}

void Game::FormKeyUp(std::int32_t key)
{
    // Both players' keys, whatever the player count.
    for (int player = 0; player < 2; ++player)
        SetRoleFlags(Flags(player), settings_, player, key, false);
    if (key == settings_.P1Bonus)
        state_.Keys.BonusFlag = false;
    if (key == Key::C)
        state_.Keys.NewPieceFlag = false;
}

void Game::ResetKeyFlags()
{
    state_.Keys = KeyFlags{};
}

} // namespace vorlix
