#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <vector>

namespace vorlix {

// The X key codes of the keys that are down now, as the X server sees them; none on other
// platforms. Qt gives a key event's X key code as its native scan code.
std::vector<std::uint32_t> KeysDownNow();

// Keys that are already down when a window opens belong to what the player was doing before
// (a held hard drop, the bonus key): they must not type into or press anything in it. From
// Start on, every press of those keys (the desktop's repeats included) and the shortcuts they
// would trigger are swallowed wherever they go, up to and including each key's release. When
// the application gets the keyboard back after losing it, keys released meanwhile are let go.
class HeldKeyGuard : public QObject {
public:
    HeldKeyGuard();

    // Reads the keys down now (through `ReadKeysDown`) and guards them.
    void Start();
    bool Guarding() const { return !keys_.empty(); }

    std::function<std::vector<std::uint32_t>()> ReadKeysDown = KeysDownNow;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Guard(std::vector<std::uint32_t> keys);

    std::vector<std::uint32_t> keys_;
};

} // namespace vorlix
