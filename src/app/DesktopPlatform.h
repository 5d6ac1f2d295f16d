#pragma once

#include <functional>

namespace vorlix {

// The Qt platform the game asks for. It is an X11 program: where an X display answers
// (an X11 desktop, or XWayland on a Wayland one) it runs there, so the desktop's key repeat,
// window placement and frame hints reach it.
enum class Platform {
    LeftToQt,       // the player named one, or there is no display to choose between
    X11,            // "xcb"
    Wayland,        // no X display answers, a Wayland one is there
    WaylandMissing, // ... but Qt's Wayland plugin is not installed
};

struct PlatformEnvironment {
    const char *qtPlatform = nullptr;     // QT_QPA_PLATFORM
    const char *display = nullptr;        // DISPLAY
    const char *waylandDisplay = nullptr; // WAYLAND_DISPLAY
    // Asked only when the answer decides: a connection starts the XWayland that a desktop
    // keeps for when an X client comes.
    std::function<bool()> xDisplayAnswers;
    std::function<bool()> waylandPluginInstalled;
};

Platform ChoosePlatform(int argc, const char *const *argv, const PlatformEnvironment &environment);

// Chooses from the real environment and sets QT_QPA_PLATFORM for the application object
// that follows. False, with a message on stderr, when the game has nothing to show on.
bool UseDesktopPlatform(int argc, const char *const *argv);

} // namespace vorlix
