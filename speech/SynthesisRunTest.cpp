#include "speech/SynthesisRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/SynthesisSettings.h"
#include "literals/speech_test_literals.h"
#include "speech/SpeechOutput.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/FakeSpeechSdk.h"
#include "tests/fakes/HeadlessWindow.h"
#include "tests/fakes/RecordingAudioOutput.h"
#include "tests/fakes/SpeechRig.h"

namespace tarvane {
namespace {

using namespace std::chrono_literals;
using namespace literals_speech_test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Strings = std::vector<std::string>;

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

AudioPoll chunk(const std::string& samples, std::int32_t status = 1) {
    return {bytesOf(samples), static_cast<std::uint32_t>(samples.size()), status, 0};
}

AudioPoll nothing(std::int32_t status = 1) {
    return {std::nullopt, 0, status, 0};
}

int countOf(const std::vector<Text>& texts, const Text& text) {
    return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}

// A synthesis run wired to a scripted library, a headless window with the
// default settings, and an output that records instead of playing. Time is
// fake: each poll of the library takes a second, so a run that waits in
// vain gives up after 30 polls.
class SynthesisRunTest : public ::testing::Test, protected SpeechRig {
protected:
    SynthesisRunTest() {
        settings.fillOptionLists();
        pollsTake(1s);
    }

    SynthesisRun::Timing fakeTiming() {
        return {SynthesisRun::kSilenceLimit, [this] { return now; }};
    }
    // Every poll takes `step` of the fake time.
    void pollsTake(std::chrono::milliseconds step) {
        sdk.onAudioGet([this, step] { now += step; });
    }
    void holdSession(const std::string& id = "held-1") {
        sdk.scriptSessionIds({id});
        ASSERT_TRUE(run.beginSession());
        sdk.clearCalls();
    }

