#include "app/SplashScreen.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <qdrawutil.h>

namespace vorlix {

SplashScreen::SplashScreen(const QPixmap &picture)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint), picture_(picture)
{
    setFixedSize(270, 282);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void SplashScreen::ShowAndPaint(std::chrono::milliseconds bound)
{
    show();
    // Under X a window is drawn only once the server has mapped and exposed it, which takes a
    // round trip through the window manager; until then whatever is painted is lost. The
    // main window's creation keeps the event loop from running, so wait here.
    QElapsedTimer clock;
    clock.start();
    while (!painted_ && clock.elapsed() < bound.count()) {
        QEventLoop wait;
        QTimer::singleShot(10, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
    // The drawing is only queued for the display until the connection is flushed.
    QGuiApplication::sync();
}

void SplashScreen::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // A panel with a lowered bevel, filled by the stretched picture.
    qDrawShadePanel(&painter, rect(), palette(), true, 1);
    painter.drawPixmap(rect().adjusted(1, 1, -1, -1), picture_);
    painted_ = true;
}

} // namespace vorlix
