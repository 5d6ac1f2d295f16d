#pragma once

#include "engine/KeyRepeat.h"

#include <bitset>
#include <cstdint>

namespace vorlix {

// The desktop's key repeat as the X server has it: delay, rate, whether repeat is on, and
// which keys repeat (modifiers do not). Without an X server the X defaults stand.
struct DesktopKeyRepeat {
    KeyRepeat::Timing timing;
    bool enabled = true;
    bool fromServer = false;
    std::bitset<256> repeatingKeys; // by X key code, when fromServer

    static DesktopKeyRepeat Read();
    // Asks the X server to repeat held keys as presses alone. It otherwise sends a release
    // before every repeated press, which Qt does not always mark as a repeat, so it would read
    // as the key going up. Returns whether the server does so.
    static bool SuppressRepeatReleases();
    // Whether a key held down repeats (its Qt key and the X key code of its event).
    bool Repeats(int qtKey, std::uint32_t nativeScanCode) const;
};

} // namespace vorlix
