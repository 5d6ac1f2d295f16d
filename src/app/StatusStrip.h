#pragma once

#include <QWidget>

#include <array>

class QLabel;

namespace vorlix {

// The six fixed-width status panels along the bottom of the window.
class StatusStrip : public QWidget {
public:
    static constexpr int Height = 19;

    explicit StatusStrip(QWidget *parent);
    void SetText(int panel, const QString &text);

private:
    std::array<QLabel *, 6> panels_{};
};

} // namespace vorlix
