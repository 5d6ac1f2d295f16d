#pragma once

#include <QDeadlineTimer>
#include <QObject>

#include <cstdint>
#include <functional>
#include <vector>

namespace vorlix {

// The X key codes of the keys that are down now, as the X server sees them; none on other
// platforms. Qt gives a key event's X key code as its native scan code.
std::vector<std::uint32_t> KeysDownNow();

// Keys that are already down when a window opens, and keys pressed in its first moments,
// belong to what the player was doing before (a held hard drop, the bonus key, a drop tapped
// once more): they must not type into or press anything in it. From Start on, every press of
// those keys (the desktop's repeats included) and the shortcuts they would trigger are
// swallowed wherever they go, up to and including each key's release. Whenever one of the
// program's windows gets the keyboard, keys released meanwhile (elsewhere) are let go.
class HeldKeyGuard : public QObject {
public:
    HeldKeyGuard();

    // Reads the keys down now (through `ReadKeysDown`) and guards them, and every key that goes
    // down in the next `quietMs` milliseconds.
    void Start(std::int64_t quietMs);

    std::function<std::vector<std::uint32_t>()> ReadKeysDown = KeysDownNow;
    std::function<std::int64_t()> NowMs = [] { return QDeadlineTimer::current().deadline(); };

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::vector<std::uint32_t> keys_;
    std::int64_t quietUntil_ = 0;
};

} // namespace vorlix
