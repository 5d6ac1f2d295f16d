#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace vorlix {

// Counters and scores are 32-bit in the game state but any configured value may be added to
// them; the sum is taken in 64 bits and pinned to the 32-bit range instead of wrapping.
constexpr std::int32_t SaturateToInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

constexpr std::int32_t SaturatingAdd(std::int32_t a, std::int64_t b)
{
    return SaturateToInt32(static_cast<std::int64_t>(a) + b);
}

} // namespace vorlix
