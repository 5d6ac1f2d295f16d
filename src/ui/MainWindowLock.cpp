#include "ui/MainWindowLock.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace vorlix {

MainWindowLock::MainWindowLock(std::function<void(bool enabled)> setEnabled, QWidget &mainWindow)
    : setEnabled_(std::move(setEnabled)), mainWindow_(mainWindow)
{
    mainWindow.installEventFilter(this);
}

void MainWindowLock::Hold(QWidget *holder)
{
    if (HeldBy(holder))
        return;
    holders_.push_back(holder);
    holder->installEventFilter(this);
    if (holders_.size() == 1)
        setEnabled_(false);
}

void MainWindowLock::Release(QWidget *holder)
{
    const auto it = std::find(holders_.begin(), holders_.end(), holder);
    if (it == holders_.end())
        return;
    holders_.erase(it);
    holder->removeEventFilter(this);
    if (holders_.empty())
        setEnabled_(true);
}

bool MainWindowLock::HeldBy(const QWidget *holder) const
{
    return std::find(holders_.begin(), holders_.end(), holder) != holders_.end();
}

bool MainWindowLock::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange && Held() && !restorePending_ &&
        static_cast<QWidget *>(watched)->isMinimized()) {
        // Not from inside the window system's notification.
        restorePending_ = true;
        QTimer::singleShot(0, this, [this] {
            restorePending_ = false;
            RestoreMinimised();
        });
    }
    return QObject::eventFilter(watched, event);
}

void MainWindowLock::RestoreMinimised()
{
    if (!Held())
        return;
    std::vector<QWidget *> windows{&mainWindow_};
    windows.insert(windows.end(), holders_.begin(), holders_.end());
    for (QWidget *window : windows)
        if (window->isMinimized())
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    QWidget *top = holders_.back();
    top->raise();
    top->activateWindow();
}

} // namespace vorlix
