#pragma once

// The once-a-second scheduler: decides whether an announcement is due and
// runs one announcement cycle inside the tick.

#include <optional>

#include "announce/AnnouncementKind.h"
#include "platform/Clock.h"

namespace tarvane {

class AnnouncementText;
class SynthesisRun;
class SynthesisSettings;
class Toolkit;

class Scheduler {
public:
    Scheduler(Toolkit& window, const Clock& clock, const SynthesisSettings& settings,
              SynthesisRun& synthesis, AnnouncementText& texts);

    void onTimerTick();
    [[nodiscard]] std::optional<AnnouncementKind> dueAnnouncement(
        const ClockReading& reading) const;
    void runAnnouncementCycle(AnnouncementKind kind, const ClockReading& reading);

private:
    Toolkit& m_window;
    const Clock& m_clock;
    const SynthesisSettings& m_settings;
    SynthesisRun& m_synthesis;
    AnnouncementText& m_texts;
};

}  // namespace tarvane
