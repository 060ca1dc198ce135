#include "announce/Scheduler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "announce/AnnouncementText.h"
#include "app/SynthesisSettings.h"
#include "literals/announce_test_literals.h"
#include "platform/codepage/IconvCodePage.h"
#include "speech/SpeechOutput.h"
#include "speech/SynthesisRun.h"
#include "tests/fakes/FakeClock.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/FakeHttpClient.h"
#include "tests/fakes/FakeSpeechSdk.h"
#include "tests/fakes/HeadlessWindow.h"
#include "tests/fakes/RecordingAudioOutput.h"
#include "tests/fakes/SpeechRig.h"
#include "web/Weather.h"

namespace tarvane {
namespace {

using namespace literals_announce_test;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr std::optional<AnnouncementKind> kNothing = std::nullopt;
constexpr std::optional<AnnouncementKind> kHourly = AnnouncementKind::Hourly;
constexpr std::optional<AnnouncementKind> kHalfHour = AnnouncementKind::HalfHour;

constexpr char kSunnyReply[] =
    R"({"daily_forecast":[{"cond":{"txt_d":"晴","txt_n":"晴"},"tmp":{"max":"20","min":"11"}}]})";

enum class Switches { HourlyOnly, HalfHourOnly, Both, Neither };

AudioPoll lastChunk() {
    return {Bytes{1, 2, 3, 4}, 4, kAudioStatusComplete, 0};
}

AudioPoll chunk() {
    return {Bytes{5, 6}, 2, 1, 0};
}

// The whole announcement machinery with the default settings, wired to a
// headless window, a clock the test sets, a scripted speech library and an
// HTTP fake serving the weather and the notice page. The speech run keeps
// its own time, which moves one second per poll, so a library left without
// a script gives up quickly instead of holding the test.
class SchedulerTest : public ::testing::Test, protected SpeechRig {
protected:
    SchedulerTest() {
        settings.fillOptionLists();
        sdk.onAudioGet([this] { speechTime += std::chrono::seconds(1); });
        http.respondToUrl(weatherUrl(), kSunnyReply);
        http.respondToUrl(noticeUrl(), kNotice);
    }

    void setSwitches(Switches switches) {
        window.setTicked(ControlName::选择框_整点报时,
                         switches == Switches::HourlyOnly || switches == Switches::Both);
        window.setTicked(ControlName::选择框_半点报时,
                         switches == Switches::HalfHourOnly || switches == Switches::Both);
    }
    void setHours(int first, int last) {
        window.optionList(ControlName::组合框_开始时间).select(first);
        window.optionList(ControlName::组合框_结束时间).select(last);
    }
    void tickAt(ClockReading reading) {
        clock.set(reading);
        scheduler.onTimerTick();
    }
    // Status texts written since `from` texts had been written.
    std::vector<Text> statusesSince(std::size_t from) const {
        const std::vector<Text>& all = window.statusTexts();
        return {all.begin() + static_cast<std::ptrdiff_t>(from), all.end()};
    }
    // The texts put to the library, in order.
    std::vector<Text> textsPut() const {
        std::vector<Text> texts;
        for (const SdkCall& call : sdk.callsTo("QTTSTextPut")) {
            texts.push_back(call.arguments[1].value_or(""));
        }
        return texts;
    }

