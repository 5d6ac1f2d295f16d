#include "control/Speed.h"

#include <algorithm>
#include <limits>

namespace vorlix {

std::optional<std::uint32_t> StartingFallInterval(const std::string &difficulty)
{
    if (difficulty == "Easy")
        return 1000;
    if (difficulty == "Medium")
        return 700;
    if (difficulty == "Hard")
        return 500;
    return std::nullopt;
}

std::int64_t LevelPeriodMilliseconds(std::int32_t levelChangeTime)
{
    return std::min<std::int64_t>(std::int64_t{levelChangeTime} * 1000,
                                  std::numeric_limits<std::int32_t>::max());
}

} // namespace vorlix
