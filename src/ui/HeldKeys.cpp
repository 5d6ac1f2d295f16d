#include "ui/HeldKeys.h"

#include <QApplication>
#include <QKeyEvent>

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
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive || keys_.empty())
            return;
        // Releases made while another program had the keyboard never reached us.
        const std::vector<std::uint32_t> down = ReadKeysDown ? ReadKeysDown() : std::vector<std::uint32_t>{};
        std::vector<std::uint32_t> still;
        for (const std::uint32_t key : keys_)
            if (std::find(down.begin(), down.end(), key) != down.end())
                still.push_back(key);
        Guard(std::move(still));
    });
}

void HeldKeyGuard::Start() { Guard(ReadKeysDown ? ReadKeysDown() : std::vector<std::uint32_t>{}); }

void HeldKeyGuard::Guard(std::vector<std::uint32_t> keys)
{
    const bool was = Guarding();
    keys_ = std::move(keys);
    if (Guarding() && !was)
        qApp->installEventFilter(this);
    else if (!Guarding() && was)
        qApp->removeEventFilter(this);
}

bool HeldKeyGuard::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const auto held = std::find(keys_.begin(), keys_.end(), key->nativeScanCode());
    if (held == keys_.end())
        return QObject::eventFilter(watched, event);
    // The desktop's repeats may come as releases too; only the real one ends the hold.
    if (type == QEvent::KeyRelease && !key->isAutoRepeat()) {
        std::vector<std::uint32_t> rest = keys_;
        rest.erase(rest.begin() + (held - keys_.begin()));
        Guard(std::move(rest));
    }
    // An accepted override keeps the key from triggering a shortcut; the press is then swallowed.
    event->accept();
    return true;
}

} // namespace vorlix
