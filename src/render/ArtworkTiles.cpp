#include "render/Artwork.h"

#include "render/ArtworkDrawing.h"

namespace vorlix::artwork {
namespace {

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

} // namespace vorlix::artwork
