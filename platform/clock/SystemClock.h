#pragma once

#include "platform/Clock.h"

namespace tarvane {

// The local wall clock of the machine, in whole seconds.
class SystemClock : public Clock {
public:
    // The system time in the local time zone of this moment. Should the
    // system refuse the time, the reading is 23:59:59, which is never due.
    [[nodiscard]] ClockReading now() const override;
};

}  // namespace tarvane
