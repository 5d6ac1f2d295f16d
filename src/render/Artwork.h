#pragma once

#include <QImage>

// The game's own pictures, drawn from code: the default tiles that the build writes beside the
// program, and the pictures the windows carry with them (splash, pause, previews, icon).
// Everything is plain pixel arithmetic, so no font or platform plugin is needed and every
// machine produces the same bytes.
namespace vorlix::artwork {

inline constexpr int TileSize = 16;
inline constexpr int PieceTileCount = 20;
inline constexpr int PieceKindCount = 7;
inline constexpr QSize BackgroundSize{64, 64};
inline constexpr QSize SplashSize{256, 256};
inline constexpr QSize PausedSize{158, 68};
inline constexpr QSize PreviewSize{21, 41};

// Opaque RGB32 images.
QImage PieceTile(int number); // 1..20; any other number gives a null image
QImage PitTile();
QImage BlankTile();
QImage BackgroundTexture(); // tiles seamlessly
QImage SplashPicture();
QImage PausedPicture();
QImage PreviewPicture(int kind); // 1..7, the spawn shape on black; other kinds: null image

// ARGB32 with transparency, square.
QImage Icon(int size);

} // namespace vorlix::artwork
