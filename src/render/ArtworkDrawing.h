#pragma once

#include <QImage>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

// What the artwork is drawn with: colours, pixels, raised blocks with patterned faces, and the
// block alphabet of the words on the pictures. Only the artwork's own files include it.
namespace vorlix::artwork {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

inline constexpr Rgb Black{0, 0, 0};
inline constexpr Rgb White{1, 1, 1};

inline Rgb Mix(Rgb a, Rgb b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Rgb Lighter(Rgb c, double t) { return Mix(c, White, t); }
inline Rgb Darker(Rgb c, double t) { return Mix(c, Black, t); }

// h in degrees, s and v in 0..1.
Rgb Hsv(double h, double s, double v);

inline int Channel(double c) { return static_cast<int>(std::lround(std::clamp(c, 0.0, 1.0) * 255.0)); }
inline QRgb ToQRgb(Rgb c, double alpha = 1.0)
{
    return qRgba(Channel(c.r), Channel(c.g), Channel(c.b), Channel(alpha));
}
inline Rgb FromQRgb(QRgb c) { return {qRed(c) / 255.0, qGreen(c) / 255.0, qBlue(c) / 255.0}; }

// Deterministic per-pixel noise in -1..1, so textures repeat exactly from build to build.
inline double Noise(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFF) / 32767.5 - 1.0;
}

inline void Put(QImage &img, int x, int y, Rgb c)
{
    if (x >= 0 && y >= 0 && x < img.width() && y < img.height())
        img.setPixel(x, y, ToQRgb(c));
}

QImage Opaque(QSize size, Rgb fill);

enum class Face { Plain, Pyramid, Gem, Stud, Stripes, Inset, Checker, Stone };

// A raised block: light top and left edges, dark bottom and right edges, the face inside.
void DrawBlock(QImage &img, int x0, int y0, int size, Rgb base, int bevel, Face face = Face::Plain, bool gloss = true);

void Blit(QImage &dst, const QImage &src, int x0, int y0);

// 5 x 7 block letters (the I is narrower), enough for the two words the pictures need.
struct Glyph {
    char letter;
    std::array<std::string_view, 7> rows;
};

inline constexpr int GlyphHeight = 7;

const Glyph &GlyphFor(char letter);

inline int GlyphWidth(const Glyph &g) { return static_cast<int>(g.rows[0].size()); }

// Width in font cells of a word with one empty column between letters.
int WordWidth(std::string_view word);

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

} // namespace vorlix::artwork
