#pragma once

namespace tarvane {

// One reading of the local wall clock at whole-second resolution.
struct ClockReading {
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;  // 0..59

    friend bool operator==(const ClockReading&, const ClockReading&) = default;
};

class Clock {
public:
    virtual ~Clock() = default;
    [[nodiscard]] virtual ClockReading now() const = 0;
};

}  // namespace tarvane
