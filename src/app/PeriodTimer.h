#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>

namespace vorlix {

// A timer with the older toolkit's meaning: switching on never restarts a running period,
// setting the interval restarts it, and an interval of 0 or less never fires (a QTimer of
// 0 ms would fire on every pass of the event loop).
class PeriodTimer : public QObject {
    Q_OBJECT
public:
    explicit PeriodTimer(std::int64_t interval, QObject *parent = nullptr);

    void SetEnabled(bool on);
    void SetInterval(std::int64_t milliseconds);
    bool Enabled() const { return enabled_; }
    std::int64_t Interval() const { return interval_; }
    // Whether it will actually fire (enabled with a positive interval).
    bool Running() const { return timer_.isActive(); }

signals:
    void Timeout();

private:
    void Apply();

    QTimer timer_;
    std::int64_t interval_;
    bool enabled_ = false;
};

} // namespace vorlix
