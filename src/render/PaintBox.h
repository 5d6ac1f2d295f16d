#pragma once

#include <QImage>
#include <QWidget>

namespace vorlix {

// A paint box that keeps what is drawn into it: the game draws into the backing image whenever
// it likes, and the paint event only copies the image to the screen. The image has the box's
// size in device pixels, so on a HiDPI screen pictures drawn at logical positions come out as
// exact blocks of device pixels.
class PaintBox : public QWidget {
    Q_OBJECT
public:
    explicit PaintBox(QSize size, QWidget *parent = nullptr);

    // The backing image, matched to the current size and device pixel ratio (what was drawn is
    // kept, anything new is black). Paint with logical coordinates, then call update().
    QImage &Canvas();
    // Fills the backing image and schedules a repaint.
    void Fill(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage canvas_;
};

} // namespace vorlix
