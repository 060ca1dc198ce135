#pragma once

#include "platform/Clock.h"

namespace tarvane {

// A wall clock that tests set and advance by hand.
class FakeClock : public Clock {
public:
    explicit FakeClock(ClockReading reading = {}) : m_reading(reading) {}

    [[nodiscard]] ClockReading now() const override {
        ++m_readings;
        return m_reading;
    }
    void set(ClockReading reading) { m_reading = reading; }
    // Advances one second, wrapping past midnight.
    void advanceSecond();
    [[nodiscard]] int readingCount() const { return m_readings; }

private:
    ClockReading m_reading;
    mutable int m_readings = 0;
};

}  // namespace tarvane
