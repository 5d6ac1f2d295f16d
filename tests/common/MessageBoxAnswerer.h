#pragma once

#include "ModalDeadline.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <vector>

namespace vorlix {

// A message box as the player saw it.
struct SeenBox {
    QMessageBox::Icon icon;
    QString title;
    QString text;
    bool operator==(const SeenBox &) const = default;
};

inline void PrintTo(const SeenBox &box, std::ostream *os)
{
    *os << "{icon " << box.icon << ", \"" << box.title.toStdString() << "\", \"" << box.text.toStdString() << "\"}";
}

// Clicks message boxes from a timer while the code under test blocks in exec(), and keeps what
// each one said. Any other modal window left up fails the test (see ModalDeadline).
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer()
    {
        timer_.callOnTimeout([this] { Poll(); });
    }
    ~MessageBoxAnswerer()
    {
        if (next_)
            ADD_FAILURE() << "no message box came up to be answered";
    }
    MessageBoxAnswerer(const MessageBoxAnswerer &) = delete;
    MessageBoxAnswerer &operator=(const MessageBoxAnswerer &) = delete;

    // Every box from now on, with its OK button or else its first.
    void AnswerEvery() { timer_.start(5); }
    // The next box only, with `button` once it is up; a box that never comes fails the test.
    void AnswerNext(QMessageBox::StandardButton button)
    {
        next_ = button;
        timer_.start(5);
    }
    void Stop() { timer_.stop(); }

    std::vector<SeenBox> seen;

private:
    void Poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        auto *box = qobject_cast<QMessageBox *>(modal);
        QAbstractButton *button = nullptr;
        if (box && box->isVisible()) {
            button = box->button(next_.value_or(QMessageBox::Ok));
            if (!button && !next_)
                button = box->buttons().constFirst();
        }
        if (!button)
            return deadline_.Unanswered(modal);
        seen.push_back({box->icon(), box->windowTitle(), box->text()});
        if (next_) {
            next_.reset();
            timer_.stop();
        }
        button->click();
    }

    std::optional<QMessageBox::StandardButton> next_;
    QTimer timer_;
    ModalDeadline deadline_;
};

} // namespace vorlix
