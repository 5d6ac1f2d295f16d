#include "render/Artwork.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vorlix::artwork {
namespace {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

constexpr Rgb Black{0, 0, 0};
constexpr Rgb White{1, 1, 1};

Rgb Mix(Rgb a, Rgb b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Lighter(Rgb c, double t) { return Mix(c, White, t); }
Rgb Darker(Rgb c, double t) { return Mix(c, Black, t); }

// h in degrees, s and v in 0..1.
Rgb Hsv(double h, double s, double v)
{
    h = std::fmod(h, 360.0) / 60.0;
    const int i = static_cast<int>(h);
    const double f = h - i;
    const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i) {
    case 0: return {v, t, p};
    case 1: return {q, v, p};
    case 2: return {p, v, t};
    case 3: return {p, q, v};
    case 4: return {t, p, v};
    default: return {v, p, q};
    }
}

int Channel(double c) { return static_cast<int>(std::lround(std::clamp(c, 0.0, 1.0) * 255.0)); }
QRgb ToQRgb(Rgb c, double alpha = 1.0)
{
    return qRgba(Channel(c.r), Channel(c.g), Channel(c.b), Channel(alpha));
}
Rgb FromQRgb(QRgb c) { return {qRed(c) / 255.0, qGreen(c) / 255.0, qBlue(c) / 255.0}; }

// Deterministic per-pixel noise in -1..1, so textures repeat exactly from build to build.
double Noise(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFF) / 32767.5 - 1.0;
}

void Put(QImage &img, int x, int y, Rgb c)
{
    if (x >= 0 && y >= 0 && x < img.width() && y < img.height())
        img.setPixel(x, y, ToQRgb(c));
}

QImage Opaque(QSize size, Rgb fill)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(ToQRgb(fill));
    return img;
}

enum class Face { Plain, Pyramid, Gem, Stud, Stripes, Inset, Checker, Stone };

// The colour of face pixel (u, v) of an f x f face in the given style.
Rgb FacePixel(Face face, Rgb base, int u, int v, int f, bool gloss)
{
    const double c = (f - 1) / 2.0;
    const double du = u - c, dv = v - c;
    const double along = f > 1 ? static_cast<double>(v) / (f - 1) : 0.0;
    Rgb px = Mix(Lighter(base, 0.12), Darker(base, 0.14), along);
    switch (face) {
    case Face::Plain:
        break;
    case Face::Pyramid:
        if (std::max(std::abs(du), std::abs(dv)) <= 1.0)
            px = base;
        else if (std::abs(dv) >= std::abs(du))
            px = dv < 0 ? Lighter(base, 0.32) : Darker(base, 0.30);
        else
            px = du < 0 ? Lighter(base, 0.14) : Darker(base, 0.14);
        gloss = false;
        break;
    case Face::Gem: {
        const double radius = f * 0.40;
        if (std::abs(du) + std::abs(dv) <= radius) {
            if (du <= 0 && dv <= 0)
                px = Lighter(base, 0.55);
            else if (dv <= 0)
                px = Lighter(base, 0.25);
            else if (du <= 0)
                px = base;
            else
                px = Darker(base, 0.22);
        } else {
            px = Darker(px, 0.18);
        }
        gloss = false;
        break;
    }
    case Face::Stud: {
        const double radius = f * 0.34;
        const double r = std::hypot(du, dv);
        if (r <= radius) {
            const double s = r > 0 ? -(du + dv) / (std::sqrt(2.0) * r) : 0.0;
            if (r > radius - 1.3)
                px = s > 0 ? Lighter(base, 0.5 * s) : Darker(base, -0.45 * s);
            else
                px = Lighter(base, 0.18);
        }
        gloss = false;
        break;
    }
    case Face::Stripes:
        if (((u + v) / 2) % 2 == 0)
            px = Darker(px, 0.22);
        break;
    case Face::Inset: {
        const int m = f / 4;
        const int lo = m, hi = f - 1 - m;
        if (u >= lo && u <= hi && v >= lo && v <= hi) {
            if (u == lo || v == lo)
                px = Darker(base, 0.38);
            else if (u == hi || v == hi)
                px = Lighter(base, 0.38);
            else
                px = Darker(base, 0.06);
        }
        break;
    }
    case Face::Checker:
        if ((u / 3 + v / 3) % 2 == 1)
            px = Darker(px, 0.16);
        break;
    case Face::Stone:
        px = Mix(px, Noise(u, v, 7) > 0 ? White : Black, 0.035 * std::abs(Noise(u, v, 11)) + 0.02);
        gloss = false;
        break;
    }
    if (gloss && f >= 6 && ((u == 1 && v == 1) || (u == 2 && v == 1) || (u == 1 && v == 2)))
        px = Lighter(px, 0.5);
    return px;
}

