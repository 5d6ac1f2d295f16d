#include "render/Artwork.h"
#include "../common/TempDir.h"

#include <QFile>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cmath>

namespace vorlix {
namespace {

using namespace artwork;

TEST(ArtworkTest, TwentyDistinctPieceTilesApartFromThePitAndBlank)
{
    std::vector<QImage> tiles;
    for (int n = 1; n <= PieceTileCount; ++n)
        tiles.push_back(PieceTile(n));
    tiles.push_back(PitTile());
    tiles.push_back(BlankTile());
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        EXPECT_EQ(tiles[i].size(), QSize(16, 16)) << i;
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(tiles[i], tiles[j]) << i << " " << j;
    }
    EXPECT_TRUE(PieceTile(0).isNull());
    EXPECT_TRUE(PieceTile(21).isNull());
    EXPECT_TRUE(PreviewPicture(0).isNull());
}

struct Lab {
    double L, a, b;
};

// CIE L*a*b* (D65) of an sRGB colour.
Lab ToLab(QColor c)
{
    auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const double r = linear(c.redF()), g = linear(c.greenF()), b = linear(c.blueF());
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double DeltaE(Lab p, Lab q) { return std::hypot(p.L - q.L, p.a - q.a, p.b - q.b); }

// The mean colour of a picture, leaving out its black pixels when asked (a preview's ground).
QColor MeanColour(const QImage &image, bool withoutBlack = false)
{
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = image.pixel(x, y);
            if (withoutBlack && qGray(px) == 0)
                continue;
            r += qRed(px), g += qGreen(px), b += qBlue(px), ++n;
        }
    return n == 0 ? QColor() : QColor::fromRgbF(static_cast<float>(r / n / 255), static_cast<float>(g / n / 255),
                                                static_cast<float>(b / n / 255));
}

// A falling piece must never vanish into the stack, and each kind's preview has a colour of its
// own. The bar, a CIE76 difference of 30, is about as far apart as the red and orange tiles are
// from each other: two colours with different names, told apart at a glance even at 16 pixels.
TEST(ArtworkTest, PiecesStandApartFromTheStackAndEachPreviewHasItsOwnColour)
{
    constexpr double Apart = 30;
    const Lab stack = ToLab(MeanColour(PitTile()));
    for (int n = 1; n <= PieceTileCount; ++n)
        EXPECT_GE(DeltaE(ToLab(MeanColour(PieceTile(n))), stack), Apart) << "piece " << n;
    for (int i = 1; i <= PieceKindCount; ++i)
        for (int j = 1; j < i; ++j)
            EXPECT_GE(DeltaE(ToLab(MeanColour(PreviewPicture(i), true)), ToLab(MeanColour(PreviewPicture(j), true))),
                      Apart)
                << "previews " << j << " and " << i;
}

TEST(ArtworkTest, BackgroundTilesWithoutSeams)
{
    // Seamless when wrapping around changes a row no more than stepping inside the picture does.
    const QImage bg = BackgroundTexture();
    auto differs = [&](int x1, int y1, int x2, int y2) {
        const QRgb a = bg.pixel(x1, y1), b = bg.pixel(x2, y2);
        return std::abs(qGray(a) - qGray(b));
    };
    int inside = 0, across = 0;
    for (int i = 0; i < 64; ++i) {
        inside = std::max({inside, differs(31, i, 32, i), differs(i, 31, i, 32)});
        across = std::max({across, differs(63, i, 0, i), differs(i, 63, i, 0)});
    }
    EXPECT_LE(across, inside);
}

TEST(ArtworkTest, TilesAreWrittenAsTwentyFourBitBitmapsThatLoadBack)
{
    test::TempDir dir;
    const QString path = QString::fromStdString(dir / "piece1.bmp");
    ASSERT_TRUE(PieceTile(1).save(path, "BMP"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray header = f.read(30);
    EXPECT_EQ(header.left(2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(header[28]), 24);
    QPixmap loaded;
    ASSERT_TRUE(loaded.load(path));
    EXPECT_EQ(loaded.toImage().convertToFormat(QImage::Format_RGB32), PieceTile(1));
}

TEST(ArtworkTest, IconIsTransparentAroundItsPlate)
{
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QImage icon = Icon(size);
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_TRUE(icon.hasAlphaChannel());
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << size;
    }
}

} // namespace
} // namespace vorlix
