#include "announce/AnnouncementText.h"

#include "deployment/Deployment.h"
#include "literals/announce_literals.h"
#include "platform/Toolkit.h"
#include "web/HttpFetch.h"
#include "web/Weather.h"

namespace tarvane {

namespace {

constexpr char kTimePlaceholder[] = "[time]";
constexpr char kWeatherPlaceholder[] = "[tq]";

// The placeholder is only looked for in its lower-case spelling, but once it
// is there the first occurrence in any letter case is the one filled in: a
// template "[Time] ... [time]" gets "[Time]" replaced and keeps "[time]".
Text fillFirstPlaceholder(const Text& text, const char* placeholder, const Text& value) {
    if (find(text, placeholder) == kNotFound) {
        return text;
    }
    return replace(text, placeholder, value, 1, 1, CaseRule::IgnoreAsciiCase);
}

}  // namespace

Text noticeUrl() {
    return Text("http://") + deployment::kNoticeHost + "/ham_clock.html";
}

AnnouncementText::AnnouncementText(const Toolkit& window, HttpClient& http,
                                   const CodePage& codePage)
    : m_window(window), m_http(http), m_codePage(codePage) {}

Text AnnouncementText::composeHourlyText(const ClockReading& reading) {
    using namespace literals_announce;
    // The time goes in before the weather sentence exists, so a "[time]"
    // inside the weather reply is never touched.
    Text text = fillFirstPlaceholder(m_window.editText(), kTimePlaceholder,
                                     integerToText(reading.hour) + kHourPhraseSuffix);
    // Both requests are made for every hourly text, weather first, whether
    // or not the template asks for the weather.
    const Text weather = weatherSentence(m_http, m_codePage);
    const Text notice = fetchText(m_http, noticeUrl());
    text = fillFirstPlaceholder(text, kWeatherPlaceholder, weather);
    // The notice goes last and as it came, so placeholders in it stay as
    // they are.
    return text + notice;
}

Text composeHalfHourText(const ClockReading& reading) {
    using namespace literals_announce;
    return kHalfHourPrefix + integerToText(reading.hour) + integerToText(reading.minute) +
           kHalfHourSuffix;
}

}  // namespace tarvane
