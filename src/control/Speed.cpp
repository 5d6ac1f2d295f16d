#include "control/Speed.h"

#include <algorithm>
#include <limits>

namespace vorlix {

std::int64_t LevelPeriodMilliseconds(std::int32_t levelChangeTime)
{
    return std::min<std::int64_t>(std::int64_t{levelChangeTime} * 1000,
                                  std::numeric_limits<std::int32_t>::max());
}

} // namespace vorlix
