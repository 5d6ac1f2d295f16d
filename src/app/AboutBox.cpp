#include "app/AboutBox.h"
#include "ui/GameFont.h"
#include "ui/Widgets.h"
#include "ui/WindowHints.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace vorlix {

namespace {

QLabel *AddLabel(QWidget *parent, const QString &text, int top, int pixelSize, bool bold = false)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    QFont font = GameFont();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter);
    label->setGeometry(8, top, parent->width() - 16, pixelSize + 8);
    return label;
}

} // namespace

AboutBox::AboutBox()
{
    setWindowTitle(QStringLiteral("About"));
    SetFrameButtons(this, FrameButtons::None);
    setFixedSize(298, 213);
    setAccessibleName(QStringLiteral("About Vorlix"));
    setFont(GameFont());

    auto *panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(8, 8, 282, 161);
    AddLabel(panel, QStringLiteral("Vorlix"), 14, 22, true);
    AddLabel(panel, QStringLiteral("Version 2.9"), 50, 11);
    AddLabel(panel, QStringLiteral("A falling-blocks puzzle game for one or two players."), 76, 11);
    AddLabel(panel, QStringLiteral("Copyright \u00A9 2026 The Vorlix developers"), 110, 11);
    AddLabel(panel, QStringLiteral("The Vorlix project"), 130, 11);

    QPushButton *ok = MakeFlatButton(this, QStringLiteral("OKBUtton"), QStringLiteral("&OK"), QStringLiteral("OK"),
                                     {115, 176, 69, 33});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace vorlix
