#include "render/Artwork.h"

#include "render/ArtworkDrawing.h"

namespace vorlix::artwork {
namespace {

// One colour per kind, in kind order, so the next piece's kind shows at a glance.
constexpr std::array<double, PieceKindCount> PreviewHues{190, 55, 24, 222, 282, 128, 352};

constexpr std::array<std::array<std::string_view, 4>, PieceKindCount> SpawnShapes{{
    {"#", "#", "#", "#"},
    {"##", "##"},
    {"#.", "#.", "##"},
    {".#", ".#", "##"},
    {".#.", "###"},
    {"#.", "##", ".#"},
    {".#", "##", "#."},
}};

} // namespace

QImage SplashPicture()
{
    QImage img = Opaque(SplashSize, Black);
    const Rgb top{0.035, 0.045, 0.095}, bottom{0.10, 0.13, 0.25};
    for (int y = 0; y < img.height(); ++y) {
        const Rgb row = Mix(top, bottom, static_cast<double>(y) / (img.height() - 1));
        for (int x = 0; x < img.width(); ++x)
            Put(img, x, y, (x % TileSize == 0 || y % TileSize == 0) ? Lighter(row, 0.035) : row);
    }

    // A pit in play: a stack at the bottom and two pieces on their way down.
    struct Cells {
        int tile;
        std::array<std::array<int, 2>, 4> at;
    };
    constexpr std::array<Cells, 10> pieces{{
        {15, {{{11, 1}, {12, 1}, {12, 2}, {13, 2}}}},
        {16, {{{2, 9}, {2, 10}, {2, 11}, {3, 11}}}},
        {2, {{{0, 13}, {0, 14}, {0, 15}, {1, 15}}}},
        {3, {{{2, 14}, {3, 14}, {2, 15}, {3, 15}}}},
        {1, {{{4, 15}, {5, 15}, {5, 14}, {6, 14}}}},
        {10, {{{7, 13}, {6, 13}, {8, 13}, {7, 14}}}},
        {8, {{{8, 15}, {9, 15}, {10, 15}, {10, 14}}}},
        {7, {{{15, 12}, {15, 13}, {15, 14}, {15, 15}}}},
        {5, {{{12, 13}, {12, 14}, {13, 14}, {13, 15}}}},
        {13, {{{11, 15}, {11, 14}, {9, 14}, {8, 14}}}},
    }};
    for (const Cells &piece : pieces) {
        const QImage tile = PieceTile(piece.tile);
        for (const auto &cell : piece.at)
            Blit(img, tile, cell[0] * TileSize, cell[1] * TileSize);
    }

    constexpr std::string_view title = "VORLIX";
    constexpr int block = 7;
    const int left = (img.width() - WordWidth(title) * block) / 2;
    constexpr int topY = 76;
    constexpr std::array<double, 6> hues{0, 28, 52, 135, 192, 275};
    DrawRaisedWord(img, title, block, left, topY, [&](int letter, int x, int y) {
        // Faint seams between the font cells: the letters are built of blocks.
        const Rgb base = Hsv(hues[static_cast<std::size_t>(letter)], 0.78, 0.95);
        const Rgb shaded = Mix(Lighter(base, 0.1), Darker(base, 0.15), static_cast<double>(y - topY) / (GlyphHeight * block));
        return ((x - left) % block == block - 1 || (y - topY) % block == block - 1) ? Darker(shaded, 0.18) : shaded;
    });

    // A thin rule under the title, fading out at both ends.
    const int ruleY = topY + GlyphHeight * block + 12;
    for (int x = left; x < img.width() - left; ++x) {
        const double t = 1.0 - std::abs((x - img.width() / 2.0) / (img.width() / 2.0 - left));
        Put(img, x, ruleY, Mix(FromQRgb(img.pixel(x, ruleY)), Rgb{0.55, 0.65, 0.95}, t * 0.8));
    }
    return img;
}

QImage PausedPicture()
{
    QImage img = Opaque(PausedSize, Black);
    const Rgb top = Hsv(218, 0.80, 0.78), bottom = Hsv(222, 0.85, 0.45);
    const int w = img.width(), h = img.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb ground = Mix(top, bottom, static_cast<double>(y) / (h - 1));
            const int light = std::min(x, y), dark = std::min(w - 1 - x, h - 1 - y);
            Rgb px = ground;
            if (std::min(light, dark) < 2)
                px = light < dark ? Lighter(ground, 0.45) : Darker(ground, 0.45);
            Put(img, x, y, px);
        }

    constexpr std::string_view word = "PAUSED";
    constexpr int cell = 4;
    const int textH = GlyphHeight * cell;
    const int left = (w - WordWidth(word) * cell) / 2, topY = (h - textH) / 2;
    DrawRaisedWord(img, word, cell, left, topY, [&](int, int, int y) {
        return Mix(Rgb{0.86, 0.90, 1.0}, Hsv(215, 0.30, 0.85), static_cast<double>(y - topY) / textH);
    });
    return img;
}

QImage PreviewPicture(int kind)
{
    if (kind < 1 || kind > PieceKindCount)
        return {};
    QImage img = Opaque(PreviewSize, Black);
    const auto &shape = SpawnShapes[static_cast<std::size_t>(kind - 1)];
    int rows = 0, cols = 0;
    for (std::string_view line : shape)
        if (!line.empty()) {
            ++rows;
            cols = std::max(cols, static_cast<int>(line.size()));
        }
    constexpr int block = 7;
    const int left = (img.width() - cols * block) / 2, topY = (img.height() - rows * block) / 2;
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < static_cast<int>(shape[static_cast<std::size_t>(row)].size()); ++col)
            if (shape[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] == '#')
                DrawBlock(img, left + col * block, topY + row * block, block,
                          Hsv(PreviewHues[static_cast<std::size_t>(kind - 1)], 0.72, 0.92), 1, Face::Plain, false);
    return img;
}

QImage Icon(int size)
{
    if (size < 1)
        return {};
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);

    // A rounded dark plate, antialiased by 4 x 4 supersampling.
    const double radius = size * 0.2;
    const Rgb plate{0.09, 0.11, 0.19};
    auto inside = [&](double px, double py) {
        const double cx = std::clamp(px, radius, size - radius), cy = std::clamp(py, radius, size - radius);
        return std::hypot(px - cx, py - cy) <= radius;
    };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
            if (hits > 0) {
                const double t = static_cast<double>(y) / size;
                img.setPixel(x, y, ToQRgb(Mix(Lighter(plate, 0.08), plate, t), hits / 16.0));
            }
        }

    // Five blocks in the shape of a V.
    const int block = std::max(1, size * 4 / 15);
    const int left = (size - 3 * block) / 2, topY = (size - 3 * block) / 2;
    constexpr std::array<std::array<int, 3>, 5> cells{{{0, 0, 0}, {0, 1, 28}, {1, 2, 52}, {2, 1, 192}, {2, 0, 216}}};
    for (const auto &c : cells)
        DrawBlock(img, left + c[0] * block, topY + c[1] * block, block, Hsv(c[2], 0.80, 0.95),
                  std::max(1, block / 7), Face::Plain, block >= 12);
    return img;
}

} // namespace vorlix::artwork
