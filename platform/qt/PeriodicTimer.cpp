#include "platform/qt/PeriodicTimer.h"

#include <algorithm>

namespace tarvane {

PeriodicTimer::PeriodicTimer(std::function<void()> onTick) {
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [tick = std::move(onTick)] { tick(); });
}

void PeriodicTimer::setPeriod(int milliseconds) {
    const int period = std::max(milliseconds, 0);
    if (period == m_period) {
        return;
    }
    m_timer.stop();
    m_period = period;
    if (m_period > 0) {
        m_timer.start(m_period);
    }
}

}  // namespace tarvane
