#include "render/PitRenderer.h"

#include "render/PaintBox.h"
#include "render/PitPanel.h"

#include <QPainter>

namespace vorlix {
namespace {

constexpr int CellPitch = 16;

void Draw(QPainter &p, QPoint origin, const QPixmap *picture)
{
    if (picture != nullptr)
        p.drawPixmap(origin, *picture);
}

} // namespace

PitRenderer::PitRenderer(const GameState &state, const Settings &settings, PictureSet &pictures,
                         std::array<PitPanel *, 2> pits, std::array<PreviewPanel *, 2> previews)
    : state_(state), settings_(settings), pictures_(pictures), pits_(pits), previews_(previews)
{
}

QPoint PitRenderer::CellOrigin(int x, int y, bool gravityDown, int boxHeight)
{
    return {CellPitch * (x - 1), gravityDown ? CellPitch * (y - 1) : boxHeight - CellPitch * y};
}

PaintBox *PitRenderer::PitBox(int player) const
{
    PitPanel *panel = pits_[static_cast<std::size_t>(player)];
    return panel != nullptr ? &panel->Box() : nullptr;
}

void PitRenderer::DrawPits()
{
    pieceBitmap_[0] = pictures_.Piece(state_.Players[0].Picture);
    pieceBitmap_[1] = pictures_.Piece(state_.Players[1].Picture);
    if (state_.Paused) {
        BlankPits();
        return;
    }
    for (int player = 0; player < VisiblePits(); ++player)
        DrawLayers(player);
    if (settings_.Preview == 1 && !state_.GameStopped)
        for (int player = 0; player < VisiblePits(); ++player)
            DrawPreview(player);
}

void PitRenderer::DrawLayers(int player)
{
    PaintBox *box = PitBox(player);
    if (box == nullptr)
        return;
    const PlayerState &ps = state_.Players[static_cast<std::size_t>(player)];
    const QPixmap *piece = pieceBitmap_[static_cast<std::size_t>(player)];
    const bool down = settings_.GravityDown;
    const int height = box->height();
    {
        QPainter p(&box->Canvas());
        for (int y = 1; y <= PitHeight; ++y)
            for (int x = 1; x <= PitWidth; ++x) {
                const bool inPiece = ps.Piece.at(x, y);
                const bool inPit = ps.Pit.at(x, y);
                const QPoint origin = CellOrigin(x, y, down, height);
                if (!inPiece && !inPit)
                    p.drawPixmap(origin, pictures_.Blank);
                if (inPiece)
                    Draw(p, origin, piece);
                if (inPit)
                    p.drawPixmap(origin, pictures_.Pit);
            }
    }
    box->update();
}

void PitRenderer::DrawPreview(int player)
{
    PreviewPanel *panel = previews_[static_cast<std::size_t>(player)];
    if (panel == nullptr)
        return;
    // A next kind outside 1..7 has no preview picture; the box keeps what it showed.
    if (const QPixmap *preview = pictures_.Preview(state_.Players[static_cast<std::size_t>(player)].NextKind)) {
        pictures_.Pieces[0] = *preview;
        {
            QPainter p(&panel->Box().Canvas());
            p.drawPixmap(QPoint(0, 0), pictures_.Pieces[0]);
        }
        panel->Box().update();
    }
    panel->show();
}

void PitRenderer::FillPit(int player, const QPixmap *picture, bool columnsFirst)
{
    PaintBox *box = PitBox(player);
    if (box == nullptr || picture == nullptr)
        return;
    {
        QPainter p(&box->Canvas());
        for (int outer = 1; outer <= (columnsFirst ? PitWidth : PitHeight); ++outer)
            for (int inner = 1; inner <= (columnsFirst ? PitHeight : PitWidth); ++inner) {
                const int x = columnsFirst ? outer : inner, y = columnsFirst ? inner : outer;
                p.drawPixmap(CellOrigin(x, y, true, box->height()), *picture);
            }
    }
    box->update();
}

void PitRenderer::BlankPits()
{
    for (int player = 0; player < VisiblePits(); ++player)
        FillPit(player, &pictures_.Blank, false);
}

void PitRenderer::LevelFlash()
{
    for (int player = 0; player < VisiblePits(); ++player)
        FillPit(player, pieceBitmap_[0], true);
}

void PitRenderer::PaintCell(int player, int x, int y, CellPicture picture)
{
    if (player != 0 && player != 1)
        return;
    PaintBox *box = PitBox(player);
    if (box == nullptr)
        return;
    const QPixmap *pm = picture == CellPicture::Blank ? &pictures_.Blank : pieceBitmap_[static_cast<std::size_t>(player)];
    if (pm == nullptr)
        return;
    {
        QPainter p(&box->Canvas());
        p.drawPixmap(CellOrigin(x, y, settings_.GravityDown, box->height()), *pm);
    }
    box->update();
}

void PitRenderer::ClearPaintBoxes()
{
    for (int player = 0; player < VisiblePits(); ++player)
        if (PaintBox *box = PitBox(player))
            box->Fill(Qt::black);
    // The previews too: until the first redraw they would show the last game's next piece.
    for (PreviewPanel *preview : previews_)
        if (preview != nullptr)
            preview->Box().Fill(Qt::black);
}

} // namespace vorlix
