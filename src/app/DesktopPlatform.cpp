#include "app/DesktopPlatform.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <xcb/xcb.h>

namespace vorlix {

namespace {

bool Set(const char *value)
{
    return value && *value;
}

// Qt reads "-platform NAME" and "--platform NAME", and only with a name after it.
bool PlatformArgument(int argc, const char *const *argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-platform" || argument == "--platform")
            return true;
    }
    return false;
}

bool XDisplayAnswers(const char *display)
{
    xcb_connection_t *connection = xcb_connect(display, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

// Where Qt looks for platform plugins: its library paths (the install's plugin folder and
// QT_PLUGIN_PATH), then QT_QPA_PLATFORM_PLUGIN_PATH.
bool WaylandPluginInstalled()
{
    QStringList folders;
    for (const QString &path : QCoreApplication::libraryPaths())
        folders << path + QStringLiteral("/platforms");
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM_PLUGIN_PATH"))
        folders << qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH");
    for (const QString &folder : folders)
        if (!QDir(folder).entryList({QStringLiteral("libqwayland*")}, QDir::Files).isEmpty())
            return true;
    return false;
}

} // namespace

bool UseDesktopPlatform(int argc, const char *const *argv)
{
    const char *display = std::getenv("DISPLAY");
    if (Set(std::getenv("QT_QPA_PLATFORM")) || PlatformArgument(argc, argv))
        return true;
    qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    // Qt would abort with a list of its plugins; say what the player can do instead. The X
    // display is asked only then: a connection starts the XWayland a desktop keeps for X clients.
    if (!Set(std::getenv("WAYLAND_DISPLAY")) || WaylandPluginInstalled() || (Set(display) && XDisplayAnswers(display)))
        return true;
    const std::string noX = Set(display) ? "the X display " + std::string(display) + " does not answer"
                                         : std::string("there is no X display (DISPLAY is not set)");
    std::fprintf(stderr,
                 "Vorlix cannot start: %s, and Qt's Wayland platform plugin is not installed.\n"
                 "Install it (Debian package qt6-wayland), or start Vorlix where an X display "
                 "or XWayland runs.\n",
                 noX.c_str());
    return false;
}

} // namespace vorlix
