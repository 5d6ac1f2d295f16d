#include "ui/Widgets.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace vorlix {

QLabel *MakeLabel(QWidget *parent, const QString &objectName, int left, int top, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->move(left, top);
    label->adjustSize();
    return label;
}

void MakeBold(QLabel *label)
{
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->adjustSize();
}

QFrame *MakeBevel(QWidget *parent, const QString &objectName, int left, int top, int width, int height)
{
    auto *bevel = new QFrame(parent);
    bevel->setObjectName(objectName);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(left, top, width, height);
    return bevel;
}

namespace {

// A button with its text and names at a fixed place.
template <typename Button>
Button *MakePlacedButton(QWidget *parent, const QString &objectName, const QString &text,
                         const QString &accessibleName, QRect place)
{
    auto *button = new Button(text, parent);
    button->setObjectName(objectName);
    button->setAccessibleName(accessibleName);
    button->setGeometry(place);
    return button;
}

} // namespace

QRadioButton *MakeRadio(QWidget *parent, const QString &objectName, const QString &text,
                        const QString &accessibleName, QRect place)
{
    return MakePlacedButton<QRadioButton>(parent, objectName, text, accessibleName, place);
}

QPushButton *MakeFlatButton(QWidget *parent, const QString &objectName, const QString &text,
                            const QString &accessibleName, QRect place)
{
    auto *button = MakePlacedButton<QPushButton>(parent, objectName, text, accessibleName, place);
    button->setFlat(true);
    button->setAutoDefault(true);
    return button;
}

} // namespace vorlix
