#pragma once

#include "engine/TimerPeriod.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>

namespace vorlix {

// A timer with the older toolkit's meaning (TimerPeriod): switching on never restarts a
// running period, setting the interval restarts it, and an interval of 0 or less never fires
// (a QTimer of 0 ms would fire on every pass of the event loop). The QTimer only wakes us at
// the due time the rule keeps.
class PeriodTimer : public QObject {
    Q_OBJECT
public:
    explicit PeriodTimer(std::int64_t interval, QObject *parent = nullptr);

    void SetEnabled(bool on);
    void SetInterval(std::int64_t milliseconds);

signals:
    void Timeout();

private:
    void Arm();

    TimerPeriod period_;
    QElapsedTimer clock_;
    QTimer timer_;
    std::int64_t armedFor_ = 0;
};

} // namespace vorlix
