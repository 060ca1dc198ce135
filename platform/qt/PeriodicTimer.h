#pragma once

// The window's one-second timer 时钟1: a period in milliseconds, 0 meaning
// disarmed. Runs on a precise timer so its ticks keep their phase instead of
// drifting across second boundaries. A tick that comes while the thread is
// busy is delivered once when it is free again; the missed ones are lost.

#include <QTimer>

#include <functional>

namespace tarvane {

class PeriodicTimer {
public:
    explicit PeriodicTimer(std::function<void()> onTick);

    // A negative period is 0. The current period again changes nothing, so a
    // running count is not restarted. Any other period stops the count and,
    // when above 0, starts it afresh from now.
    void setPeriod(int milliseconds);
    [[nodiscard]] int period() const { return m_period; }
    [[nodiscard]] bool isArmed() const { return m_period > 0; }
    // Milliseconds to the next tick; -1 while disarmed.
    [[nodiscard]] int remainingTime() const { return m_timer.remainingTime(); }

private:
    QTimer m_timer;
    int m_period = 0;
};

}  // namespace tarvane
