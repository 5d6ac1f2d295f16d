#include "common/Saturate.h"
#include "engine/Game.h"
#include "engine/Layer.h"
#include "engine/PieceTables.h"

namespace vorlix {

Game::Game(GameState &state, Settings &settings, GameHost &host)
    : state_(state), settings_(settings), host_(host)
{
}

void Game::SpawnPiece(int player)
{
    PlayerState &p = Player(player);
    state_.Pieces = SaturatingAdd(state_.Pieces, 1);
    if (player == 0)
        state_.NewPieceSinceLevel = true;
    p.Kind = p.NextKind;
    p.Rotation = 0;
    p.Picture = static_cast<std::uint8_t>(state_.Rng(20) + 1);
    p.NextKind = static_cast<std::uint8_t>(state_.Rng(KindCount) + 1);
    if (p.Kind < 1 || p.Kind > KindCount)
        return; // no next kind drawn yet: nothing to place
    for (CellPos cell : SpawnCells[p.Kind - 1u])
        p.Piece.set(cell.x, cell.y, true);
}

void Game::ClearPiece(int player)
{
    Player(player).Piece.clear();
}

void Game::ClearPits()
{
    for (int player = 0; player < PlayerCount(); ++player)
        Player(player).Pit.clear();
}

bool Game::FallStep(int player)
{
    PlayerState &p = Player(player);
    p.CanFall = CanMove(p.Piece, p.Pit, 0, 1);
    if (p.CanFall)
        p.Piece = Moved(p.Piece, 0, 1);
    else
        LandPiece(player);
    return p.CanFall;
}

void Game::LandPiece(int player)
{
    PlayerState &p = Player(player);
    for (int x = 1; x <= PitWidth; ++x)
        for (int y = 1; y <= PitHeight; ++y)
            if (p.Piece.at(x, y))
                p.Pit.set(x, y, true);
    ClearPiece(player);
    SpawnPiece(player);
}

bool Game::ShiftPiece(int player, int dx)
{
    PlayerState &p = Player(player);
    if (!CanMove(p.Piece, p.Pit, dx, 0))
        return false;
    p.Piece = Moved(p.Piece, dx, 0);
    return true;
}

TurnResult Game::RotatePiece(int player)
{
    PlayerState &p = Player(player);
    const TurnRule *rule = FindTurnRule(p.Kind, p.Rotation);
    if (!rule)
        return TurnResult::NoPivot;

    CellPos pivot{0, 0};
    int seen = 0;
    for (int y = 1; y <= PitHeight && seen < rule->K; ++y)
        for (int x = 1; x <= PitWidth && seen < rule->K; ++x)
            if (p.Piece.at(x, y) && ++seen == rule->K)
                pivot = {x, y};
    if (seen < rule->K)
        return TurnResult::NoPivot;

    const TurnBounds &b = rule->Bounds;
    if (pivot.x < b.minColumn || pivot.x > b.maxColumn || pivot.y > b.maxRow)
        return TurnResult::Refused;
    for (std::size_t i = 1; i < rule->Cells.size(); ++i) {
        int x = pivot.x + rule->Cells[i].dx;
        int y = pivot.y + rule->Cells[i].dy;
        // The bounds keep every new cell inside in play; the wall test guards a cell that
        // would otherwise be silently lost.
        if (!Grid::Inside(x, y) || p.Pit.at(x, y))
            return TurnResult::Refused;
    }

    p.Piece.clear();
    for (CellOffset offset : rule->Cells)
        p.Piece.set(pivot.x + offset.dx, pivot.y + offset.dy, true);
    p.Rotation = rule->To;
    return TurnResult::Made;
}

} // namespace vorlix
