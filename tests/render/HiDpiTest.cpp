#include "render/PitPanel.h"
#include "render/PitRenderer.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace vorlix {
namespace {

// Run with a scale factor of 2: every 16 x 16 picture must become an exact 32 x 32 block.
TEST(HiDpiTest, TilesBecomeExactBlocksWithoutSmoothing)
{
    ASSERT_EQ(qApp->devicePixelRatio(), 2.0);
    QImage checker(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 0) : qRgb(0, 0, 255));
    GameState state;
    state.GameStopped = false;
    state.Players[0].Picture = 1;
    state.Players[0].Piece.set(2, 3, true);
    Settings settings;
    PictureSet pictures;
    pictures.Blank = QPixmap(16, 16);
    pictures.Blank.fill(Qt::darkGray);
    pictures.Pit = pictures.Blank;
    pictures.Pieces[1] = QPixmap::fromImage(checker);
    PitPanel pit;
    PitRenderer renderer(state, settings, pictures, {&pit, nullptr}, {nullptr, nullptr});
    renderer.DrawPits();

    const QImage &canvas = pit.Box().Canvas();
    ASSERT_EQ(canvas.size(), QSize(320, 642));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(canvas.pixel(32 + x, 64 + y), checker.pixel(x / 2, y / 2)) << x << "," << y;
    EXPECT_EQ(canvas.pixel(31, 64), QColor(Qt::darkGray).rgb());
    EXPECT_EQ(canvas.pixel(64, 95), QColor(Qt::darkGray).rgb());

    // The paint event hands the image over pixel for pixel.
    const QImage shown = pit.Box().grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), canvas.size());
    EXPECT_EQ(shown.copy(32, 64, 32, 32), canvas.copy(32, 64, 32, 32));
}

} // namespace
} // namespace vorlix