// A raised block: light top and left edges, dark bottom and right edges, the face inside.
void DrawBlock(QImage &img, int x0, int y0, int size, Rgb base, int bevel, Face face = Face::Plain, bool gloss = true)
{
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int lightDist = std::min(x, y);
            const int darkDist = std::min(size - 1 - x, size - 1 - y);
            const int depth = std::min(lightDist, darkDist);
            Rgb px;
            if (depth < bevel) {
                const double outer = 1.0 - static_cast<double>(depth) / bevel;
                if (lightDist < darkDist)
                    px = Lighter(base, 0.25 + 0.35 * outer);
                else if (darkDist < lightDist)
                    px = Darker(base, 0.25 + 0.35 * outer);
                else
                    px = base;
            } else {
                px = FacePixel(face, base, x - bevel, y - bevel, size - 2 * bevel, gloss);
            }
            Put(img, x0 + x, y0 + y, px);
        }
    }
}

void Blit(QImage &dst, const QImage &src, int x0, int y0)
{
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            Put(dst, x0 + x, y0 + y, FromQRgb(src.pixel(x, y)));
}

struct PieceLook {
    double hue, saturation, value;
    Face face;
};

// Twelve hues round the colour wheel, then eight patterned tiles, so every tile is told apart
// by colour or by pattern. None is grey: settled blocks are, and a falling piece must never
// melt into them.
constexpr std::array<PieceLook, PieceTileCount> PieceLooks{{
    {0, 0.82, 0.90, Face::Plain},      // 1 red
    {28, 0.85, 0.95, Face::Plain},     // 2 orange
    {52, 0.85, 0.95, Face::Plain},     // 3 yellow
    {88, 0.75, 0.85, Face::Plain},     // 4 lime
    {135, 0.72, 0.72, Face::Plain},    // 5 green
    {168, 0.75, 0.72, Face::Plain},    // 6 teal
    {192, 0.75, 0.92, Face::Plain},    // 7 cyan
    {216, 0.78, 0.90, Face::Plain},    // 8 blue
    {245, 0.62, 0.82, Face::Plain},    // 9 indigo
    {275, 0.60, 0.82, Face::Plain},    // 10 violet
    {305, 0.65, 0.85, Face::Plain},    // 11 magenta
    {335, 0.55, 0.95, Face::Plain},    // 12 rose
    {44, 0.70, 0.88, Face::Pyramid},   // 13 gold
    {75, 0.78, 0.80, Face::Pyramid},   // 14 peridot
    {350, 0.85, 0.75, Face::Gem},      // 15 ruby
    {148, 0.80, 0.68, Face::Gem},      // 16 emerald
    {222, 0.80, 0.78, Face::Stud},     // 17 sapphire
    {20, 0.70, 0.72, Face::Stripes},   // 18 copper
    {195, 0.42, 0.95, Face::Inset},    // 19 ice
    {285, 0.56, 0.76, Face::Checker},  // 20 amethyst
}};

// 5 x 7 block letters (the I is narrower), enough for the two words the pictures need.
struct Glyph {
    char letter;
    std::array<std::string_view, 7> rows;
};

constexpr std::array<Glyph, 12> Glyphs{{
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
}};
constexpr std::array<Glyph, 1> NoGlyph{{{'?', {}}}};
constexpr int GlyphHeight = 7;

const Glyph &GlyphFor(char letter)
{
    for (const Glyph &g : Glyphs)
        if (g.letter == letter)
            return g;
    return NoGlyph[0];
}

int GlyphWidth(const Glyph &g) { return static_cast<int>(g.rows[0].size()); }

// Width in font cells of a word with one empty column between letters.
int WordWidth(std::string_view word)
{
    int w = 0;
    for (char ch : word)
        w += GlyphWidth(GlyphFor(ch)) + 1;
    return w > 0 ? w - 1 : 0;
}

