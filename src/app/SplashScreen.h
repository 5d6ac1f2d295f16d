#pragma once

#include <QWidget>

namespace vorlix {

// The borderless start-up window, shown and painted before anything else is set up.
class SplashScreen : public QWidget {
public:
    explicit SplashScreen(const QPixmap &picture);
};

} // namespace vorlix
