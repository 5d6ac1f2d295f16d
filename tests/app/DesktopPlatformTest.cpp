#include "app/DesktopPlatform.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vorlix;

TEST(DesktopPlatform, XWhereAnXDisplayAnswersWaylandOnlyWithoutOneThePlayersChoiceAlways)
{
    using P = Platform;
    const struct {
        std::vector<const char *> arguments;
        const char *qtPlatform, *display, *waylandDisplay;
        bool xAnswers, waylandPlugin;
        Platform platform;
        bool asksX;
    } rows[] = {
        // An X11 desktop; a Wayland desktop with XWayland, whose DISPLAY is set beside.
        {{}, nullptr, ":0", nullptr, true, true, P::X11, true},
        {{}, nullptr, ":0", "wayland-0", true, true, P::X11, true},
        {{}, "", ":0", "wayland-0", true, true, P::X11, true},
        // A platform the player names stands, and no X server is asked.
        {{}, "wayland", ":0", "wayland-0", true, true, P::LeftToQt, false},
        {{}, "xcb", nullptr, "wayland-0", false, false, P::LeftToQt, false},
        {{"-platform", "wayland"}, nullptr, ":0", "wayland-0", true, true, P::LeftToQt, false},
        {{"--platform", "offscreen"}, nullptr, ":0", nullptr, true, true, P::LeftToQt, false},
        // Qt ignores "-platform" with no name after it.
        {{"-platform"}, nullptr, ":0", "wayland-0", true, true, P::X11, true},
        // No X display, or one that does not answer: Wayland, if Qt can speak it.
        {{}, nullptr, nullptr, "wayland-0", false, true, P::Wayland, false},
        {{}, nullptr, "", "wayland-0", false, true, P::Wayland, false},
        {{}, nullptr, ":9", "wayland-0", false, true, P::Wayland, true},
        {{}, nullptr, nullptr, "wayland-0", false, false, P::WaylandMissing, false},
        // Nothing to choose between: Qt tries and says why it cannot.
        {{}, nullptr, ":9", nullptr, false, true, P::LeftToQt, true},
        {{}, nullptr, ":9", "", false, true, P::LeftToQt, true},
        {{}, nullptr, nullptr, nullptr, false, false, P::LeftToQt, false},
    };
    for (const auto &row : rows) {
        std::vector<const char *> argv{"vorlix"};
        argv.insert(argv.end(), row.arguments.begin(), row.arguments.end());
        bool askedX = false;
        PlatformEnvironment environment;
        environment.qtPlatform = row.qtPlatform;
        environment.display = row.display;
        environment.waylandDisplay = row.waylandDisplay;
        environment.xDisplayAnswers = [&] {
            askedX = true;
            return row.xAnswers;
        };
        environment.waylandPluginInstalled = [&] { return row.waylandPlugin; };
        const auto text = [](const char *value) { return value ? value : "(unset)"; };
        SCOPED_TRACE(testing::Message() << "QT_QPA_PLATFORM " << text(row.qtPlatform) << ", DISPLAY "
                                        << text(row.display) << ", WAYLAND_DISPLAY " << text(row.waylandDisplay)
                                        << ", " << row.arguments.size() << " arguments");
        EXPECT_EQ(ChoosePlatform(static_cast<int>(argv.size()), argv.data(), environment), row.platform);
        EXPECT_EQ(askedX, row.asksX);
    }
}
