#include "tests/fakes/FakeClock.h"

namespace tarvane {

void FakeClock::advanceSecond() {
    if (++m_reading.second < 60) {
        return;
    }
    m_reading.second = 0;
    if (++m_reading.minute < 60) {
        return;
    }
    m_reading.minute = 0;
    m_reading.hour = (m_reading.hour + 1) % 24;
}

}  // namespace tarvane
