#include "render/Background.h"

#include <QPainter>

namespace vorlix {

void PaintBackground(QPainter &painter, QSize clientSize, const QPixmap &picture, bool tiled)
{
    // Logical size: a picture loaded with a device pixel ratio still tiles at its on-screen size.
    const QSize size = picture.deviceIndependentSize().toSize();
    const int w = size.width(), h = size.height();
    if (w <= 0 || h <= 0)
        return;
    if (!tiled) {
        painter.drawPixmap(QRect(QPoint(0, 0), clientSize), picture);
        return;
    }
    for (int i = 0; i <= clientSize.width() / w; ++i)
        for (int j = 0; j <= clientSize.height() / h; ++j)
            painter.drawPixmap(QPoint(i * w, j * h), picture);
}

} // namespace vorlix
