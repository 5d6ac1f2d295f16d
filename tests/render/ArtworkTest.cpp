#include "render/Artwork.h"

#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    QTemporaryDir dir;
    const QString path = dir.filePath("piece1.bmp");
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
