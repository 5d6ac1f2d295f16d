#include "ui/OkDialog.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace vorlix {

void OkDialog::closeEvent(QCloseEvent *event)
{
    // Only a dialog on the screen has an OK to run.
    event->setAccepted(!isVisible() || RunOk());
}

void OkDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        RunOk();
    else
        QWidget::keyPressEvent(event);
}

} // namespace vorlix
