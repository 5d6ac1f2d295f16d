#include "render/PitPanel.h"
#include "render/PitRenderer.h"
#include "Solid.h"

#include <gtest/gtest.h>

namespace vorlix {
namespace {

using test::PieceColor;
using test::Solid;

const QRgb BlankColor = qRgb(10, 20, 90);
const QRgb PitColor = qRgb(128, 128, 128);
const QRgb Black = qRgb(0, 0, 0);

class PitRendererTest : public ::testing::Test {
protected:
    PitRendererTest()
    {
        pictures.Blank = Solid(BlankColor);
        pictures.Pit = Solid(PitColor);
        for (int n = 1; n <= 20; ++n)
            pictures.Pieces[static_cast<std::size_t>(n)] = Solid(PieceColor(n));
        state.GameStopped = false;
        state.Players[0].Picture = 3;
        state.Players[1].Picture = 5;
        state.Players[0].NextKind = 2;
        state.Players[1].NextKind = 6;
    }

    QRgb Pixel(int player, int x, int y) { return pits[static_cast<std::size_t>(player)]->Box().Canvas().pixel(x, y); }
    static QRgb Piece(int n) { return PieceColor(n).rgb(); }

    GameState state;
    Settings settings;
    PictureSet pictures;
    PitPanel pit1, pit2;
    PreviewPanel preview1, preview2;
    std::array<PitPanel *, 2> pits{&pit1, &pit2};
    PitRenderer renderer{state, settings, pictures, pits, {&preview1, &preview2}};
};

// Gravity down puts row 1 at the top, gravity up at the bottom; the 16-pixel cells leave one
// line of the 321-line box uncovered, at the bottom or the top. PaintCell places a cell where
// DrawPits does.
TEST_F(PitRendererTest, CellsArePlacedByTheDirectionOfGravity)
{
    struct Case {
        bool gravityDown;
        int x, y, left, top;
        int uncoveredLine;
    };
    const Case cases[] = {
        {true, 1, 1, 0, 0, 320},    {true, 10, 20, 144, 304, 320}, {true, 2, 1, 16, 0, 320},
        {false, 1, 1, 0, 305, 0},   {false, 10, 20, 144, 1, 0},    {false, 2, 1, 16, 305, 0},
    };
    QImage &canvas = pit1.Box().Canvas();
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "gravity down " << c.gravityDown << " cell " << c.x << "," << c.y);
        settings.GravityDown = c.gravityDown;
        canvas.fill(Black);
        state.Players[0].Piece = {};
        state.Players[0].Piece.set(c.x, c.y, true);
        renderer.DrawPits();
        EXPECT_EQ(Pixel(0, c.left, c.top), Piece(3));
        EXPECT_EQ(Pixel(0, c.left + 15, c.top + 15), Piece(3));
        if (c.x < PitWidth) {
            EXPECT_EQ(Pixel(0, c.left + 16, c.top), BlankColor);
        }
        if (c.top - 1 != c.uncoveredLine && c.top > 0) {
            EXPECT_EQ(Pixel(0, c.left, c.top - 1), BlankColor);
        }
        EXPECT_EQ(Pixel(0, c.left, c.uncoveredLine), Black);

        const QImage drawn = canvas.copy();
        canvas.fill(Black);
        state.Players[0].Piece = {};
        renderer.DrawPits();
        renderer.PaintCell(0, c.x, c.y, CellPicture::Piece);
        EXPECT_TRUE(canvas == drawn) << "PaintCell places the cell where DrawPits does";
    }
}

TEST_F(PitRendererTest, LayersChooseThePicture)
{
    PlayerState &p1 = state.Players[0];
    p1.Piece.set(1, 1, true);
    p1.Pit.set(2, 1, true);
    p1.Piece.set(3, 1, true);
    p1.Pit.set(3, 1, true);
    renderer.DrawPits();
    EXPECT_EQ(Pixel(0, 0, 0), Piece(3));
    EXPECT_EQ(Pixel(0, 16, 0), PitColor);
    EXPECT_EQ(Pixel(0, 32, 0), PitColor) << "a cell in both layers shows the pit picture";
    EXPECT_EQ(Pixel(0, 48, 0), BlankColor);

    state.Players[0].Picture = 7;
    renderer.DrawPits();
    EXPECT_EQ(Pixel(0, 0, 0), Piece(7)) << "a new picture number is taken at the next redraw";
}

TEST_F(PitRendererTest, SecondPitOnlyInTwoPlayerGamesWithItsOwnPicture)
{
    state.Players[0].Piece.set(1, 1, true);
    state.Players[1].Piece.set(1, 1, true);
    renderer.DrawPits();
    EXPECT_EQ(Pixel(1, 0, 0), Black);
    EXPECT_TRUE(preview2.isHidden());

    settings.NumberOfPlayers = 2;
    renderer.DrawPits();
    EXPECT_EQ(Pixel(0, 0, 0), Piece(3));
    EXPECT_EQ(Pixel(1, 0, 0), Piece(5));
    EXPECT_FALSE(preview2.isHidden());
}

