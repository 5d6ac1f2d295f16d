#include "ui/HeldKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

namespace vorlix {

std::vector<std::uint32_t> KeysDownNow()
{
    std::vector<std::uint32_t> keys;
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = x11 && QGuiApplication::platformName() == QLatin1String("xcb") ? x11->connection() : nullptr;
    if (!connection)
        return keys;
    xcb_query_keymap_reply_t *reply = xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr);
    if (!reply)
        return keys;
    // One bit per key code; X key codes start at 8.
    for (std::uint32_t code = 8; code < 256; ++code)
        if ((reply->keys[code / 8] >> (code % 8)) & 1)
            keys.push_back(code);
    std::free(reply);
    return keys;
}

HeldKeyGuard::HeldKeyGuard()
{
    qApp->installEventFilter(this);
    // Releases made while no window of ours had the keyboard never reached us: another program
    // had it, or nobody had it for the moment between two of our windows, which Qt does not
    // count as the application losing the keyboard.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *window) {
        if (!window || keys_.empty())
            return;
        const std::vector<std::uint32_t> down = ReadKeysDown ? ReadKeysDown() : std::vector<std::uint32_t>{};
        std::erase_if(keys_, [&down](std::uint32_t key) { return std::find(down.begin(), down.end(), key) == down.end(); });
    });
}

void HeldKeyGuard::Start(std::int64_t quietMs)
{
    quietUntil_ = NowMs() + quietMs;
    keys_ = ReadKeysDown ? ReadKeysDown() : std::vector<std::uint32_t>{};
}

bool HeldKeyGuard::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    auto held = std::find(keys_.begin(), keys_.end(), key->nativeScanCode());
    if (held == keys_.end()) {
        if (type == QEvent::KeyRelease || NowMs() >= quietUntil_)
            return QObject::eventFilter(watched, event);
        held = keys_.insert(keys_.end(), key->nativeScanCode());
    }
    // The desktop's repeats may come as releases too; only the real one ends the hold.
    if (type == QEvent::KeyRelease && !key->isAutoRepeat())
        keys_.erase(held);
    // An accepted override keeps the key from triggering a shortcut; the press is then swallowed.
    event->accept();
    return true;
}

} // namespace vorlix
