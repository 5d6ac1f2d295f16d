#include "app/CloseSignals.h"

#include <QSocketNotifier>
#include <QString>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <mutex>
#include <utility>
#include <fcntl.h>
#include <unistd.h>

namespace vorlix {

namespace {

constexpr int Signals[] = {SIGTERM, SIGHUP, SIGINT};

// Written before the handlers are installed and after they are removed.
volatile std::sig_atomic_t writeEnd = -1;

extern "C" void OnCloseSignal(int number)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    // Non-blocking: a full pipe already holds a signal the event loop has yet to read.
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = savedErrno;
}

std::recursive_mutex saveMutex;
std::function<void()> saveAtLoss; // empty when no DisplayLoss lives, or once it ran
QtMessageHandler qtHandler = nullptr;

void SaveOnce()
{
    // A second thread that finds the connection broken waits here, so neither ends the
    // process in the middle of the save.
    const std::lock_guard lock(saveMutex);
    if (const std::function<void()> save = std::exchange(saveAtLoss, {}))
        save();
}

void OnQtMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    qtHandler(type, context, message);
    if (message.startsWith(QLatin1String("The X11 connection broke")) ||
        message.startsWith(QLatin1String("The Wayland connection")))
        SaveOnce();
}

} // namespace

DisplayLoss::DisplayLoss(std::function<void()> save)
{
    [[maybe_unused]] static const int atExit = std::atexit(SaveOnce);
    const std::lock_guard lock(saveMutex);
    saveAtLoss = std::move(save);
    qtHandler = qInstallMessageHandler(OnQtMessage);
}

DisplayLoss::~DisplayLoss()
{
    const std::lock_guard lock(saveMutex);
    qInstallMessageHandler(qtHandler);
    saveAtLoss = {};
}

CloseSignals::CloseSignals(std::function<void()> close) : close_(std::move(close))
{
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipe_[0] = pipe_[1] = -1;
        return;
    }
    writeEnd = pipe_[1];
    struct sigaction action {};
    action.sa_handler = OnCloseSignal;
    sigemptyset(&action.sa_mask);
    // A save under way is not cut short by EINTR.
    action.sa_flags = SA_RESTART;
    for (const int number : Signals)
        ::sigaction(number, &action, nullptr);
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &CloseSignals::ReadSignals);
}

CloseSignals::~CloseSignals()
{
    if (pipe_[0] < 0)
        return;
    for (const int number : Signals)
        ::signal(number, SIG_DFL);
    writeEnd = -1;
    notifier_.reset();
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void CloseSignals::ReadSignals()
{
    unsigned char bytes[16];
    bool any = false;
    while (::read(pipe_[0], bytes, sizeof bytes) > 0)
        any = true;
    // Several signals close once; the close itself ignores a second request.
    if (any && close_)
        close_();
}

} // namespace vorlix
