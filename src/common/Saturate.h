#pragma once

#include <cstdint>
#include <limits>

namespace vorlix {

// Counters and scores are 32-bit in the game state but any configured value may be added to
// them; the sum is taken in 64 bits and pinned to the 32-bit range instead of wrapping.
constexpr std::int32_t SaturateToInt32(std::int64_t value)
{
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value < lo ? lo : value > hi ? hi : value);
}

constexpr std::int32_t SaturatingAdd(std::int32_t a, std::int64_t b)
{
    return SaturateToInt32(static_cast<std::int64_t>(a) + b);
}

} // namespace vorlix
