#include "scores/DialogSupport.h"
#include "scores/GameFont.h"

#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace vorlix {

void MakeDialogWindow(QWidget *dialog, const QString &caption, int width, int height)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    dialog->setWindowTitle(caption);
    dialog->setAccessibleName(caption);
    dialog->setFixedSize(width, height);
    dialog->setFont(GameFont());
}

void PresentDialog(QWidget *dialog, QWidget *mainWindow, QWidget *focus)
{
    if (!dialog->isVisible()) {
        QScreen *screen = mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            QRect frame = dialog->frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            dialog->move(frame.topLeft());
        }
        dialog->winId(); // a native window, so the stacking hint can be set before mapping
        if (mainWindow && mainWindow->windowHandle() && dialog->windowHandle())
            dialog->windowHandle()->setTransientParent(mainWindow->windowHandle());
        dialog->show();
    }
    dialog->raise();
    dialog->activateWindow();
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);
}

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

void ShowMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QRadioButton *MakeRadio(QWidget *parent, const QString &objectName, const QString &text,
                        const QString &accessibleName, QRect place)
{
    auto *radio = new QRadioButton(text, parent);
    radio->setObjectName(objectName);
    radio->setAccessibleName(accessibleName);
    radio->setGeometry(place);
    return radio;
}

QPushButton *MakeFlatButton(QWidget *parent, const QString &objectName, const QString &text,
                            const QString &accessibleName, QRect place)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAccessibleName(accessibleName);
    button->setFlat(true);
    button->setAutoDefault(true);
    button->setGeometry(place);
    return button;
}

} // namespace vorlix
