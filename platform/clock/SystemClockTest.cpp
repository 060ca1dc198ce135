#include "platform/clock/SystemClock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <utility>

namespace tarvane {
namespace {

// Sets TZ for one test and puts the previous value back afterwards.
class TimeZoneGuard {
public:
    explicit TimeZoneGuard(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            m_previous = old;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZoneGuard() {
        if (m_previous) {
            setenv("TZ", m_previous->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    TimeZoneGuard(const TimeZoneGuard&) = delete;
    TimeZoneGuard& operator=(const TimeZoneGuard&) = delete;

private:
    std::optional<std::string> m_previous;
};

int secondsOfDay(const ClockReading& reading) {
    return reading.hour * 3600 + reading.minute * 60 + reading.second;
}

// Two readings taken back to back may straddle a second; a few attempts
// always find a pair inside one second.
template <typename Read>
std::pair<ClockReading, ClockReading> readingsInOneSecond(Read read) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::time_t before = std::time(nullptr);
        auto pair = read();
        if (std::time(nullptr) == before) {
            return pair;
        }
    }
    ADD_FAILURE() << "the clock never stood still for two readings";
    return {};
}

TEST(SystemClockTest, ReadsTheLocalTimeInWholeSeconds) {
    const TimeZoneGuard zone("XYZ-5:30");  // half-hour offset shows minutes are local too
    const SystemClock clock;
    const auto [reading, expected] = readingsInOneSecond([&] {
        const ClockReading ours = clock.now();
        const std::time_t seconds = std::time(nullptr);
        std::tm local{};
        localtime_r(&seconds, &local);
        return std::pair{ours, ClockReading{local.tm_hour, local.tm_min, local.tm_sec}};
    });
    EXPECT_EQ(reading, expected);
}

TEST(SystemClockTest, FollowsTheTimeZoneNotUniversalTime) {
    const SystemClock clock;
    const auto [utc, east] = readingsInOneSecond([&] {
        ClockReading inUtc;
        {
            const TimeZoneGuard zone("UTC0");
            inUtc = clock.now();
        }
        const TimeZoneGuard zone("XYZ-8");
        return std::pair{inUtc, clock.now()};
    });
    EXPECT_EQ((secondsOfDay(east) - secondsOfDay(utc) + 86400) % 86400, 8 * 3600);
}

}  // namespace
}  // namespace tarvane