    SynthesisRun::SteadyClock::time_point speechTime{};
    SynthesisRun run{
        sdk, window, settings, output,
        SynthesisRun::Timing{SynthesisRun::kSilenceLimit, [this] { return speechTime; }}};
    FakeHttpClient http;
    IconvCodePage codePage;
    AnnouncementText texts{window, http, codePage};
    FakeClock clock;
    Scheduler scheduler{window, clock, settings, run, texts};
};

// ---- When an announcement is due ----

TEST_F(SchedulerTest, DueAnnouncementByReadingSwitchesAndRange) {
    struct Row {
        Switches switches;
        int first;
        int last;
        ClockReading reading;
        std::optional<AnnouncementKind> expected;
    };
    const std::vector<Row> rows = {
        // The defaults: hours 0 to 11.
        {Switches::HourlyOnly, 0, 11, {0, 0, 0}, kHourly},
        {Switches::HourlyOnly, 0, 11, {11, 0, 0}, kHourly},
        {Switches::HourlyOnly, 0, 11, {12, 0, 0}, kNothing},
        {Switches::HourlyOnly, 0, 11, {11, 30, 0}, kNothing},
        {Switches::Both, 0, 11, {11, 30, 0}, kHalfHour},
        {Switches::Both, 0, 11, {0, 30, 0}, kHalfHour},
        {Switches::Both, 0, 11, {12, 30, 0}, kNothing},
        {Switches::Both, 0, 11, {23, 0, 0}, kNothing},
        // Only second 0 counts.
        {Switches::Both, 0, 11, {10, 0, 1}, kNothing},
        {Switches::Both, 0, 11, {10, 30, 59}, kNothing},
        {Switches::Both, 0, 11, {10, 0, 59}, kNothing},
        {Switches::Both, 0, 11, {10, 15, 0}, kNothing},
        {Switches::Both, 0, 11, {10, 59, 0}, kNothing},
        // Each switch alone, regardless of the other.
        {Switches::HourlyOnly, 0, 11, {10, 0, 0}, kHourly},
        {Switches::HourlyOnly, 0, 11, {10, 30, 0}, kNothing},
        {Switches::HalfHourOnly, 0, 11, {10, 0, 0}, kNothing},
        {Switches::HalfHourOnly, 0, 11, {10, 30, 0}, kHalfHour},
        {Switches::Neither, 0, 11, {10, 0, 0}, kNothing},
        {Switches::Neither, 0, 11, {10, 30, 0}, kNothing},
        // First hour equal to the last: that hour only.
        {Switches::Both, 7, 7, {7, 0, 0}, kHourly},
        {Switches::Both, 7, 7, {7, 30, 0}, kHalfHour},
        {Switches::Both, 7, 7, {6, 30, 0}, kNothing},
        {Switches::Both, 7, 7, {8, 0, 0}, kNothing},
        {Switches::Both, 23, 23, {23, 30, 0}, kHalfHour},
        {Switches::Both, 23, 23, {0, 0, 0}, kNothing},
        // First hour above the last: no wrap past midnight, never.
        {Switches::Both, 20, 5, {20, 0, 0}, kNothing},
        {Switches::Both, 20, 5, {23, 30, 0}, kNothing},
        {Switches::Both, 20, 5, {3, 0, 0}, kNothing},
        {Switches::Both, 20, 5, {5, 30, 0}, kNothing},
        // The whole day.
        {Switches::Both, 0, 23, {12, 0, 0}, kHourly},
        {Switches::Both, 0, 23, {23, 30, 0}, kHalfHour},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << "switches " << static_cast<int>(row.switches) << ", hours " << row.first
                     << "-" << row.last << ", at " << row.reading.hour << ":" << row.reading.minute
                     << ":" << row.reading.second);
        setSwitches(row.switches);
        setHours(row.first, row.last);
        EXPECT_EQ(scheduler.dueAnnouncement(row.reading), row.expected);
    }
}

TEST_F(SchedulerTest, NothingDueOutsideTheRangeAllDay) {
    struct Row {
        const char* name;
        int first;
        int last;
        int fromHour;  // every second from here to 23:59:59 is checked
    };
    const std::vector<Row> rows = {
        {"defaults, 12:00 to 23:59", 0, 11, 12},
        {"first hour above the last", 12, 11, 0},
    };
    setSwitches(Switches::Both);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        setHours(row.first, row.last);
        int due = 0;
        for (int second = row.fromHour * 3600; second < 24 * 3600; ++second) {
            due += scheduler.dueAnnouncement({second / 3600, second / 60 % 60, second % 60})
                       .has_value();
        }
        EXPECT_EQ(due, 0);
    }
}

// ---- One cycle ----

TEST_F(SchedulerTest, HourlyCycleSpeaksTheComposedTextAndEndsSynthesised) {
    ASSERT_TRUE(window.setEditText(kTemplateWithBoth));
    sdk.scriptAudio({chunk(), lastChunk()});
    tickAt({8, 0, 0});

    EXPECT_THAT(textsPut(), ElementsAre(Text(kComposedAtEight) + kNotice));
    EXPECT_EQ(window.statusText(), kStatusSynthesised);
    EXPECT_EQ(audio.played().size(), 1u);
    // The one reading of the tick serves the tests and the text.
    EXPECT_EQ(clock.readingCount(), 1);
    // The weather first, then the notice page.
    ASSERT_EQ(http.requests().size(), 2u);
    EXPECT_TRUE(http.requests()[0].secure);
    EXPECT_EQ(http.requests()[1].path, "/ham_clock.html");
}

