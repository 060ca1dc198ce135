#include "announce/AnnouncementText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "deployment/Deployment.h"
#include "literals/announce_test_literals.h"
#include "platform/codepage/IconvCodePage.h"
#include "tests/fakes/FakeHttpClient.h"
#include "tests/fakes/HeadlessWindow.h"
#include "web/Weather.h"

namespace tarvane {
namespace {

using namespace literals_announce_test;

// The weather service's reply (UTF-8) with today's values 晴, 20 and 11.
constexpr char kSunnyReply[] =
    R"({"HeWeather data service 3.0":[{"daily_forecast":[{"cond":{"code_d":"100",)"
    R"("txt_d":"晴","txt_n":"晴"},"date":"2024-05-01","tmp":{"max":"20","min":"11"}}]}]})";
// The same reply with a time placeholder where the weather words go.
constexpr char kReplyHoldingTime[] =
    R"({"daily_forecast":[{"cond":{"txt_d":"[time]","txt_n":"晴"},"tmp":{"max":"20","min":"11"}}]})";
// "本台通知" as UTF-8: a notice page served in the wrong code page.
constexpr char kUtf8Notice[] = "\xE6\x9C\xAC\xE5\x8F\xB0\xE9\x80\x9A\xE7\x9F\xA5";

// The hourly text with a headless window holding the template and an HTTP
// fake serving the weather reply and the notice page.
class HourlyTextTest : public ::testing::Test {
protected:
    Text compose(const Text& templateText, int hour) {
        EXPECT_TRUE(window.setEditText(templateText));
        return texts.composeHourlyText(ClockReading{hour, 0, 0});
    }
    void serveWeather(std::string_view reply) { http.respondToUrl(weatherUrl(), reply); }
    void serveNotice(std::string_view body) { http.respondToUrl(noticeUrl(), body); }

    HeadlessWindow window;
    FakeHttpClient http;
    IconvCodePage codePage;
    AnnouncementText texts{window, http, codePage};
};

TEST_F(HourlyTextTest, FillsPlaceholdersAndAppendsTheNotice) {
    struct Row {
        const char* name;
        Text templateText;
        int hour;
        std::string weatherReply;  // empty: the service cannot be reached
        std::string notice;        // empty: the page cannot be fetched
        Text expected;
    };
    const std::string notice = kNotice;
    const Text longTemplate(3000, 'a');
    const std::string longNotice(3000, 'b');
    const std::vector<Row> rows = {
        {"both placeholders", kTemplateWithBoth, 8, kSunnyReply, notice, kComposedAtEight + notice},
        {"time placeholder twice: only the first", "[time] [time]", 9, kSunnyReply, notice,
         Text("9") + kHourSuffix + " [time]" + notice},
        {"upper-case time placeholder alone stays", "[TIME]", 9, kSunnyReply, notice,
         "[TIME]" + notice},
        {"mixed case before lower case: the first one goes", "[Time] [time]", 9, kSunnyReply,
         notice, Text("9") + kHourSuffix + " [time]" + notice},
        {"midnight", "[time]", 0, kSunnyReply, notice, Text("0") + kHourSuffix + notice},
        {"last hour of the day", "[time]", 23, kSunnyReply, notice,
         Text("23") + kHourSuffix + notice},
        {"weather placeholder twice: only the first", "[tq][tq]", 9, kSunnyReply, "",
         Text(kSunnySentence) + "[tq]"},
        {"upper-case weather placeholder alone stays", "[TQ]", 9, kSunnyReply, "", "[TQ]"},
        {"weather service unreachable", "[tq]", 9, "", notice, kSentenceWithoutValues + notice},
        {"a time placeholder inside the weather stays", "[tq]", 9, kReplyHoldingTime, "",
         kSentenceHoldingTime},
        {"placeholders inside the notice stay", "[time]", 9, kSunnyReply, "[time][tq]",
         Text("9") + kHourSuffix + "[time][tq]"},
        {"notice in UTF-8 appended undecoded", "[time]", 9, kSunnyReply, kUtf8Notice,
         Text("9") + kHourSuffix + kUtf8Notice},
        {"notice page unreachable", "[time]", 9, kSunnyReply, "", Text("9") + kHourSuffix},
        {"empty template", "", 9, kSunnyReply, notice, notice},
        {"line breaks kept", "[time]\r\n[tq]\r\n", 8, kSunnyReply, notice,
         Text("8") + kHourSuffix + "\r\n" + kSunnySentence + "\r\n" + notice},
        {"nothing shortened", longTemplate, 9, kSunnyReply, longNotice, longTemplate + longNotice},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeHttpClient rowHttp;
        AnnouncementText rowTexts{window, rowHttp, codePage};
        if (!row.weatherReply.empty()) {
            rowHttp.respondToUrl(weatherUrl(), row.weatherReply);
        }
        if (!row.notice.empty()) {
            rowHttp.respondToUrl(noticeUrl(), row.notice);
        }
        ASSERT_TRUE(window.setEditText(row.templateText));
        EXPECT_EQ(rowTexts.composeHourlyText(ClockReading{row.hour, 0, 0}), row.expected);
    }
}

TEST_F(HourlyTextTest, TemplateWithoutPlaceholdersIsFollowedByTheNotice) {
    // The template the window holds at load has neither placeholder.
    const Text atLoad = window.editText();
    ASSERT_FALSE(atLoad.empty());
    serveWeather(kSunnyReply);
    serveNotice(kNotice);
    EXPECT_EQ(texts.composeHourlyText(ClockReading{9, 0, 0}), atLoad + kNotice);
}

TEST_F(HourlyTextTest, NoticeIsCutAtAZeroByte) {
    serveNotice(std::string_view("ab\0cd", 5));
    EXPECT_EQ(compose("x", 9), "xab");
}

TEST_F(HourlyTextTest, AsksForTheWeatherFirstThenTheNoticePage) {
    // Both requests go out even when the template asks for no weather.
    (void)compose("[time]", 9);
    const std::vector<HttpRequest>& requests = http.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_TRUE(requests[0].secure);
    EXPECT_EQ(requests[0].path.rfind("/x3/weather?", 0), 0u) << requests[0].path;

    const HttpRequest& notice = requests[1];
    EXPECT_FALSE(notice.secure);
    EXPECT_EQ(notice.host, toLower(deployment::kNoticeHost));
    EXPECT_EQ(notice.port, 80);
    EXPECT_EQ(notice.path, "/ham_clock.html");
}

TEST(HalfHourTextTest, JoinsHourAndMinuteWithoutLeadingZeros) {
    struct Row {
        int hour;
        Text digits;
    };
    for (const Row& row : std::vector<Row>{{10, "1030"}, {9, "930"}, {0, "030"}, {23, "2330"}}) {
        SCOPED_TRACE(row.digits);
        EXPECT_EQ(composeHalfHourText(ClockReading{row.hour, 30, 0}),
                  kHalfHourLead + row.digits + kHalfHourTail);
    }
}

}  // namespace
}  // namespace tarvane
