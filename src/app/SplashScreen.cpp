#include "app/SplashScreen.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace vorlix {

SplashScreen::SplashScreen(const QPixmap &picture)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setFixedSize(270, 282);
    auto *panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(rect());
    auto *image = new QLabel(panel);
    image->setPixmap(picture);
    image->setScaledContents(true);
    image->setGeometry(panel->contentsRect());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace vorlix
