#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace vorlix {

// SIGTERM (logout, shutdown, kill), SIGHUP (a closed terminal) and SIGINT (Ctrl+C) close the
// game the way its window's close does, so nothing the player did is lost. The handler only
// writes the signal's number into a pipe; the event loop reads it and runs `close`, never the
// handler itself. One at a time: the handlers are process-wide. Without a pipe the signals end
// the program as they always did; the destructor restores that.
class CloseSignals : public QObject {
public:
    explicit CloseSignals(std::function<void()> close);
    ~CloseSignals() override;

    CloseSignals(const CloseSignals &) = delete;
    CloseSignals &operator=(const CloseSignals &) = delete;

private:
    void ReadSignals();

    std::function<void()> close_;
    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};

// When the connection to the display breaks, Qt's platform plugin warns and ends the process
// on the spot (X11 through exit(), Wayland through _exit()), so no close runs. While this
// lives, `save` runs once before the end: on that warning, whichever thread gives it, and at
// exit() as well.
class DisplayLoss {
public:
    explicit DisplayLoss(std::function<void()> save);
    ~DisplayLoss();

    DisplayLoss(const DisplayLoss &) = delete;
    DisplayLoss &operator=(const DisplayLoss &) = delete;
};

} // namespace vorlix
