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
    const Settings &s = settings_;
    if (key == Key::Escape)
        TogglePause();

    // Every comparison is made: a key bound to several roles sets them all.
    PlayerKeyFlags &p1 = Flags(0);
    VerticalRoles p1Roles = RolesFor(p1, s.GravityDown);
    if (key == s.P1Right)
        p1.RightFlag = true;
    if (key == s.P1Left)
        p1.LeftFlag = true;
    if (key == s.P1Up)
        *p1Roles.upKey = true;
    if (key == s.P1DownSlow)
        *p1Roles.downKey = true;
    if (key == s.P1DownFast)
        p1.DropFlag = true;

    if (!TwoPlayers()) {
        if (state_.Player1().Bonuses > 0 && key == s.P1Bonus)
            state_.Keys.BonusFlag = true;
        if (key == Key::C)
            state_.Keys.NewPieceFlag = true;
    } else {
        PlayerKeyFlags &p2 = Flags(1);
        VerticalRoles p2Roles = RolesFor(p2, s.GravityDown);
        if (key == s.P2Right)
            p2.RightFlag = true;
        if (key == s.P2Left)
            p2.LeftFlag = true;
        if (key == s.P2Up)
            *p2Roles.upKey = true;
        if (key == s.P2DownSlow)
            *p2Roles.downKey = true;
        if (key == s.P2DownFast)
            p2.DropFlag = true;
    }
}

void Game::FormKeyUp(std::int32_t key)
{
    const Settings &s = settings_;
    PlayerKeyFlags &p1 = Flags(0);
    PlayerKeyFlags &p2 = Flags(1);
    VerticalRoles p1Roles = RolesFor(p1, s.GravityDown);
    VerticalRoles p2Roles = RolesFor(p2, s.GravityDown);
    if (key == s.P1Right)
        p1.RightFlag = false;
    if (key == s.P2Right)
        p2.RightFlag = false;
    if (key == s.P1Left)
        p1.LeftFlag = false;
    if (key == s.P2Left)
        p2.LeftFlag = false;
    if (key == s.P1Up)
        *p1Roles.upKey = false;
    if (key == s.P2Up)
        *p2Roles.upKey = false;
    if (key == s.P1DownSlow)
        *p1Roles.downKey = false;
    if (key == s.P2DownSlow)
        *p2Roles.downKey = false;
    if (key == s.P1DownFast)
        p1.DropFlag = false;
    if (key == s.P2DownFast)
        p2.DropFlag = false;
    if (key == s.P1Bonus)
        state_.Keys.BonusFlag = false;
    if (key == Key::C)
        state_.Keys.NewPieceFlag = false;
}

void Game::ResetKeyFlags()
{
    state_.Keys = KeyFlags{};
}

} // namespace vorlix
