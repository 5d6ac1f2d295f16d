#pragma once

#include <QColor>
#include <QPixmap>

namespace vorlix::test {

inline QPixmap Solid(QColor color, QSize size = {16, 16})
{
    QPixmap pm(size);
    pm.fill(color);
    return pm;
}

// Distinct opaque colours for piece pictures 1..20.
inline QColor PieceColor(int n) { return QColor::fromHsv(n * 17 % 360, 255, 200 + n); }

} // namespace vorlix::test
