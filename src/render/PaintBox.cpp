#include "render/PaintBox.h"

#include <QPainter>

namespace vorlix {

PaintBox::PaintBox(QSize size, QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(size);
    Fill(Qt::black);
}

QImage &PaintBox::Canvas()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (canvas_.size() != pixels || canvas_.devicePixelRatio() != ratio) {
        QImage fresh(pixels, QImage::Format_RGB32);
        fresh.fill(Qt::black);
        fresh.setDevicePixelRatio(ratio);
        if (!canvas_.isNull()) {
            QPainter p(&fresh);
            p.drawImage(QRectF(QPointF(0, 0), canvas_.deviceIndependentSize()), canvas_);
        }
        canvas_ = std::move(fresh);
    }
    return canvas_;
}

void PaintBox::Fill(const QColor &color)
{
    Canvas().fill(color);
    update();
}

void PaintBox::paintEvent(QPaintEvent *)
{
    // The painter is clipped to the exposed region; the image is 1:1 with device pixels.
    QPainter p(this);
    p.drawImage(QPoint(0, 0), Canvas());
}

} // namespace vorlix
