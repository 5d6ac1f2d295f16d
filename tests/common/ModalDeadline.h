#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace vorlix {

// The answerers click message boxes from a timer while the code under test blocks in exec();
// a modal window they cannot answer would block the test program for good. Told at each poll
// which modal window is up unanswered, this fails the test once one has stayed up for a few
// seconds and closes it, so exec() returns and the test goes on to its end.
class ModalDeadline {
public:
    void Unanswered(QWidget *modal)
    {
        if (!modal) {
            since_.invalidate();
            return;
        }
        if (!since_.isValid())
            since_.start();
        if (!since_.hasExpired(5000))
            return;
        ADD_FAILURE() << "a modal " << modal->metaObject()->className() << " \"" << modal->windowTitle().toStdString()
                      << "\" stayed up unanswered";
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
        since_.invalidate();
    }

private:
    QElapsedTimer since_;
};

} // namespace vorlix