TEST_F(SchedulerTest, HalfHourCycleFetchesNothing) {
    setSwitches(Switches::Both);
    sdk.scriptAudio({lastChunk()});
    tickAt({10, 30, 0});

    EXPECT_THAT(http.requests(), IsEmpty());
    EXPECT_THAT(textsPut(), ElementsAre(Text(kHalfHourLead) + "1030" + kHalfHourTail));
    EXPECT_EQ(window.statusText(), kStatusSynthesised);
}

TEST_F(SchedulerTest, BlankTemplateWarnsAndTheCycleGoesOn) {
    struct Row {
        const char* name;
        Text templateText;
        ClockReading reading;
        bool warns;
    };
    const Text fullWidthSpace = "\xA1\xA1";  // 　
    const std::vector<Row> rows = {
        {"half-width spaces", "   ", {10, 0, 0}, true},
        {"full-width spaces", fullWidthSpace + fullWidthSpace, {10, 0, 0}, true},
        {"both kinds mixed", " " + fullWidthSpace + "  " + fullWidthSpace, {10, 0, 0}, true},
        {"empty", "", {10, 0, 0}, true},
        {"half-hour cycle checks the template too", " " + fullWidthSpace, {10, 30, 0}, true},
        {"line breaks are content", "\r\n\r\n", {10, 0, 0}, false},
        {"a tab is content", " \t ", {10, 0, 0}, false},
        // 0xA1 0xA1 straddling two characters is no full-width space.
        {"two characters meeting in A1 A1", "\xB0\xA1\xA1\xB0", {10, 0, 0}, false},
    };
    setSwitches(Switches::Both);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(window.setEditText(row.templateText));
        sdk.scriptAudio({lastChunk()});
        const std::size_t before = window.statusTexts().size();
        tickAt(row.reading);

        const std::vector<Text> statuses = statusesSince(before);
        ASSERT_FALSE(statuses.empty());
        if (row.warns) {
            EXPECT_EQ(statuses.front(), kStatusEmptyTemplate);
        } else {
            EXPECT_THAT(statuses, Not(Contains(Text(kStatusEmptyTemplate))));
        }
        // The warning is replaced by the rest of the cycle, which speaks what
        // the template gives.
        EXPECT_EQ(statuses.back(), kStatusSynthesised);
        const Text expectedText = row.reading.minute == 0
                                      ? row.templateText + kNotice
                                      : kHalfHourLead + Text("1030") + kHalfHourTail;
        EXPECT_EQ(textsPut().back(), expectedText);
    }
}

TEST_F(SchedulerTest, IncompleteSettingsWriteOnlyTheirTextAndLeaveTheSessionAlone) {
    struct Row {
        const char* name;
        ControlName emptiedList;
    };
    for (const Row& row :
         std::vector<Row>{{"no voice", ControlName::组合框_发音人},
                          {"no compression level", ControlName::组合框_压缩等级}}) {
        SCOPED_TRACE(row.name);
        settings.applyDefaults();
        sdk.scriptAudio({lastChunk()});
        tickAt({9, 0, 0});
        const Text heldSession = run.sessionId();
        ASSERT_FALSE(heldSession.empty());

        window.optionList(row.emptiedList).removeAllItems();
        sdk.clearCalls();
        const std::size_t statusesBefore = window.statusTexts().size();
        const std::size_t requestsBefore = http.requests().size();
        tickAt({10, 0, 0});

        EXPECT_THAT(statusesSince(statusesBefore), ElementsAre(Text(kStatusIncomplete)));
        EXPECT_THAT(sdk.calls(), IsEmpty());
        EXPECT_EQ(run.sessionId(), heldSession);
        EXPECT_EQ(http.requests().size(), requestsBefore);
    }
}

TEST_F(SchedulerTest, FailedBeginEndsTheCycleBeforeAnyFetch) {
    for (const std::optional<std::string>& id :
         {std::optional<std::string>(), std::optional<std::string>("")}) {
        SCOPED_TRACE(id ? "empty id" : "null id");
        sdk.scriptSessionIds({id});
        const std::size_t before = window.statusTexts().size();
        const std::size_t requestsBefore = http.requests().size();
        tickAt({10, 0, 0});

        EXPECT_THAT(statusesSince(before), ElementsAre(Text(kStatusBeginFailed)));
        EXPECT_THAT(textsPut(), IsEmpty());
        EXPECT_EQ(http.requests().size(), requestsBefore);
    }
}

