#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

namespace vorlix {

// When a game timer is next due, on a millisecond clock the caller reads. This is the rule
// the game's timing rests on (GameHost's timers), apart from any real timer: switching on
// never restarts a running period; setting the interval restarts it and starts nothing while
// switched off; off and on again begins a full period; an interval of 0 or less never fires;
// an interval beyond INT32_MAX ms runs as INT32_MAX.
class TimerPeriod {
public:
    explicit TimerPeriod(std::int64_t interval) : interval_(interval) {}

    void SetEnabled(bool on, std::int64_t now)
    {
        if (on == enabled_)
            return;
        enabled_ = on;
        Restart(now);
    }
    void SetInterval(std::int64_t milliseconds, std::int64_t now)
    {
        interval_ = milliseconds;
        Restart(now);
    }
    // The due tick has fired at `now`: the next period follows on from the due time, or
    // from `now` when the tick came more than a period late.
    void Fired(std::int64_t now)
    {
        if (!due_)
            return;
        const std::int64_t next = *due_ + Period();
        due_ = next > now ? next : now + Period();
    }

    bool Enabled() const { return enabled_; }
    std::int64_t Interval() const { return interval_; }
    // None while the timer will not fire.
    std::optional<std::int64_t> Due() const { return due_; }
    std::int64_t Period() const { return std::min<std::int64_t>(interval_, std::numeric_limits<std::int32_t>::max()); }

private:
    void Restart(std::int64_t now)
    {
        if (enabled_ && interval_ > 0)
            due_ = now + Period();
        else
            due_.reset();
    }

    std::int64_t interval_;
    bool enabled_ = false;
    std::optional<std::int64_t> due_;
};

} // namespace vorlix
