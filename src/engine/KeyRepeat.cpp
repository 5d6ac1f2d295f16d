#include "engine/KeyRepeat.h"

#include "engine/Game.h"

#include <algorithm>

namespace vorlix {

void KeyRepeat::Press(std::int32_t key, std::int64_t now, bool repeats)
{
    // No release came between: this is the X server repeating the key, which the game's own
    // repeat stands in for.
    if (std::any_of(held_.begin(), held_.end(), [key](const HeldKey &h) { return h.key == key; }))
        return;
    // The state is complete before the pass: it lets events run, and nested presses,
    // releases and repeats must find it so.
    if (repeats)
        held_.push_back({key, now});
    // A press is a pass too: the stream's next repeat keeps its distance from it.
    lastPass_ = now;
    game_.FormKeyDown(key);
}

void KeyRepeat::Release(std::int32_t key)
{
    std::erase_if(held_, [key](const HeldKey &h) { return h.key == key; });
    game_.FormKeyUp(key);
}

std::optional<std::int64_t> KeyRepeat::NextRepeat() const
{
    if (held_.empty() || timing_.IntervalMs <= 0)
        return std::nullopt;
    // The first key held went down first. A negative delay needs no care: the last pass came
    // after that press.
    return std::max(lastPass_ + timing_.IntervalMs, held_.front().since + timing_.DelayMs);
}

void KeyRepeat::Tick(std::int64_t now)
{
    const std::optional<std::int64_t> due = NextRepeat();
    if (!due || now < *due)
        return;
    std::vector<std::int32_t> keys;
    for (const HeldKey &h : held_)
        if (now - h.since >= timing_.DelayMs)
            keys.push_back(h.key);
    // A late repeat keeps the cadence, unless it is late by a whole interval: never a burst.
    lastPass_ = now - *due < timing_.IntervalMs ? *due : now;
    game_.FormKeyRepeat(keys);
}

} // namespace vorlix
