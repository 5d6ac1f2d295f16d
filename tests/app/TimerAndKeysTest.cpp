#include "app/PeriodTimer.h"
#include "ui/KeyTranslation.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

using namespace vorlix;

TEST(KeyTranslation, MapsQtKeysToTheGameCodesOrToNone)
{
    const struct {
        int qtKey;
        std::optional<std::int32_t> code;
    } cases[] = {
        {Qt::Key_Escape, 0x1000},
        {Qt::Key_Right, 0x1014},
        {Qt::Key_Shift, 0x1020},
        {Qt::Key_F2, 0x1031},
        {0x01000FFF, 0x1FFF},
        {Qt::Key_A, 0x41},
        {Qt::Key_Space, 0x20},
        {0xE4, 0xE4},   // a letter of a national layout
        {0x0FFF, 0x0FFF},
        // Letters from U+1000 up would read as special keys: U+1000 as Escape, U+1012 as Left.
        {0x1000, std::nullopt},
        {0x1012, std::nullopt},
        {0xFFFF, std::nullopt},
        {0x10000, std::nullopt}, // would wrap to 0
        // Keys Qt cannot map would all be one key.
        {Qt::Key_unknown, std::nullopt},
        {Qt::Key_AltGr, std::nullopt},
        {Qt::Key_Dead_Acute, std::nullopt},
        {0, std::nullopt},
        {-1, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TranslateKey(c.qtKey), c.code) << std::hex << c.qtKey;
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
