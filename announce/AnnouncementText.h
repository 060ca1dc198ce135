#pragma once

// The texts an announcement speaks, in code page 936.

#include "platform/Clock.h"
#include "text/Text.h"

namespace tarvane {

class CodePage;
class HttpClient;
class Toolkit;

// The notice page appended to every hourly text.
[[nodiscard]] Text noticeUrl();

class AnnouncementText {
public:
    AnnouncementText(const Toolkit& window, HttpClient& http, const CodePage& codePage);

    // The template with its time and weather placeholders filled and the
    // notice page appended; fetches the weather, then the notice page.
    [[nodiscard]] Text composeHourlyText(const ClockReading& reading);

private:
    const Toolkit& m_window;
    HttpClient& m_http;
    const CodePage& m_codePage;
};

// "当前时间" hour minute "分", without leading zeros.
[[nodiscard]] Text composeHalfHourText(const ClockReading& reading);

}  // namespace tarvane
