#include <ctime>

#include "platform/clock/SystemClock.h"

namespace tarvane {

ClockReading SystemClock::now() const {
    // localtime_r, unlike localtime, need not look at the time zone again;
    // asking for it here lets a changed TZ take effect at the next reading.
    tzset();
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    if (seconds == static_cast<std::time_t>(-1) || localtime_r(&seconds, &local) == nullptr) {
        // A made-up midnight or full hour could start an announcement; the
        // last second of the day never does.
        return ClockReading{23, 59, 59};
    }
    // A leap second reads as 60; it is not a second any announcement waits for.
    return ClockReading{local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec};
}

}  // namespace tarvane
