#include "ui/GameFont.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace vorlix {

namespace {
constexpr qreal MaxTightening = 0.05;
} // namespace

QFont GameFont()
{
    // Metric twins of one narrow design; the condensed sans of the core fonts comes last.
    QFont font(QStringList{QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Nimbus Sans Narrow"),
                           QStringLiteral("DejaVu Sans Condensed")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

void UseGameLook(QApplication &application)
{
    // Under a style sheet a font set on a window no longer reaches the widgets inside it;
    // the application's font does.
    QApplication::setFont(GameFont());
    // Flat buttons show no focus under the default style; keyboard players need to see it.
    application.setStyleSheet(QStringLiteral("QPushButton:flat:focus { border: 1px dotted palette(text); }"));
}

FitLabel::FitLabel(QWidget *parent, bool narrowing) : QLabel(parent), narrowing_(narrowing) { setTextFormat(Qt::PlainText); }

int FitLabel::EffectiveIndent() const
{
    // As QLabel counts it: unset, half an x inside a frame, nothing without one.
    if (indent() >= 0)
        return indent();
    return frameWidth() > 0 ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
}

int FitLabel::TextRoom() const
{
    int room = contentsRect().width() - 2 * margin();
    if (alignment() & (Qt::AlignLeft | Qt::AlignRight))
        room -= EffectiveIndent();
    return room;
}

FitLabel::Fit FitLabel::Fitted() const
{
    const QString whole = text();
    const qreal room = TextRoom();
    QFont base = font();
    base.setLetterSpacing(QFont::PercentageSpacing, 100);
    const qreal need = QFontMetricsF(base).horizontalAdvance(whole);
    if (need <= room)
        return {whole, base};
    if (need * (1 - MaxTightening) <= room) {
        QFont tight = base;
        tight.setLetterSpacing(QFont::PercentageSpacing, std::floor(1000 * room / need) / 10);
        if (QFontMetricsF(tight).horizontalAdvance(whole) <= room)
            return {whole, tight};
    }
    if (!narrowing_)
        return {QFontMetricsF(base).elidedText(whole, Qt::ElideRight, room), base};
    // Measured, not worked out: the stretch counts from the face's own width, narrow already.
    QFont narrow = base;
    int stretch = 100;
    for (qreal width = need; width > room && stretch > 1; width = QFontMetricsF(narrow).horizontalAdvance(whole)) {
        stretch = std::max(1, static_cast<int>(std::floor(stretch * room / width)));
        narrow.setStretch(stretch);
    }
    return {whole, narrow};
}

void FitLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const int indent = EffectiveIndent();
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    if (align & Qt::AlignLeft)
        area.setLeft(area.left() + indent);
    if (align & Qt::AlignRight)
        area.setRight(area.right() - indent);
    const Fit fit = Fitted();
    painter.setFont(fit.font);
    style()->drawItemText(&painter, area, static_cast<int>(align) | Qt::TextSingleLine, palette(), isEnabled(),
                          fit.text, foregroundRole());
}

bool FitLabel::event(QEvent *event)
{
    // A shortened text shows whole where the pointer rests; a whole one needs no tip.
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        const Fit fit = Fitted();
        if (fit.text != text())
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

} // namespace vorlix
