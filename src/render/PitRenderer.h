#pragma once

#include "engine/GameHost.h"
#include "engine/GameState.h"
#include "render/PictureSet.h"
#include "settings/Settings.h"

#include <QPoint>

#include <array>

namespace vorlix {

class PaintBox;
class PitPanel;
class PreviewPanel;

// Draws the pits and previews from the game state into the paint boxes' backing images.
// Player indices are 0 (player 1) and 1 (player 2); player 2 is drawn only in two-player games.
// Pictures are always drawn unscaled with their top-left corner on the cell's origin.
class PitRenderer {
public:
    // Panels may be null (nothing is drawn for them); all must outlive the renderer.
    PitRenderer(const GameState &state, const Settings &settings, PictureSet &pictures,
                std::array<PitPanel *, 2> pits, std::array<PreviewPanel *, 2> previews);

    // Full redraw: sets the piece picture references first; while paused only blanks (at the
    // gravity-down origins); otherwise every cell row by row (blank if in neither layer, then
    // piece, then pit), then the previews (shown) when Preview is 1 and a game runs.
    void DrawPits();
    // The blank picture over every cell at the gravity-down origins.
    void BlankPits();
    // One picture at the origin of cell (x, y) in the current gravity direction. The piece
    // picture is the reference set by the last DrawPits (none before the first: nothing drawn).
    void PaintCell(int player, int x, int y, CellPicture picture);
    // Player 1's piece picture over every cell of the visible pits, column by column, at the
    // gravity-down origins.
    void LevelFlash();
    // Black paint boxes, the previews' too, until the next full redraw.
    void ClearPaintBoxes();

    // Top-left corner of cell (x, y) in a paint box boxHeight high.
    static QPoint CellOrigin(int x, int y, bool gravityDown, int boxHeight);

private:
    int VisiblePits() const { return settings_.TwoPlayers() ? 2 : 1; }
    PaintBox *PitBox(int player) const;
    void DrawLayers(int player);
    void FillPit(int player, const QPixmap *picture, bool columnsFirst);
    void DrawPreview(int player);

    const GameState &state_;
    const Settings &settings_;
    PictureSet &pictures_;
    std::array<PitPanel *, 2> pits_;
    std::array<PreviewPanel *, 2> previews_;
    std::array<const QPixmap *, 2> pieceBitmap_{}; // Player1PieceBitmap, Player2PieceBitmap; null: none
};

} // namespace vorlix
