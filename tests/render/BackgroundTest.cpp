#include "render/Background.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace vorlix {
namespace {

const QRgb Ground = qRgb(1, 2, 3);
const QRgb Marker = qRgb(255, 0, 0);
const QRgb Fill = qRgb(0, 0, 255);

QImage Paint(const QPixmap &picture, bool tiled, QSize client = {560, 380})
{
    QImage target(client, QImage::Format_RGB32);
    target.fill(Ground);
    QPainter p(&target);
    PaintBackground(p, client, picture, tiled);
    return target;
}

TEST(BackgroundTest, TilesStartAtMultiplesOfThePictureSize)
{
    QImage tile(64, 64, QImage::Format_RGB32);
    tile.fill(Fill);
    tile.setPixel(0, 0, Marker);
    const QImage out = Paint(QPixmap::fromImage(tile), true);
    int markers = 0;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if (out.pixel(x, y) == Marker) {
                ++markers;
                EXPECT_EQ(x % 64, 0);
                EXPECT_EQ(y % 64, 0);
            } else {
                EXPECT_EQ(out.pixel(x, y), Fill) << x << "," << y;
            }
    EXPECT_EQ(markers, 9 * 6) << "the last column at 512 and row at 320 are clipped, not skipped";
    EXPECT_EQ(out.pixel(512, 320), Marker);
}

TEST(BackgroundTest, StretchedFillsTheClientAreaExactly)
{
    QImage quad(2, 2, QImage::Format_RGB32);
    quad.setPixel(0, 0, Marker);
    quad.setPixel(1, 0, Fill);
    quad.setPixel(0, 1, Fill);
    quad.setPixel(1, 1, qRgb(0, 255, 0));
    const QImage out = Paint(QPixmap::fromImage(quad), false);
    EXPECT_EQ(out.pixel(0, 0), Marker);
    EXPECT_EQ(out.pixel(277, 187), Marker);
    EXPECT_EQ(out.pixel(283, 193), qRgb(0, 255, 0));
    EXPECT_EQ(out.pixel(559, 0), Fill);
    EXPECT_EQ(out.pixel(559, 379), qRgb(0, 255, 0));
}

TEST(BackgroundTest, APictureWithoutPixelsDrawsNothing)
{
    EXPECT_EQ(Paint(QPixmap(), true).pixel(0, 0), Ground);
    EXPECT_EQ(Paint(QPixmap(), false).pixel(0, 0), Ground);
}

} // namespace
} // namespace vorlix
