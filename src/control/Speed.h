#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vorlix {

// Timer1's interval at New Game for "Easy", "Medium", "Hard"; none for any other text (the
// interval then stays as the previous game left it).
std::optional<std::uint32_t> StartingFallInterval(const std::string &difficulty);

// One level's shortening: four fifths, dividing first, while above 10 ms (so it settles at 8).
constexpr std::uint32_t ShortenedFallInterval(std::uint32_t milliseconds)
{
    return milliseconds > 10 ? milliseconds / 5 * 4 : milliseconds;
}

// LevelChangeTime seconds in ms, computed in 64 bits and clamped to INT32_MAX; <= 0 never fires.
std::int64_t LevelPeriodMilliseconds(std::int32_t levelChangeTime);

} // namespace vorlix
