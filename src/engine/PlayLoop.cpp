#include "engine/Game.h"
#include "engine/Layer.h"

#include <utility>

namespace vorlix {

void Game::PlayStep()
{
    // Passes and ticks waiting in the queue run to completion here, nested; everything
    // below reads the state they leave.
    host_.ProcessPendingEvents();
    if (state_.Paused)
        return;
    if (!state_.GameStopped)
        ActOnKeys();
    SettleRows();
    host_.DrawPits();
}

void Game::ActOnKeys()
{
    const int players = PlayerCount();
    for (int player = 0; player < players; ++player)
        if (Flags(player).RightFlag)
            ShiftPiece(player, +1);
    for (int player = 0; player < players; ++player)
        if (Flags(player).LeftFlag)
            ShiftPiece(player, -1);

    // A turn attempt, made or refused, ends the pass; the square only consumes the request.
    for (int player = 0; player < players; ++player)
        if (std::exchange(Flags(player).RotateFlag, false) && RotatePiece(player).has_value())
            return;

    for (int player = 0; player < players; ++player)
        if (Flags(player).SoftDropFlag)
            FallStep(player);

    for (int player = 0; player < players; ++player) {
        if (std::exchange(Flags(player).DropFlag, false)) {
            HardDrop(player);
            return;
        }
    }

    if (!TwoPlayers() && (state_.Keys.BonusFlag || state_.Keys.NewPieceFlag))
        Swap();
}

void Game::HardDrop(int player)
{
    PlayerState &p = Player(player);
    // No delay between rows. Each row paints the piece where it arrives and leaves the cells it
    // left, a trail that the redraw closing the pass covers. An empty layer never falls for ever.
    while (p.Piece.count() != 0 && CanMove(p.Piece, p.Pit, 0, 1)) {
        p.Piece = Moved(p.Piece, 0, 1);
        for (CellPos c : CellsInReadingOrder(p.Piece))
            host_.PaintCell(player, c.x, c.y, CellPicture::Piece);
    }
    LandPiece(player);
}

void Game::Swap()
{
    KeyFlags &keys = state_.Keys;
    SpawnPiece(0);
    PlayerState &p1 = state_.Player1();
    if (keys.BonusFlag && p1.Bonuses > 0)
        --p1.Bonuses;
    WriteBonusStatus(0);
    keys.BonusFlag = false;
    keys.NewPieceFlag = false;
}

} // namespace vorlix
