#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace vorlix {

class Game;

// The game's own repeat of held keys; times are milliseconds of a steady clock, passed in.
//
// The X server repeats only the key pressed last, so a key held while another one goes down
// and up would stop acting. Here every held key keeps acting until its release. A held key
// joins the repeats once it has been down for the delay; the repeats of all such keys form one
// stream at the desktop's rate, never closer together than its interval, so two held keys move
// a piece no faster than one. Each repeat re-applies the key-down of every key in the stream
// (a held turn or hard-drop key acts again) and then runs one pass of the play loop.
class KeyRepeat {
public:
    struct Timing {
        std::int64_t DelayMs = 660;   // the X server's defaults
        std::int64_t IntervalMs = 40; // 25 per second
    };

    explicit KeyRepeat(Game &game) : game_(game) {}

    void SetTiming(const Timing &timing) { timing_ = timing; }
    const Timing &CurrentTiming() const { return timing_; }

    // A key going down: its key-down and pass act at once, and a key the desktop repeats goes
    // on acting after the delay. A press of a key held since an earlier press, with no release
    // between, is the X server's repeat of it and does nothing.
    void Press(std::int32_t key, std::int64_t now, bool repeats = true);
    // A key going up: it stops repeating and its flags are cleared.
    void Release(std::int32_t key);
    // The releases of the held keys will not reach the game (focus lost, a menu opened).
    void Forget() { held_.clear(); }

    // When the next repeat is due; none while no repeating key is held.
    std::optional<std::int64_t> NextRepeat() const;
    // Runs the repeat that is due at `now`, if one is.
    void Tick(std::int64_t now);

private:
    struct HeldKey {
        std::int32_t key;
        std::int64_t since;
    };

    Game &game_;
    Timing timing_;
    std::vector<HeldKey> held_; // in the order they went down
    std::int64_t lastPass_ = 0; // the last press or repeat
};

} // namespace vorlix
