#include "app/MainWindow.h"

#include "ui/KeyTranslation.h"

#include <QKeyEvent>

#include <algorithm>
#include <climits>

namespace vorlix {

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    // The X server repeats only the key pressed last; the game repeats every held key itself.
    if (event->isAutoRepeat())
        return;
    // A key whose code would be another key's does nothing at all.
    const std::optional<std::int32_t> code = TranslateKey(event->key());
    if (!code)
        return;
    keys_.Press(*code, clock_.elapsed(), desktopRepeat_.Repeats(event->key(), event->nativeScanCode()));
    ScheduleRepeat();
}

void MainWindow::keyReleaseEvent(QKeyEvent *event)
{
    // X11 sends a release before every repeated press; it is not the key going up.
    if (event->isAutoRepeat())
        return;
    const std::optional<std::int32_t> code = TranslateKey(event->key());
    if (!code)
        return;
    keys_.Release(*code);
    ScheduleRepeat();
}

void MainWindow::ScheduleRepeat()
{
    const std::optional<std::int64_t> next = keys_.NextRepeat();
    if (!next) {
        repeatTimer_.stop();
        return;
    }
    const std::int64_t wait = std::clamp<std::int64_t>(*next - clock_.elapsed(), 0, INT_MAX);
    repeatTimer_.start(static_cast<int>(wait));
}

// Their releases will go to another window or a menu.
void MainWindow::ForgetHeldKeys()
{
    keys_.Forget();
    repeatTimer_.stop();
}

bool MainWindow::focusNextPrevChild(bool) { return false; }

bool MainWindow::event(QEvent *event)
{
    // Tab and Backtab would otherwise be eaten by focus navigation before keyPressEvent.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QMainWindow::event(event);
}

} // namespace vorlix
