#include "engine/Game.h"
#include "engine/Layer.h"
#include "engine/PieceTables.h"

namespace vorlix {

void Game::PlayStep()
{
    // Passes and ticks waiting in the queue run to completion here, nested; everything
    // below reads the state they leave.
    host_.ProcessPendingEvents();
    if (state_.Paused)
        return;
    if (state_.ResetFallTime) {
        state_.LastFallTime = DaysFromSeconds(host_.SecondsSinceEpoch());
        state_.ResetFallTime = false;
    }
    if (state_.GameStopped) {
        ClosingSteps();
        return;
    }

    const int players = PlayerCount();
    for (int player = 0; player < players; ++player)
        if (Flags(player).RightFlag)
            ShiftPiece(player, +1);
    for (int player = 0; player < players; ++player)
        if (Flags(player).LeftFlag)
            ShiftPiece(player, -1);

    // A turn attempt, made or refused, ends the pass; the square consumes the request only.
    for (int player = 0; player < players; ++player) {
        if (!Flags(player).RotateFlag)
            continue;
        Flags(player).RotateFlag = false;
        if (Player(player).Kind == SquareKind)
            continue;
        TurnResult turn = RotatePiece(player);
        if (turn == TurnResult::Made)
            DrawPits();
        if (turn != TurnResult::NoPivot) {
            ClosingSteps();
            return;
        }
    }

    for (int player = 0; player < players; ++player) {
        if (Flags(player).SoftDropFlag) {
            FallStep(player);
            SetTimer(GameTimer::Gravity, true);
        }
    }

    for (int player = 0; player < players; ++player) {
        if (Flags(player).DropFlag) {
            Flags(player).DropFlag = false;
            HardDrop(player);
            ClosingSteps();
            return;
        }
    }

    if (!TwoPlayers() && (state_.Keys.BonusFlag || state_.Keys.NewPieceFlag))
        Swap();
    ClosingSteps();
}

void Game::HardDrop(int player)
{
    PlayerState &p = Player(player);
    // No delay between rows; the trail each row leaves on screen goes with the redraw at
    // the landing. A piece falls at most 19 rows: the bound keeps an empty layer from
    // falling for ever.
    for (int rows = 0; rows < PitHeight && CanMove(p.Piece, p.Pit, 0, 1); ++rows) {
        p.Piece = Moved(p.Piece, 0, 1);
        for (int y = 1; y <= PitHeight; ++y)
            for (int x = 1; x <= PitWidth; ++x)
                if (p.Piece.at(x, y))
                    host_.PaintCell(player, x, y, CellPicture::Piece);
    }
    p.CanFall = false;
    LandPiece(player);
    DrawPits();
}

void Game::Swap()
{
    KeyFlags &keys = state_.Keys;
    ClearPiece(0);
    SpawnPiece(0);
    PlayerState &p1 = state_.Player1();
    if (keys.BonusFlag && p1.Bonuses > 0)
        --p1.Bonuses;
    WriteBonusStatus(0);
    keys.BonusFlag = false;
    keys.NewPieceFlag = false;
}

void Game::ClosingSteps()
{
    SettleRows();
    DrawPits();
    StartGravityIfRunning();
}

void Game::DrawPits()
{
    host_.DrawPits();
    if (!state_.Paused)
        StartGravityIfRunning();
}

void Game::StartGravityIfRunning()
{
    if (!state_.GameStopped)
        SetTimer(GameTimer::Gravity, true);
}

} // namespace vorlix
