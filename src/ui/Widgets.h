#pragma once

#include <QString>

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class QRect;
class QWidget;

namespace vorlix {

// A plain-text label at (left, top), sized to its text. Plain text, because names are typed
// by the player and must never be read as markup.
QLabel *MakeLabel(QWidget *parent, const QString &objectName, int left, int top,
                  const QString &text = {});
void MakeBold(QLabel *label);

// A sunken frame around a group of controls.
QFrame *MakeBevel(QWidget *parent, const QString &objectName, int left, int top, int width, int height);

QRadioButton *MakeRadio(QWidget *parent, const QString &objectName, const QString &text,
                        const QString &accessibleName, QRect place);

// A flat button at a fixed place; Return presses it while it has the focus.
QPushButton *MakeFlatButton(QWidget *parent, const QString &objectName, const QString &text,
                            const QString &accessibleName, QRect place);

} // namespace vorlix
