// Real speech through the six entry points.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "SampleTexts.h"
#include "SpeechLibraryFixture.h"

namespace speechlib::apitest {
namespace {

using SynthesisTest = SpeechLibraryTest;

// Audible speech: espeak's own level sits near -19 dBFS RMS.
constexpr double kAudibleRms = 1000;

TEST_F(SynthesisTest, TheHourSentenceInGbkAtBothRates) {
    const std::string text = gbk(samples::kHourSentence);
    const SpokenAudio at8000 = speak(paramsWith({{"auf", "audio/L16;rate=8000"}}), text);
    const SpokenAudio at16000 = speak(kProgramParams, text);

    for (const auto& [audio, rate] : {std::pair{&at8000, 8000}, std::pair{&at16000, 16000}}) {
        SCOPED_TRACE(rate);
        EXPECT_EQ(audio->lastError, MSC_SUCCESS);
        // Seven syllables at a natural pace.
        EXPECT_GT(seconds(audio->samples, rate), 1.0);
        EXPECT_LT(seconds(audio->samples, rate), 4.0);
        EXPECT_GT(rms(audio->samples), kAudibleRms);
    }
    // The same speech at twice the rate has twice the samples.
    EXPECT_NEAR(static_cast<double>(at16000.samples.size()), 2.0 * at8000.samples.size(),
                0.002 * at16000.samples.size());
}

TEST_F(SynthesisTest, EveryEncodingOfTheSameSentenceGivesTheSameAudio) {
    const std::string sentence = samples::kHourSentence;
    const SpokenAudio reference = speak(kProgramParams, gbk(sentence));
    ASSERT_FALSE(reference.samples.empty());

    const struct {
        const char* tte;
        std::string bytes;
    } cases[] = {
        {"UTF8", sentence},
        {"GBK", gbk(sentence)},
        {"GB18030", encodeAs(sentence, "GB18030")},
        {"UNICODE", encodeAs(sentence, "UTF-16LE")},
        {"AUTO", sentence},
        {"AUTO", gbk(sentence)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tte);
        const SpokenAudio audio = speak(paramsWith({{"tte", c.tte}}), c.bytes);
        EXPECT_TRUE(isSameSpeech(audio.samples, reference.samples));
    }
}

TEST_F(SynthesisTest, VolumeScalesTheAudioAndZeroIsSilence) {
    const std::string text = gbk(samples::kHourSentence);
    const SpokenAudio full = speak(kProgramParams, text);
    const SpokenAudio half = speak(paramsWith({{"vol", "5"}}), text);
    const SpokenAudio none = speak(paramsWith({{"vol", "0"}}), text);

    EXPECT_EQ(none.samples.size(), full.samples.size());
    EXPECT_TRUE(std::all_of(none.samples.begin(), none.samples.end(),
                            [](std::int16_t s) { return s == 0; }));
    EXPECT_GT(rms(half.samples), 0.1 * rms(full.samples));
    EXPECT_LT(rms(half.samples), 0.5 * rms(full.samples));
}

TEST_F(SynthesisTest, HigherSpeedSpeaksFaster) {
    const std::string text = gbk(samples::kHourSentence);
    const auto slow = speak(paramsWith({{"spd", "0"}}), text).samples.size();
    const auto natural = speak(kProgramParams, text).samples.size();
    const auto fast = speak(paramsWith({{"spd", "10"}}), text).samples.size();
    EXPECT_GT(slow, natural * 3 / 2);
    EXPECT_LT(fast, natural * 2 / 3);
}

TEST_F(SynthesisTest, SsmlTextIsReadAsMarkupAndLeavesNoTrace) {
    const std::string text = gbk(samples::kHourSentence);
    const SpokenAudio before = speak(kProgramParams, text);

    const std::string params = paramsWith({{"ttp", "ssml"}, {"tte", "UTF8"}});
    const auto plain = speak(params, "<speak>现在时间</speak>").samples.size();
    const auto paused =
        speak(params, "<speak>现在<break time=\"1500ms\"/>时间</speak>").samples.size();
    ASSERT_GT(paused, plain);
    EXPECT_GT(static_cast<double>(paused - plain) / 16000, 1.0);

    // Markup changes the engine's speaking state; the next text must not
    // inherit it.
    EXPECT_TRUE(isSameSpeech(speak(kProgramParams, text).samples, before.samples));
}

TEST_F(SynthesisTest, TheBackgroundBedIsQuietUnderTheSpeech) {
    const std::string text = gbk(samples::kHourSentence);
    const SpokenAudio dry = speak(kProgramParams, text);
    const SpokenAudio bed = speak(paramsWith({{"bgs", "1"}}), text);
    ASSERT_GT(bed.samples.size(), dry.samples.size());

    // The bed goes on briefly after the last word, and fades out there.
    const auto tail = std::span(bed.samples).subspan(dry.samples.size());
    EXPECT_GT(rms(tail), 20);
    EXPECT_LT(rms(tail), 0.05 * 32767);
    // Under the speech it must not change the overall level much.
    const auto speech = std::span(bed.samples).first(dry.samples.size());
    EXPECT_NEAR(rms(speech), rms(dry.samples), 0.15 * rms(dry.samples));
}

// Every voice the settings window offers must speak, whatever its language.
TEST_F(SynthesisTest, EveryVoiceSpeaks) {
    const std::string text = gbk("9点整 nine o'clock");
    for (const auto& v : samples::kOfferedVoices) {
        SCOPED_TRACE(v.voice);
        const SpokenAudio audio = speak(paramsWith({{"ent", v.engine}, {"vcn", v.voice}}), text);
        EXPECT_EQ(audio.lastError, MSC_SUCCESS);
        EXPECT_GT(rms(audio.samples), kAudibleRms);
    }
}

// The caller polls back to back and copies each chunk before the next call.
TEST_F(SynthesisTest, ChunksEndWithTheCompleteStatusAndStayValidUntilTheNextCall) {
    std::string text;
    for (int i = 0; i < 4; ++i) {
        text += gbk(samples::kDefaultTemplate);
    }
    const char* id = QTTSSessionBegin(kProgramParams, nullptr);
    ASSERT_NE(id, nullptr);
    ASSERT_EQ(QTTSTextPut(id, text.data(), static_cast<std::uint32_t>(text.size()), ""),
              MSC_SUCCESS);

    struct Held {
        const void* pointer = nullptr;
        std::vector<char> copy;
    } held;
    std::size_t bytes = 0;
    std::int32_t status = 0;
    const PollDeadline deadline;
    while (status != MSC_AUDIO_COMPLETE) {
        ASSERT_FALSE(deadline.passed()) << "the audio never ended";
        // Let the synthesis run on, then read the previous chunk again: it
        // must still be intact until this session's next call.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (held.pointer != nullptr) {
            ASSERT_EQ(std::memcmp(held.pointer, held.copy.data(), held.copy.size()), 0);
        }
        std::uint32_t length = 0;
        std::int32_t error = -1;
        const void* chunk = QTTSAudioGet(id, &length, &status, &error);
        ASSERT_EQ(error, MSC_SUCCESS);
        ASSERT_TRUE(status == MSC_AUDIO_CONTINUE || status == MSC_AUDIO_COMPLETE);
        ASSERT_EQ(chunk == nullptr, length == 0);
        ASSERT_EQ(length % 2, 0u);
        if (status == MSC_AUDIO_COMPLETE) {
            EXPECT_NE(chunk, nullptr) << "the end mark came without the last chunk";
        }
        held.pointer = chunk;
        const auto* begin = static_cast<const char*>(chunk);
        held.copy.assign(begin, begin + length);
        bytes += length;
    }
    EXPECT_GT(bytes / 2, 4u * 5 * 16000);  // four times a template of five seconds or more

