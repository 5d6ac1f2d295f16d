#include "app/KeyTranslation.h"
#include "app/PeriodTimer.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

using namespace vorlix;

TEST(KeyTranslation, MapsQtKeysToTheGameCodes)
{
    EXPECT_EQ(TranslateKey(Qt::Key_Escape), 0x1000);
    EXPECT_EQ(TranslateKey(Qt::Key_Right), 0x1014);
    EXPECT_EQ(TranslateKey(Qt::Key_Shift), 0x1020);
    EXPECT_EQ(TranslateKey(Qt::Key_F2), 0x1031);
    EXPECT_EQ(TranslateKey(Qt::Key_A), 0x41);
    EXPECT_EQ(TranslateKey(Qt::Key_Space), 0x20);
    EXPECT_EQ(TranslateKey(Qt::Key_unknown), 0xFFFF);
    EXPECT_EQ(TranslateKey(Qt::Key_AltGr), 0xFFFF);
    EXPECT_EQ(TranslateKey(-1), 0xFFFF);
}

namespace {
int Ticks(PeriodTimer &timer, int waitMs)
{
    int ticks = 0;
    QObject::connect(&timer, &PeriodTimer::Timeout, [&] { ++ticks; });
    QTest::qWait(waitMs);
    return ticks;
}
} // namespace

TEST(PeriodTimer, IntervalOfZeroOrLessNeverFires)
{
    PeriodTimer zero(0);
    zero.SetEnabled(true);
    EXPECT_FALSE(zero.Running());
    EXPECT_EQ(Ticks(zero, 50), 0);

    PeriodTimer negative(-5000);
    negative.SetEnabled(true);
    EXPECT_EQ(Ticks(negative, 30), 0);
    negative.SetInterval(10); // still switched on: a positive interval starts it
    EXPECT_TRUE(negative.Running());
}

TEST(PeriodTimer, SwitchingOnKeepsARunningPeriod)
{
    PeriodTimer timer(60);
    int ticks = 0;
    QObject::connect(&timer, &PeriodTimer::Timeout, [&] { ++ticks; });
    timer.SetEnabled(true);
    // Switching on again every 20 ms must not postpone the tick, as a plain restart would.
    for (int i = 0; i < 6; ++i) {
        QTest::qWait(20);
        timer.SetEnabled(true);
    }
    EXPECT_GE(ticks, 1);

    timer.SetEnabled(false);
    const int before = ticks;
    QTest::qWait(100);
    EXPECT_EQ(ticks, before);
}

TEST(PeriodTimer, HugeIntervalsAreClampedNotWrapped)
{
    PeriodTimer timer(0);
    timer.SetEnabled(true);
    timer.SetInterval(std::int64_t{3'000'000'000});
    EXPECT_TRUE(timer.Running());
    EXPECT_EQ(Ticks(timer, 20), 0);
}