    SynthesisRun::SteadyClock::time_point now{};
    SynthesisRun run{sdk, window, settings, output, fakeTiming()};
};

// ---- beginSession and endSession ----

TEST_F(SynthesisRunTest, FirstBeginEndsNothing) {
    sdk.scriptSessionIds({"sid-1"});
    EXPECT_TRUE(run.beginSession());
    EXPECT_EQ(run.sessionId(), "sid-1");
    ASSERT_THAT(sdk.calls(), ElementsAre(SdkCall{"QTTSSessionBegin",
                                                 {settings.buildSessionParams(), std::nullopt}}));
}

TEST_F(SynthesisRunTest, BeginEndsTheHeldSessionOnceWithItsIdFirst) {
    holdSession("held-1");
    sdk.scriptSessionIds({"sid-2"});
    EXPECT_TRUE(run.beginSession());
    EXPECT_THAT(
        sdk.calls(),
        ElementsAre(SdkCall{"QTTSSessionEnd", {"held-1", Text(kExpectNormalClose)}},
                    SdkCall{"QTTSSessionBegin", {settings.buildSessionParams(), std::nullopt}}));
    EXPECT_EQ(run.sessionId(), "sid-2");
}

TEST_F(SynthesisRunTest, FailedEndInsideBeginIsIgnored) {
    holdSession();
    sdk.scriptSessionEndResults({10114});
    sdk.scriptSessionIds({"sid-2"});
    EXPECT_TRUE(run.beginSession());
    EXPECT_EQ(run.sessionId(), "sid-2");
}

TEST_F(SynthesisRunTest, NullOrEmptyIdMeansNoSession) {
    struct Case {
        const char* name;
        std::optional<std::string> id;
    };
    for (const Case& c : {Case{"null id", std::nullopt}, Case{"empty id", ""}}) {
        SCOPED_TRACE(c.name);
        holdSession();
        sdk.scriptSessionIds({c.id});
        EXPECT_FALSE(run.beginSession());
        EXPECT_EQ(run.sessionId(), "");
        // With nothing held, the next end calls nothing and returns 0.
        sdk.clearCalls();
        EXPECT_EQ(run.endSession(), 0);
        EXPECT_THAT(sdk.calls(), IsEmpty());
    }
}

TEST_F(SynthesisRunTest, HeldIdIsACopyOfTheLibrarysMemory) {
    sdk.scriptSessionIds({"sid-copy"});
    ASSERT_TRUE(run.beginSession());
    // The fake scribbles over the id's memory at the next call.
    sdk.scriptAudio({nothing(kAudioStatusComplete)});
    run.speakText("abc");
    EXPECT_EQ(sdk.callsTo("QTTSTextPut").at(0).arguments.at(0), "sid-copy");
    EXPECT_EQ(run.sessionId(), "sid-copy");
}

TEST_F(SynthesisRunTest, EndSessionReturnsTheLibrarysResultAndKeepsTheId) {
    holdSession("held-1");
    sdk.scriptSessionEndResults({7});
    EXPECT_EQ(run.endSession(), 7);
    EXPECT_EQ(run.sessionId(), "held-1");
}

// ---- speakText ----

TEST_F(SynthesisRunTest, TextGoesWithItsByteLengthAndEmptyParameters) {
    holdSession("held-1");
    run.speakText(kThreeCharacters);
    ASSERT_EQ(sdk.countOf("QTTSTextPut"), 1);
    EXPECT_EQ(sdk.callsTo("QTTSTextPut")[0],
              (SdkCall{"QTTSTextPut", {"held-1", Text(kThreeCharacters), "6", ""}}));
}

TEST_F(SynthesisRunTest, LongTextIsPutWholeAndARefusalReadsAsAnyOther) {
    holdSession();
    const Text longText(3000, 'a');
    sdk.scriptTextPutResults({10109});
    run.speakText(longText);
    const SdkCall put = sdk.callsTo("QTTSTextPut").at(0);
    EXPECT_EQ(put.arguments.at(1), longText);
    EXPECT_EQ(put.arguments.at(2), "3000");
    EXPECT_EQ(window.statusText(), kExpectTextPutFailed);
}

TEST_F(SynthesisRunTest, RefusedTextCollectsAndPlaysNothing) {
    holdSession();
    sdk.scriptTextPutResults({-1});
    run.speakText("abc");
    EXPECT_THAT(sdk.entries(), ElementsAre("QTTSTextPut"));
    EXPECT_THAT(window.statusTexts(), ElementsAre(Text(kExpectTextPutFailed)));
    EXPECT_THAT(audio.played(), IsEmpty());
    EXPECT_EQ(run.sessionId(), "held-1");
}

TEST_F(SynthesisRunTest, AcceptedTextIsCollectedAndPlayed) {
    holdSession();
    sdk.scriptAudio({chunk("ab"), nothing(), chunk("cd", kAudioStatusComplete)});
    run.speakText("abc");
    EXPECT_THAT(window.statusTexts(),
                ElementsAre(Text(kExpectTextPutAccepted), Text(kExpectSynthesising),
                            Text(kExpectSynthesising), Text(kExpectSynthesised)));
    ASSERT_EQ(audio.played().size(), 1u);
    EXPECT_EQ(Bytes(audio.played()[0].begin() + 44, audio.played()[0].end()), bytesOf("abcd"));
}

TEST_F(SynthesisRunTest, EmptyAudioStillReachesTheOutput) {
    holdSession();
    sdk.scriptAudio({nothing(kAudioStatusComplete)});
    run.speakText("abc");
    ASSERT_EQ(audio.played().size(), 1u);
    EXPECT_EQ(audio.played()[0].size(), 44u);
    EXPECT_EQ(window.statusText(), kExpectSynthesised);
}

// ---- collectAudio ----

TEST_F(SynthesisRunTest, OnlyChunksWithPointerAndLengthCount) {
    struct Case {
        const char* name;
        std::vector<AudioPoll> polls;
        std::string audio;
        int polled;
        int counted;  // chunks that write a status text and pump events
    };
    const Case cases[] = {
        {"first poll ends without audio", {nothing(kAudioStatusComplete)}, "", 1, 0},
        {"pointer with length 0",
         {{bytesOf("xx"), 0, 1, 0}, nothing(kAudioStatusComplete)},
         "",
         2,
         0},
        {"null with a length", {{std::nullopt, 5, 1, 0}, nothing(kAudioStatusComplete)}, "", 2, 0},
        {"last chunk comes with the end",
         {chunk("ab"), chunk("c", kAudioStatusComplete)},
         "abc",
         2,
         2},
        {"length shorter than the memory",
         {{bytesOf("abcdef"), 2, kAudioStatusComplete, 0}},
         "ab",
         1,
         1},
        {"other status values go on",
         {chunk("a", 0), chunk("b", 3), nothing(kAudioStatusComplete)},
         "ab",
         3,
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSpeechSdk fresh;
        HeadlessWindow freshWindow;
        SynthesisRun freshRun{fresh, freshWindow, settings, output, fakeTiming()};
        fresh.scriptAudio(c.polls);
        const AudioCollection collected = freshRun.collectAudio();
        EXPECT_EQ(collected.end, CollectionEnd::Complete);
        EXPECT_EQ(collected.audio, bytesOf(c.audio));
        EXPECT_EQ(fresh.countOf("QTTSAudioGet"), c.polled);
        EXPECT_EQ(countOf(freshWindow.statusTexts(), kExpectSynthesising), c.counted);
        EXPECT_EQ(freshWindow.pumpCount(), c.counted);
    }
}

TEST_F(SynthesisRunTest, PollsPassTheHeldIdAndAllThreeOutParameters) {
    holdSession("held-1");
    sdk.scriptAudio({nothing(kAudioStatusComplete)});
    (void)run.collectAudio();
    EXPECT_EQ(sdk.calls().at(0), (SdkCall{"QTTSAudioGet", {"held-1", "out", "out", "out"}}));
}

TEST_F(SynthesisRunTest, NonZeroErrorCodeEndsTheCollection) {
    holdSession();
    sdk.scriptAudio({chunk("ab"), {bytesOf("cd"), 2, 1, 10200}, chunk("never")});
    const AudioCollection collected = run.collectAudio();
    EXPECT_EQ(collected.end, CollectionEnd::LibraryError);
    EXPECT_EQ(collected.audio, bytesOf("abcd"));
    EXPECT_EQ(sdk.countOf("QTTSAudioGet"), 2);
}

TEST_F(SynthesisRunTest, ErrorCodeOnTheLastChunkStillCompletes) {
    holdSession();
    sdk.scriptAudio({{bytesOf("ab"), 2, kAudioStatusComplete, 10200}});
    const AudioCollection collected = run.collectAudio();
    EXPECT_EQ(collected.end, CollectionEnd::Complete);
    EXPECT_EQ(collected.audio, bytesOf("ab"));
}

TEST_F(SynthesisRunTest, SilentLibraryIsGivenUpAfterTheLimit) {
    holdSession();
    // An empty script answers as a library that has gone quiet.
    sdk.scriptAudio({chunk("ab")});
    const AudioCollection collected = run.collectAudio();
    EXPECT_EQ(collected.end, CollectionEnd::Silence);
    EXPECT_EQ(collected.audio, bytesOf("ab"));
    // The clock starts again at the chunk; 30 quiet polls of a second each.
    EXPECT_EQ(sdk.countOf("QTTSAudioGet"), 31);
}

TEST_F(SynthesisRunTest, EachChunkRestartsTheSilenceLimit) {
    holdSession();
    std::vector<AudioPoll> polls(25, nothing());
    polls.push_back(chunk("a"));
    polls.insert(polls.end(), 25, nothing());
    polls.push_back(chunk("b", kAudioStatusComplete));
    sdk.scriptAudio(polls);
    const AudioCollection collected = run.collectAudio();
    EXPECT_EQ(collected.end, CollectionEnd::Complete);
    EXPECT_EQ(collected.audio, bytesOf("ab"));
}

TEST_F(SynthesisRunTest, SilenceLimitWorksOnTheRealClock) {
    SynthesisRun quickRun{sdk, window, settings, output, {5ms, {}}};
    const AudioCollection collected = quickRun.collectAudio();
    EXPECT_EQ(collected.end, CollectionEnd::Silence);
}

TEST_F(SynthesisRunTest, BrokenOffAudioIsNotPlayedAndTheFailureShows) {
    struct Case {
        const char* name;
        std::vector<AudioPoll> polls;
    };
    const Case cases[] = {
        {"error code", {chunk("ab"), {std::nullopt, 0, 1, 10200}}},
        {"silence", {chunk("ab")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SpeechRig fresh;
        fresh.settings.fillOptionLists();
        fresh.window.setTicked(ControlName::选择框1, true);
        fresh.sdk.onAudioGet([this] { now += 1s; });
        SynthesisRun freshRun{fresh.sdk, fresh.window, fresh.settings, fresh.output, fakeTiming()};
        fresh.sdk.scriptAudio(c.polls);
        freshRun.speakText("abc");
        EXPECT_EQ(fresh.window.statusText(), kExpectSynthesisFailed);
        EXPECT_THAT(fresh.audio.played(), IsEmpty());
        EXPECT_THAT(fresh.files.writeAttempts(), IsEmpty());
    }
}

TEST_F(SynthesisRunTest, ChunkIsCopiedBeforeEventsAreHandled) {
    holdSession("held-1");
    sdk.scriptAudio({chunk("ab"), chunk("cd", kAudioStatusComplete)});
    // A close handled in the pump ends the session, which scribbles over
    // the chunk's memory in the fake library.
    window.onNextPump([this] { run.shutdownSpeech(); });
    const AudioCollection collected = run.collectAudio();
    EXPECT_EQ(collected.audio, bytesOf("ab"));
}

// ---- a window close during the collection ----

TEST_F(SynthesisRunTest, CloseDuringCollectionStopsItWithoutPlaying) {
    holdSession("held-1");
    sdk.scriptAudio({chunk("ab"), chunk("cd"), chunk("ef", kAudioStatusComplete)});
    window.onNextPump([this] { run.shutdownSpeech(); });
    run.speakText("abc");
    EXPECT_THAT(sdk.entries(),
                ElementsAre("QTTSTextPut", "QTTSAudioGet", "QTTSSessionEnd", "QTTSFini"));
    EXPECT_EQ(sdk.callsTo("QTTSSessionEnd")[0].arguments.at(0), "held-1");
    EXPECT_THAT(audio.played(), IsEmpty());
    EXPECT_EQ(countOf(window.statusTexts(), kExpectSynthesised), 0);
}

TEST_F(SynthesisRunTest, NestedCycleCannotEndTheSessionBeingRead) {
    holdSession("held-1");
    sdk.scriptAudio({chunk("ab"), chunk("cd", kAudioStatusComplete)});
    bool collectingSeen = false;
    bool nestedBegin = true;
    window.onNextPump([&] {
        collectingSeen = run.isCollecting();
        nestedBegin = run.beginSession();
        run.speakText("nested");
    });
    const AudioCollection collected = run.collectAudio();
    EXPECT_TRUE(collectingSeen);
    EXPECT_FALSE(nestedBegin);
    EXPECT_FALSE(run.isCollecting());
    EXPECT_THAT(sdk.entries(), ElementsAre("QTTSAudioGet", "QTTSAudioGet"));
    EXPECT_EQ(run.sessionId(), "held-1");
    EXPECT_EQ(collected.audio, bytesOf("abcd"));
}

// ---- shutdownSpeech ----

TEST_F(SynthesisRunTest, ShutdownFinalisesOnlyAfterASuccessfulEnd) {
    struct Case {
        const char* name;
        std::vector<std::optional<std::string>> ids;  // one begin per id
        std::vector<std::int32_t> endResults;
        Strings calls;
    };
    const Case cases[] = {
        {"nothing held", {}, {}, {"QTTSFini"}},
        {"held, ended", {"sid-1"}, {0}, {"QTTSSessionEnd", "QTTSFini"}},
        {"held, end failed", {"sid-1"}, {10108}, {"QTTSSessionEnd"}},
        // A failed begin after a good one leaves nothing to end.
        {"begin failed after one held", {"sid-1", std::nullopt}, {0}, {"QTTSFini"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSpeechSdk fresh;
        SynthesisRun freshRun{fresh, window, settings, output, fakeTiming()};
        fresh.scriptSessionIds(c.ids);
        for (std::size_t i = 0; i < c.ids.size(); ++i) {
            (void)freshRun.beginSession();
        }
        fresh.scriptSessionEndResults(c.endResults);
        const std::size_t before = fresh.calls().size();
        freshRun.shutdownSpeech();
        Strings made;
        for (std::size_t i = before; i < fresh.calls().size(); ++i) {
            made.push_back(fresh.calls()[i].entry);
        }
        EXPECT_EQ(made, c.calls);
    }
}

TEST_F(SynthesisRunTest, NothingReachesTheLibraryAfterShutdown) {
    holdSession();
    run.shutdownSpeech();
    run.shutdownSpeech();
    EXPECT_FALSE(run.beginSession());
    run.speakText("abc");
    EXPECT_EQ(run.collectAudio().end, CollectionEnd::ShutDown);
    EXPECT_THAT(sdk.entries(), ElementsAre("QTTSSessionEnd", "QTTSFini"));
}

}  // namespace
}  // namespace tarvane
