#include "app/StatusStrip.h"

#include "ui/GameFont.h"

namespace vorlix {

namespace {
constexpr std::array<int, 6> PanelWidths{94, 94, 83, 94, 94, 70};
} // namespace

StatusStrip::StatusStrip(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    setFixedHeight(Height);
    int left = 0;
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        // A text too long for its panel, from an edited settings file, shows shortened.
        auto *label = new FitLabel(this);
        label->setFrameStyle(QFrame::Panel | (i == 0 ? QFrame::Raised : QFrame::Sunken));
        label->setIndent(2);
        label->setGeometry(left, 0, PanelWidths[i], Height);
        label->setAccessibleName(QStringLiteral("Status panel %1").arg(i));
        left += PanelWidths[i];
        panels_[i] = label;
    }
}

void StatusStrip::SetText(int panel, const QString &text)
{
    if (panel >= 0 && panel < static_cast<int>(panels_.size()))
        panels_[static_cast<std::size_t>(panel)]->setText(text);
}

} // namespace vorlix