TEST_F(SchedulerTest, RefusedTextLeavesItsStatusLastAndPlaysNothing) {
    sdk.scriptTextPutResults({10109});
    tickAt({10, 0, 0});

    EXPECT_EQ(window.statusText(), kStatusPutRefused);
    EXPECT_EQ(sdk.countOf("QTTSAudioGet"), 0);
    EXPECT_THAT(audio.played(), IsEmpty());
}

TEST_F(SchedulerTest, FailedAnnouncementIsNotRepeated) {
    sdk.scriptSessionIds({std::nullopt});
    sdk.scriptAudio({lastChunk()});
    clock.set({10, 0, 0});
    for (int tick = 0; tick <= 3600; ++tick) {
        scheduler.onTimerTick();
        clock.advanceSecond();
    }
    // 10:00 failed and was not tried again; 11:00 went through.
    EXPECT_EQ(sdk.countOf("QTTSSessionBegin"), 2);
    EXPECT_EQ(window.statusText(), kStatusSynthesised);
    EXPECT_EQ(audio.played().size(), 1u);
}

// ---- Ticks handled while a cycle collects its audio ----

TEST_F(SchedulerTest, TickDuringTheCollectionNeverStartsASecondCycle) {
    struct Row {
        const char* name;
        ClockReading nested;
        bool nestedIsDue;
    };
    const std::vector<Row> rows = {
        {"two ticks in the due second", {10, 0, 0}, true},
        {"a cycle lasting into the next due time", {10, 30, 0}, true},
        {"a later second", {10, 0, 1}, false},
    };
    setSwitches(Switches::Both);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        sdk.clearCalls();
        const int readingsBefore = clock.readingCount();
        const std::size_t playedBefore = audio.played().size();
        const std::size_t statusesBefore = window.statusTexts().size();
        sdk.scriptAudio({chunk(), lastChunk()});
        window.onNextPump([&] {
            ASSERT_EQ(scheduler.dueAnnouncement(row.nested).has_value(), row.nestedIsDue);
            tickAt(row.nested);
        });
        tickAt({10, 0, 0});

        // The nested tick read the clock, and the first cycle's session was
        // neither ended nor replaced while its audio came in.
        EXPECT_EQ(clock.readingCount() - readingsBefore, 2);
        EXPECT_EQ(sdk.countOf("QTTSSessionBegin"), 1);
        const std::vector<std::string> entries = sdk.entries();
        const auto put = std::find(entries.begin(), entries.end(), "QTTSTextPut");
        ASSERT_NE(put, entries.end());
        EXPECT_THAT(std::vector<std::string>(put + 1, entries.end()),
                    ElementsAre("QTTSAudioGet", "QTTSAudioGet"));
        EXPECT_THAT(statusesSince(statusesBefore), Not(Contains(Text(kStatusBeginFailed))));
        EXPECT_EQ(window.statusText(), kStatusSynthesised);
        EXPECT_EQ(audio.played().size(), playedBefore + 1);
    }
}

// ---- A whole day ----

TEST_F(SchedulerTest, WholeDayWithTheDefaultRange) {
    struct Row {
        const char* name;
        Switches switches;
        int cycles;
    };
    for (const Row& row : std::vector<Row>{{"hourly only", Switches::HourlyOnly, 12},
                                           {"hourly and half-hour", Switches::Both, 24}}) {
        SCOPED_TRACE(row.name);
        setSwitches(row.switches);
        ASSERT_TRUE(window.setEditText("[time]"));
        sdk.clearCalls();
        const std::size_t requestsBefore = http.requests().size();
        for (int cycle = 0; cycle < row.cycles; ++cycle) {
            sdk.scriptAudio({lastChunk()});
        }
        clock.set({0, 0, 0});
        for (int tick = 0; tick < 24 * 3600; ++tick) {
            scheduler.onTimerTick();
            clock.advanceSecond();
        }

        std::vector<Text> expected;
        for (int hour = 0; hour <= 11; ++hour) {
            expected.push_back(std::to_string(hour) + kHourSuffix + kNotice);
            if (row.switches == Switches::Both) {
                expected.push_back(kHalfHourLead + std::to_string(hour) + "30" + kHalfHourTail);
            }
        }
        EXPECT_EQ(textsPut(), expected);
        EXPECT_EQ(sdk.countOf("QTTSSessionBegin"), row.cycles);
        EXPECT_EQ(http.requests().size() - requestsBefore, 24u);
    }
}

}  // namespace
}  // namespace tarvane
