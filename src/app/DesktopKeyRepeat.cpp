#include "app/DesktopKeyRepeat.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

// Last: Xlib defines macros (KeyPress, None, Bool ...) that would clash with Qt's names.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace vorlix {

namespace {
Display *XDisplay()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}
} // namespace

bool DesktopKeyRepeat::SuppressRepeatReleases()
{
    Display *display = XDisplay();
    Bool supported = False;
    return display && XkbSetDetectableAutoRepeat(display, True, &supported) && supported;
}

DesktopKeyRepeat DesktopKeyRepeat::Read()
{
    DesktopKeyRepeat desktop;
    Display *display = XDisplay();
    if (!display)
        return desktop;
    unsigned int delay = 0;
    unsigned int interval = 0;
    if (XkbGetAutoRepeatRate(display, XkbUseCoreKbd, &delay, &interval) && interval > 0) {
        desktop.timing.DelayMs = delay;
        desktop.timing.IntervalMs = interval;
    }
    XKeyboardState state{};
    XGetKeyboardControl(display, &state);
    desktop.enabled = state.global_auto_repeat == AutoRepeatModeOn;
    for (std::size_t code = 0; code < desktop.repeatingKeys.size(); ++code)
        desktop.repeatingKeys[code] = (static_cast<unsigned char>(state.auto_repeats[code / 8]) >> (code % 8)) & 1;
    desktop.fromServer = true;
    return desktop;
}

bool DesktopKeyRepeat::Repeats(int qtKey, std::uint32_t nativeScanCode) const
{
    if (!enabled)
        return false;
    if (fromServer && nativeScanCode > 0 && nativeScanCode < repeatingKeys.size())
        return repeatingKeys[nativeScanCode];
    switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
        return false;
    default:
        return true;
    }
}

} // namespace vorlix
