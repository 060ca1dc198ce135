#include "announce/Scheduler.h"

#include "announce/AnnouncementText.h"
#include "app/SynthesisSettings.h"
#include "literals/announce_literals.h"
#include "platform/Toolkit.h"
#include "speech/SynthesisRun.h"

namespace tarvane {

namespace {

// Marks a cycle as running for as long as the guard lives.
class CycleGuard {
public:
    explicit CycleGuard(bool& running) : m_running(running) { m_running = true; }
    ~CycleGuard() { m_running = false; }
    CycleGuard(const CycleGuard&) = delete;
    CycleGuard& operator=(const CycleGuard&) = delete;

private:
    bool& m_running;
};

}  // namespace

Scheduler::Scheduler(Toolkit& window, const Clock& clock, const SynthesisSettings& settings,
                     SynthesisRun& synthesis, AnnouncementText& texts)
    : m_window(window),
      m_clock(clock),
      m_settings(settings),
      m_synthesis(synthesis),
      m_texts(texts) {}

void Scheduler::onTimerTick() {
    // Every test and every text of this tick uses this one reading.
    const ClockReading reading = m_clock.now();
    if (const auto kind = dueAnnouncement(reading)) {
        runAnnouncementCycle(*kind, reading);
    }
}

std::optional<AnnouncementKind> Scheduler::dueAnnouncement(const ClockReading& reading) const {
    // The controls are read lazily, in the order of each test, and the range
    // never wraps past midnight: a first hour above the last means never.
    const auto inRange = [&] {
        return reading.hour >= m_settings.firstHour() && reading.hour <= m_settings.lastHour();
    };
    if (reading.minute == 0 && reading.second == 0 &&
        m_window.isTicked(ControlName::选择框_整点报时) && inRange()) {
        return AnnouncementKind::Hourly;
    }
    if (m_window.isTicked(ControlName::选择框_半点报时) && reading.minute == 30 &&
        reading.second == 0 && inRange()) {
        return AnnouncementKind::HalfHour;
    }
    return std::nullopt;
}

void Scheduler::runAnnouncementCycle(AnnouncementKind kind, const ClockReading& reading) {
    using namespace literals_announce;
    // A second cycle begun from a tick handled during this one's audio
    // collection would end the session this one is still reading from.
    if (m_cycleRunning) {
        return;
    }
    const CycleGuard guard(m_cycleRunning);

    // Only a warning: the half-hour text does not use the template, and an
    // hourly one still carries the weather and the notice.
    if (removeAllBlanks(m_window.editText()).empty()) {
        m_window.setStatusText(kEmptyTemplate);
    }
    if (!m_settings.isSynthesisComplete()) {
        m_window.setStatusText(kIncompleteSettings);
        return;
    }
    if (!m_synthesis.beginSession()) {
        m_window.setStatusText(kSessionBeginFailed);
        return;
    }
    const Text text = kind == AnnouncementKind::Hourly ? m_texts.composeHourlyText(reading)
                                                       : composeHalfHourText(reading);
    m_synthesis.speakText(text);
}

}  // namespace tarvane
