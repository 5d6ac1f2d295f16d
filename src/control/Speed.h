#pragma once

#include <cstdint>

namespace vorlix {

// Timer1's interval at New Game for each difficulty, in the order Easy, Medium, Hard.
inline constexpr std::uint32_t StartingFallIntervals[] = {1000, 700, 500};

// One level's shortening: four fifths, dividing first, while above 10 ms (so it settles at 8).
constexpr std::uint32_t ShortenedFallInterval(std::uint32_t milliseconds)
{
    return milliseconds > 10 ? milliseconds / 5 * 4 : milliseconds;
}

// LevelChangeTime seconds in ms, computed in 64 bits and clamped to INT32_MAX; <= 0 never fires.
std::int64_t LevelPeriodMilliseconds(std::int32_t levelChangeTime);

} // namespace vorlix