// Calls cell(letterIndex, column, row) for every set cell of the word, column and row in font cells.
template <typename Cell>
void ForEachWordCell(std::string_view word, Cell cell)
{
    int left = 0;
    for (int i = 0; i < static_cast<int>(word.size()); ++i) {
        const Glyph &g = GlyphFor(word[static_cast<std::size_t>(i)]);
        for (int row = 0; row < GlyphHeight; ++row)
            for (int col = 0; col < GlyphWidth(g); ++col)
                if (g.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] == '#')
                    cell(i, left + col, row);
        left += GlyphWidth(g) + 1;
    }
}

// Draws a word in raised letters made of cell x cell font cells at (left, top): lit where a
// letter ends above or to the left, shaded where it ends below or to the right, with a soft
// shadow on the ground. faceColour(letter, x, y) gives the face of each letter pixel.
template <typename FaceColour>
void DrawRaisedWord(QImage &img, std::string_view word, int cell, int left, int top, FaceColour faceColour)
{
    const int w = img.width(), h = img.height();
    std::vector<int> letterAt(static_cast<std::size_t>(w * h), -1);
    ForEachWordCell(word, [&](int letter, int col, int row) {
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x) {
                const int px = left + col * cell + x, py = top + row * cell + y;
                if (px >= 0 && py >= 0 && px < w && py < h)
                    letterAt[static_cast<std::size_t>(py * w + px)] = letter;
            }
    });
    auto at = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h ? letterAt[static_cast<std::size_t>(y * w + x)] : -1; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int letter = at(x, y);
            if (letter < 0) {
                if (at(x - 2, y - 2) >= 0 || at(x - 3, y - 3) >= 0)
                    Put(img, x, y, Darker(FromQRgb(img.pixel(x, y)), 0.5));
                continue;
            }
            const Rgb face = faceColour(letter, x, y);
            Rgb px = face;
            if (at(x - 1, y) < 0 || at(x, y - 1) < 0)
                px = Lighter(face, 0.7);
            else if (at(x + 1, y) < 0 || at(x, y + 1) < 0)
                px = Darker(face, 0.6);
            else if (at(x + 1, y + 1) < 0)
                px = Darker(face, 0.3);
            Put(img, x, y, px);
        }
}

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

QImage PieceTile(int number)
{
    if (number < 1 || number > PieceTileCount)
        return {};
    const PieceLook &look = PieceLooks[static_cast<std::size_t>(number - 1)];
    QImage img = Opaque({TileSize, TileSize}, Black);
    DrawBlock(img, 0, 0, TileSize, Hsv(look.hue, look.saturation, look.value), 2, look.face);
    return img;
}

QImage PitTile()
{
    QImage img = Opaque({TileSize, TileSize}, Black);
    DrawBlock(img, 0, 0, TileSize, Hsv(216, 0.12, 0.42), 2, Face::Stone);
    return img;
}

QImage BlankTile()
{
    const Rgb base{0.045, 0.055, 0.075};
    const Rgb line{0.085, 0.100, 0.130};
    QImage img = Opaque({TileSize, TileSize}, base);
    for (int i = 0; i < TileSize; ++i) {
        Put(img, TileSize - 1, i, line);
        Put(img, i, TileSize - 1, line);
    }
    return img;
}

QImage BackgroundTexture()
{
    // Offset rows of dim 32 x 32 slabs with a whisper of grain; 64 is a multiple of both
    // periods, so the texture tiles without seams.
    const Rgb base{0.080, 0.095, 0.135};
    QImage img = Opaque(BackgroundSize, base);
    for (int y = 0; y < img.height(); ++y) {
        const int shift = (y / 32) % 2 * 16;
        for (int x = 0; x < img.width(); ++x) {
            const int bx = (x + shift) % 32, by = y % 32;
            Rgb px = base;
            if (bx == 0 || by == 0)
                px = Lighter(base, 0.05);
            else if (bx == 31 || by == 31)
                px = Darker(base, 0.30);
            px = Mix(px, Noise(x, y, 3) > 0 ? White : Black, 0.012 * std::abs(Noise(x, y, 5)));
            Put(img, x, y, px);
        }
    }
    return img;
}

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
