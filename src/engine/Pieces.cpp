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
    p.Piece.clear();
    for (CellPos cell : SpawnCells.at(p.Kind - 1u))
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

void Game::FallStep(int player)
{
    PlayerState &p = Player(player);
    if (CanMove(p.Piece, p.Pit, 0, 1))
        p.Piece = Moved(p.Piece, 0, 1);
    else
        LandPiece(player);
}

void Game::LandPiece(int player)
{
    PlayerState &p = Player(player);
    for (CellPos c : CellsInReadingOrder(p.Piece))
        p.Pit.set(c.x, c.y, true);
    SpawnPiece(player);
}

void Game::ShiftPiece(int player, int dx)
{
    PlayerState &p = Player(player);
    if (CanMove(p.Piece, p.Pit, dx, 0))
        p.Piece = Moved(p.Piece, dx, 0);
}

std::optional<bool> Game::RotatePiece(int player)
{
    PlayerState &p = Player(player);
    const TurnRule *rule = FindTurnRule(p.Kind, p.Rotation);
    if (!rule)
        return std::nullopt;
    // A piece in play has its four cells, so the pivot is always there.
    const CellPos pivot = CellsInReadingOrder(p.Piece).at(static_cast<std::size_t>(rule->K - 1));
    const TurnBounds &b = rule->Bounds;
    if (pivot.x < b.minColumn || pivot.x > b.maxColumn || pivot.y > b.maxRow)
        return false;
    for (std::size_t i = 1; i < rule->Cells.size(); ++i)
        if (p.Pit.at(pivot.x + rule->Cells[i].dx, pivot.y + rule->Cells[i].dy))
            return false;

    p.Piece.clear();
    for (CellOffset offset : rule->Cells)
        p.Piece.set(pivot.x + offset.dx, pivot.y + offset.dy, true);
    p.Rotation = rule->To;
    return true;
}

} // namespace vorlix
