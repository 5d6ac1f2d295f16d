#pragma once

#include <QPixmap>
#include <QWidget>

#include <chrono>

namespace vorlix {

// The borderless start-up window, shown and painted before anything else is set up.
class SplashScreen : public QWidget {
public:
    explicit SplashScreen(const QPixmap &picture);

    // Shows the window and returns once its picture has been drawn and sent to the display,
    // or after `bound` if the window system never exposes it.
    void ShowAndPaint(std::chrono::milliseconds bound = std::chrono::milliseconds(1000));

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap picture_;
    bool painted_ = false;
};

} // namespace vorlix
