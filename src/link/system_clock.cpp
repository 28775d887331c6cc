#include "link/clock.h"

#include <ctime>

LocalDateTime SystemClock::Now() const {
    // time() already drops the fraction of the second: truncated, not rounded.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                         local.tm_hour,        local.tm_min,     local.tm_sec};
}
