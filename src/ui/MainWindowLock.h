#pragma once

#include <QObject>

#include <functional>
#include <vector>

class QWidget;

namespace vorlix {

// Knows which windows hold the main window disabled. A dialog that disables the main window
// takes a hold and its OK lets go; the main window is enabled exactly when no hold is left, so
// one dialog's OK never enables it under another that is still open.
//
// While a hold is taken, neither the main window nor a holding dialog stays minimised: some
// window managers minimise a dialog together with the window it belongs to, and the player
// would lose the game behind a dialog that must be answered first.
class MainWindowLock : public QObject {
public:
    // `setEnabled` is called when the first hold is taken (false) and the last let go (true).
    MainWindowLock(std::function<void(bool enabled)> setEnabled, QWidget &mainWindow);

    void Hold(QWidget *holder);
    void Release(QWidget *holder);
    bool Held() const { return !holders_.empty(); }
    bool HeldBy(const QWidget *holder) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void RestoreMinimised();

    std::function<void(bool)> setEnabled_;
    QWidget &mainWindow_;
    std::vector<QWidget *> holders_; // in the order the holds were taken
    bool restorePending_ = false;
};

} // namespace vorlix
