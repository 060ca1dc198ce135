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

    // The timer's reaction: reads the clock once and runs the cycle that
    // reading makes due, if any. A tick handled inside a running cycle (its
    // audio collection handles window events) never starts a second one.
    void onTimerTick();
    // Hourly at hh:00:00 with the hourly switch ticked, HalfHour at hh:30:00
    // with the half-hour switch ticked, each only for hours inside the
    // inclusive range of the two hour lists; otherwise nothing. Reads the
    // switches and lists as they are now.
    [[nodiscard]] std::optional<AnnouncementKind> dueAnnouncement(
        const ClockReading& reading) const;
    // Checks the template and settings, replaces the speech session, composes
    // the text for `reading` and speaks it, reporting every outcome in the
    // status bar. Does nothing while another cycle is running.
    void runAnnouncementCycle(AnnouncementKind kind, const ClockReading& reading);

private:
    Toolkit& m_window;
    const Clock& m_clock;
    const SynthesisSettings& m_settings;
    SynthesisRun& m_synthesis;
    AnnouncementText& m_texts;
    // Set for the length of one cycle only; nothing is carried between ticks.
    bool m_cycleRunning = false;
};

}  // namespace tarvane
