#include "app/PeriodTimer.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vorlix;

namespace {

// Nothing but the timer itself starts its next period (the level timer is never touched
// between its ticks), and no tick comes before its period is over.
TEST(PeriodTimer, TicksEveryPeriodUntilSwitchedOff)
{
    constexpr int period = 20;
    PeriodTimer timer(period);
    QElapsedTimer clock;
    std::vector<qint64> ticks;
    QObject::connect(&timer, &PeriodTimer::Timeout, [&] { ticks.push_back(clock.elapsed()); });
    clock.start();
    timer.SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks.size() >= 4; }, 5000)) << ticks.size() << " ticks";
    for (std::size_t i = 0; i < ticks.size(); ++i)
        EXPECT_GE(ticks[i], period * static_cast<qint64>(i + 1) - 2) << "tick " << i;

    timer.SetEnabled(false);
    const std::size_t before = ticks.size();
    QTest::qWait(3 * period);
    EXPECT_EQ(ticks.size(), before);
}

} // namespace