TEST_F(PitRendererTest, PreviewShownOnlyWhileAGameRunsWithPreviewOn)
{
    state.GameStopped = true;
    renderer.DrawPits();
    EXPECT_TRUE(preview1.isHidden());
    EXPECT_EQ(Pixel(0, 0, 0), BlankColor) << "the layers are drawn without a game";

    state.GameStopped = false;
    settings.Preview = 0;
    renderer.DrawPits();
    EXPECT_TRUE(preview1.isHidden());

    settings.Preview = 1;
    renderer.DrawPits();
    EXPECT_FALSE(preview1.isHidden());
    const QImage expected = pictures.Previews[1].toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(pictures.Pieces[0].toImage().convertToFormat(QImage::Format_RGB32), expected);
    EXPECT_EQ(preview1.Box().Canvas().convertToFormat(QImage::Format_RGB32), expected);

    preview1.hide();
    state.GameStopped = true;
    renderer.DrawPits();
    EXPECT_TRUE(preview1.isHidden()) << "only shown here, never hidden";
}

TEST_F(PitRendererTest, LargerPicturesOverlapInDrawingOrder)
{
    const QRgb big = qRgb(200, 0, 0);
    pictures.Blank = Solid(BlankColor, {20, 20});
    pictures.Pieces[3] = Solid(big, {20, 20});
    state.Players[0].Piece.set(2, 1, true);
    renderer.DrawPits();
    EXPECT_EQ(Pixel(0, 17, 5), big) << "covers the end of the cell on its left";
    EXPECT_EQ(Pixel(0, 33, 5), BlankColor) << "covered by the next cell in the row";
    EXPECT_EQ(Pixel(0, 17, 17), BlankColor) << "covered by the next row";
    EXPECT_EQ(Pixel(0, 17, 15), big);
}

TEST_F(PitRendererTest, LevelFlashFillsBothPitsWithPlayerOnesPicture)
{
    settings.GravityDown = false;
    settings.NumberOfPlayers = 2;
    renderer.DrawPits();
    renderer.LevelFlash();
    for (int player = 0; player < 2; ++player) {
        EXPECT_EQ(Pixel(player, 0, 0), Piece(3));
        EXPECT_EQ(Pixel(player, 159, 319), Piece(3));
        EXPECT_EQ(Pixel(player, 0, 320), BlankColor) << "the bottom line keeps the last redraw";
    }
}

TEST_F(PitRendererTest, PieceReferencesDesignateNoPictureBeforeTheFirstRedraw)
{
    settings.NumberOfPlayers = 2;
    renderer.LevelFlash();
    renderer.PaintCell(0, 1, 1, CellPicture::Piece);
    renderer.PaintCell(1, 1, 1, CellPicture::Piece);
    EXPECT_EQ(Pixel(0, 0, 0), Black);
    EXPECT_EQ(Pixel(1, 0, 0), Black);
    renderer.PaintCell(1, 1, 1, CellPicture::Blank);
    EXPECT_EQ(Pixel(1, 0, 0), BlankColor);
    renderer.PaintCell(2, 1, 1, CellPicture::Blank); // no such player: ignored
    state.Paused = true; // a paused redraw only blanks, but sets the references all the same
    renderer.DrawPits();
    renderer.PaintCell(1, 1, 1, CellPicture::Piece);
    EXPECT_EQ(Pixel(1, 0, 0), Piece(5));
}

TEST_F(PitRendererTest, PictureNumbersOutsideTheSetDrawNothing)
{
    state.Players[0].Picture = 21;
    state.Players[0].Piece.set(1, 1, true);
    state.Players[0].NextKind = 8;
    renderer.DrawPits();
    EXPECT_EQ(Pixel(0, 0, 0), Black);
    EXPECT_EQ(preview1.Box().Canvas().pixel(10, 20), Black);
}

TEST_F(PitRendererTest, BlankPitsAndClearPaintBoxes)
{
    settings.NumberOfPlayers = 2;
    settings.GravityDown = false; // blanked at the gravity-down origins all the same
    renderer.BlankPits();
    EXPECT_EQ(Pixel(0, 0, 0), BlankColor);
    EXPECT_EQ(Pixel(1, 159, 319), BlankColor);
    EXPECT_EQ(Pixel(1, 0, 320), Black);
    settings.Preview = 1;
    renderer.DrawPits();
    const auto allBlack = [](PreviewPanel &preview) {
        QImage black(preview.Box().Canvas().size(), preview.Box().Canvas().format());
        black.fill(Qt::black);
        return preview.Box().Canvas() == black;
    };
    ASSERT_FALSE(allBlack(preview1));
    ASSERT_FALSE(allBlack(preview2));
    renderer.ClearPaintBoxes();
    EXPECT_EQ(Pixel(0, 0, 0), Black);
    EXPECT_EQ(Pixel(1, 159, 319), Black);
    // A new game shows no next piece before its first redraw, least of all the last game's.
    EXPECT_TRUE(allBlack(preview1));
    EXPECT_TRUE(allBlack(preview2));
}

} // namespace
} // namespace vorlix
