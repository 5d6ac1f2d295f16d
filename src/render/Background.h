#pragma once

#include <QPixmap>
#include <QSize>

class QPainter;

namespace vorlix {

// The window background: tiled, copies of the picture unscaled at (i * W, j * H) for i in
// 0..clientWidth / W and j in 0..clientHeight / H, the last ones clipped; otherwise stretched over
// the client area. A picture without pixels draws nothing.
void PaintBackground(QPainter &painter, QSize clientSize, const QPixmap &picture, bool tiled);

} // namespace vorlix
