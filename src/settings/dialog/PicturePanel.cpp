#include "settings/dialog/PicturePanel.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace vorlix {

PicturePanel::PicturePanel(const QString &objectName, const QString &role, QWidget *parent)
    : QPushButton(parent), role_(role)
{
    setObjectName(objectName);
    setAccessibleName(role);
    setFocusPolicy(Qt::StrongFocus);
    setAutoDefault(true); // Return opens the file dialog, as Space does
}

void PicturePanel::SetFileName(const QString &name)
{
    fileName_ = name;
    setToolTip(name);
    setAccessibleName(role_ + QStringLiteral(": ") + name);
    update();
}

void PicturePanel::SetSunken(bool sunken)
{
    sunken_ = sunken;
    repaint();
}

void PicturePanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool lowered = sunken_ || isDown();
    qDrawShadePanel(&painter, rect(), palette(), lowered, 1, &palette().brush(QPalette::Button));
    const QRect textArea = rect().adjusted(3, 1, -3, -1);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    const QString shown = fontMetrics().elidedText(fileName_, Qt::ElideMiddle, textArea.width());
    painter.drawText(textArea, Qt::AlignCenter | Qt::TextSingleLine, shown);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

} // namespace vorlix
