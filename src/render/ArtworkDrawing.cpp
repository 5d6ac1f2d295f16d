#include "render/ArtworkDrawing.h"

namespace vorlix::artwork {
namespace {

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

} // namespace

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

QImage Opaque(QSize size, Rgb fill)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(ToQRgb(fill));
    return img;
}

void DrawBlock(QImage &img, int x0, int y0, int size, Rgb base, int bevel, Face face, bool gloss)
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

const Glyph &GlyphFor(char letter)
{
    for (const Glyph &g : Glyphs)
        if (g.letter == letter)
            return g;
    return NoGlyph[0];
}

int WordWidth(std::string_view word)
{
    int w = 0;
    for (char ch : word)
        w += GlyphWidth(GlyphFor(ch)) + 1;
    return w > 0 ? w - 1 : 0;
}

} // namespace vorlix::artwork
