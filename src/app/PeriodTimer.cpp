#include "app/PeriodTimer.h"

#include <algorithm>

namespace vorlix {

PeriodTimer::PeriodTimer(std::int64_t interval, QObject *parent)
    : QObject(parent), period_(interval)
{
    clock_.start();
    // The default coarse timer may stretch a period by 5 %.
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] {
        period_.Fired(clock_.elapsed());
        Arm();
        emit Timeout();
    });
}

void PeriodTimer::SetEnabled(bool on)
{
    period_.SetEnabled(on, clock_.elapsed());
    Arm();
}

void PeriodTimer::SetInterval(std::int64_t milliseconds)
{
    period_.SetInterval(milliseconds, clock_.elapsed());
    Arm();
}

void PeriodTimer::Arm()
{
    const auto due = period_.Due();
    if (!due) {
        timer_.stop();
        return;
    }
    if (timer_.isActive() && armedFor_ == *due)
        return; // the running period goes on
    armedFor_ = *due;
    timer_.start(static_cast<int>(std::max<std::int64_t>(0, *due - clock_.elapsed())));
}

} // namespace vorlix
