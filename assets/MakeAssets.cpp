// Writes the default pictures beside the program, and the program icon for installing:
//   vorlix_make_assets <game dir> <icon dir> [<contact sheet.png>]
// The contact sheet shows everything enlarged, for judging the pictures by eye.

#include "render/Artwork.h"

#include <QDir>
#include <QImage>
#include <QString>

#include <array>
#include <cstdio>
#include <vector>

namespace {

using namespace vorlix::artwork;

constexpr std::array<int, 6> IconSizes{16, 32, 48, 64, 128, 256};

bool Save(const QImage &image, const QString &path, const char *format)
{
    if (!image.isNull() && image.save(path, format))
        return true;
    std::fprintf(stderr, "vorlix_make_assets: cannot write %s\n", qPrintable(path));
    return false;
}

QImage Enlarged(const QImage &image, int factor)
{
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// Copies src into dst at (x, y), blending over what is there.
void Place(QImage &dst, const QImage &src, int x, int y)
{
    for (int j = 0; j < src.height(); ++j)
        for (int i = 0; i < src.width(); ++i) {
            if (x + i >= dst.width() || y + j >= dst.height())
                continue;
            const QRgb s = src.pixel(i, j);
            const QRgb d = dst.pixel(x + i, y + j);
            const int a = qAlpha(s);
            auto blend = [a](int sc, int dc) { return (sc * a + dc * (255 - a)) / 255; };
            dst.setPixel(x + i, y + j, qRgb(blend(qRed(s), qRed(d)), blend(qGreen(s), qGreen(d)), blend(qBlue(s), qBlue(d))));
        }
}

QImage ContactSheet()
{
    QImage sheet(1100, 760, QImage::Format_RGB32);
    sheet.fill(qRgb(40, 40, 40));
    for (int n = 1; n <= PieceTileCount; ++n)
        Place(sheet, Enlarged(PieceTile(n), 4), 10 + (n - 1) % 10 * 72, 10 + (n - 1) / 10 * 72);
    Place(sheet, Enlarged(PitTile(), 4), 10, 160);
    Place(sheet, Enlarged(BlankTile(), 4), 82, 160);
    Place(sheet, Enlarged(BackgroundTexture(), 2), 160, 160);
    // The pit as a player sees it: blank cells, a piece, a stack.
    QImage pit(160, 96, QImage::Format_RGB32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            Place(pit, y >= 4 && x != 3 ? PitTile() : BlankTile(), x * 16, y * 16);
    for (auto [x, y] : std::array<std::array<int, 2>, 4>{{{4, 0}, {4, 1}, {5, 1}, {5, 2}}})
        Place(pit, PieceTile(8), x * 16, y * 16);
    Place(sheet, Enlarged(pit, 2), 310, 160);
    for (int k = 1; k <= PieceKindCount; ++k)
        Place(sheet, Enlarged(PreviewPicture(k), 2), 640 + (k - 1) * 50, 160);
    Place(sheet, SplashPicture(), 10, 370);
    Place(sheet, Enlarged(PausedPicture(), 2), 280, 370);
    int x = 620;
    for (int size : IconSizes) {
        Place(sheet, Icon(size), x, 500);
        x += size + 8;
    }
    // Tiled background behind a small pit frame.
    QImage bg(256, 120, QImage::Format_RGB32);
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 4; ++i)
            Place(bg, BackgroundTexture(), i * 64, j * 64);
    Place(sheet, bg, 280, 520);
    Place(sheet, Enlarged(PausedPicture(), 1), 620, 400);
    return sheet;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: vorlix_make_assets <game dir> <icon dir> [<contact sheet.png>]\n");
        return 2;
    }
    const QString gameDir = QString::fromLocal8Bit(argv[1]);
    const QString iconDir = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(gameDir) || !QDir().mkpath(iconDir)) {
        std::fprintf(stderr, "vorlix_make_assets: cannot create the output folders\n");
        return 1;
    }

    bool ok = Save(BackgroundTexture(), gameDir + "/bg.bmp", "BMP");
    ok = Save(PitTile(), gameDir + "/pit.bmp", "BMP") && ok;
    ok = Save(BlankTile(), gameDir + "/blank.bmp", "BMP") && ok;
    for (int n = 1; n <= PieceTileCount; ++n)
        ok = Save(PieceTile(n), gameDir + QStringLiteral("/piece%1.bmp").arg(n), "BMP") && ok;
    for (int size : IconSizes) {
        const QString dir = iconDir + QStringLiteral("/hicolor/%1x%1/apps").arg(size);
        ok = QDir().mkpath(dir) && Save(Icon(size), dir + "/vorlix.png", "PNG") && ok;
    }
    if (argc > 3)
        ok = Save(ContactSheet(), QString::fromLocal8Bit(argv[3]), "PNG") && ok;
    return ok ? 0 : 1;
}