    std::uint32_t length = 1;
    status = 0;
    EXPECT_EQ(QTTSAudioGet(id, &length, &status, nullptr), nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(status, MSC_AUDIO_COMPLETE);
    EXPECT_EQ(QTTSSessionEnd(id, "正常关闭"), MSC_SUCCESS);
}

TEST_F(SynthesisTest, TwoSessionsSpeakSideBySide) {
    const std::string text = gbk(samples::kHourSentence);
    const char* first = QTTSSessionBegin(kProgramParams, nullptr);
    const char* second =
        QTTSSessionBegin(paramsWith({{"auf", "audio/L16;rate=8000"}}).c_str(), nullptr);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const auto size = static_cast<std::uint32_t>(text.size());
    ASSERT_EQ(QTTSTextPut(first, text.data(), size, ""), MSC_SUCCESS);
    ASSERT_EQ(QTTSTextPut(second, text.data(), size, ""), MSC_SUCCESS);

    std::size_t bytes[2] = {0, 0};
    std::int32_t status[2] = {0, 0};
    const PollDeadline deadline;
    while (status[0] != MSC_AUDIO_COMPLETE || status[1] != MSC_AUDIO_COMPLETE) {
        ASSERT_FALSE(deadline.passed()) << "the audio never ended";
        for (int i = 0; i < 2; ++i) {
            std::uint32_t length = 0;
            if (status[i] != MSC_AUDIO_COMPLETE) {
                (void)QTTSAudioGet(i == 0 ? first : second, &length, &status[i], nullptr);
                bytes[i] += length;
            }
        }
    }
    EXPECT_GT(bytes[0], 16000u * 2);
    EXPECT_NEAR(static_cast<double>(bytes[0]), 2.0 * bytes[1], 0.002 * bytes[0]);
    EXPECT_EQ(QTTSSessionEnd(first, ""), MSC_SUCCESS);
    EXPECT_EQ(QTTSSessionEnd(second, ""), MSC_SUCCESS);
}

}  // namespace
}  // namespace speechlib::apitest
