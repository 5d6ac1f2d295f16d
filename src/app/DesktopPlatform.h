#pragma once

namespace vorlix {

// The game is an X11 program: where an X display answers (an X11 desktop, or XWayland on a
// Wayland one) it runs there, so the desktop's key repeat, window placement and frame hints
// reach it; natively on Wayland only where no X display answers. Unless the player names a
// platform, sets Qt's own fallback list for the application object that follows. False, with
// a message on stderr, when only Wayland is there and Qt cannot speak it.
bool UseDesktopPlatform(int argc, const char *const *argv);

} // namespace vorlix
