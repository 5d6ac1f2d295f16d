#include "app/PeriodTimer.h"

#include <climits>

namespace vorlix {

PeriodTimer::PeriodTimer(std::int64_t interval, QObject *parent)
    : QObject(parent), interval_(interval)
{
    // The default coarse timer may stretch a period by 5 %.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &PeriodTimer::Timeout);
}

void PeriodTimer::SetEnabled(bool on)
{
    if (on == enabled_)
        return;
    enabled_ = on;
    Apply();
}

void PeriodTimer::SetInterval(std::int64_t milliseconds)
{
    interval_ = milliseconds;
    timer_.stop();
    Apply();
}

void PeriodTimer::Apply()
{
    if (!enabled_ || interval_ <= 0) {
        timer_.stop();
        return;
    }
    if (!timer_.isActive())
        timer_.start(static_cast<int>(interval_ > INT_MAX ? INT_MAX : interval_));
}

} // namespace vorlix
