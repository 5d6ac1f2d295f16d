#include "app/MainMenu.h"
#include "app/PeriodTimer.h"

#include <QElapsedTimer>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vorlix;

namespace {

// One line per item, in menu order, indented by depth: "caption|shortcut|check|off".
void Describe(const QList<QAction *> &actions, int depth, std::vector<std::string> &out)
{
    for (QAction *a : actions) {
        std::string line(static_cast<std::size_t>(2 * depth), ' ');
        if (a->isSeparator()) {
            out.push_back(line + "---");
            continue;
        }
        line += a->text().toStdString() + "|" + a->shortcut().toString().toStdString() + "|" +
                (a->isCheckable() ? "check" : "") + "|" + (a->isEnabled() ? "" : "off");
        out.push_back(line);
        if (a->menu())
            Describe(a->menu()->actions(), depth + 1, out);
    }
}

// The menu bar as built, before the window applies the settings (which then also switch
// Sound and Music off for good).
TEST(MainMenu, CaptionsShortcutsAndInitialStates)
{
    QMenuBar bar;
    MainMenu menu;
    menu.Build(&bar);
    std::vector<std::string> items;
    Describe(bar.actions(), 0, items);
    const std::vector<std::string> expected = {
        "&Game|||",
        "  &New Game|F2||",
        "  &Pause |||off",
        "  &Stop Game|||off",
        "  ---",
        "  &High Scores|Ctrl+H||",
        "  ---",
        "  E&xit|Ctrl+X||",
        "&Options|||",
        "  &Difficulty|||",
        "    &Easy||check|",
        "    &Medium||check|",
        "    &Hard||check|",
        "  &Players|||",
        "    &One Player||check|",
        "    &Two Players||check|",
        "  &Mode|||",
        "    &Points||check|",
        "    &Aggressive||check|",
        "  ---",
        "  &Settings|Ctrl+S||",
        "  ---",
        "  &Full Screen||check|off",
        "  Piece P&review||check|",
        "  &Sound||check|",
        "  M&usic||check|",
        "&Help|||",
        "  &About|||",
        "  &How to Play|||off",
    };
    EXPECT_EQ(items, expected);
    for (QAction *a : {menu.Easy, menu.Medium, menu.Hard, menu.mnuOnePlayer, menu.mnuTwoPlayers, menu.mnuPoints,
                       menu.mnuAgressive, menu.PiecePreview, menu.mnuSound, menu.mnuMusic, menu.mnuFullScreen})
        EXPECT_FALSE(a->isChecked()) << a->text().toStdString();
}

// The timer rule is a table in the engine tests; this is its one run in real time. Nothing but
// the timer itself starts its next period: switching on again while it runs postpones no
// tick, and no tick comes before its period is over, nor with an interval of 0.
TEST(PeriodTimer, TicksEveryPeriodAndNeverAtZero)
{
    constexpr int period = 20;
    PeriodTimer timer(period);
    QElapsedTimer clock;
    std::vector<qint64> ticks;
    QObject::connect(&timer, &PeriodTimer::Timeout, [&] { ticks.push_back(clock.elapsed()); });
    QTimer again; // a restart at every half period would never let a tick come
    QObject::connect(&again, &QTimer::timeout, [&] { timer.SetEnabled(true); });
    clock.start();
    timer.SetEnabled(true);
    again.start(period / 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks.size() >= 4; }, 5000)) << ticks.size() << " ticks";
    again.stop();
    for (std::size_t i = 0; i < ticks.size(); ++i)
        EXPECT_GE(ticks[i], period * static_cast<qint64>(i + 1) - 2) << "tick " << i;

    timer.SetInterval(0); // on, but 0 never fires, as off never does
    const std::size_t before = ticks.size();
    QTest::qWait(3 * period);
    EXPECT_EQ(ticks.size(), before);
}

} // namespace
