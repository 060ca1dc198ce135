#include "SpeechEngine.h"

#include <gtest/gtest.h>

#include "SampleTexts.h"
#include "VoiceTable.h"

namespace speechlib {
namespace {

// The engine keeps global state, so the whole suite shares one.
class SpeechEngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_engine = SpeechEngine::acquire(); }
    static void TearDownTestSuite() { s_engine.reset(); }

    void SetUp() override { ASSERT_NE(s_engine, nullptr) << "the engine data did not load"; }

    static std::unique_ptr<SpeechEngine> s_engine;
};

std::unique_ptr<SpeechEngine> SpeechEngineTest::s_engine;

TEST_F(SpeechEngineTest, EveryVoiceOfTheTableLoads) {
    for (const Voice& voice : allVoices()) {
        SCOPED_TRACE(voice.code);
        EXPECT_TRUE(s_engine->selectVoice(engineVoiceName(voice)));
    }
}

// A listener must hear the announcement in Mandarin throughout; the engine
// marks each switch to another language, "(en)" for English, in its phonemes.
TEST_F(SpeechEngineTest, MandarinVoicesReadTheTemplateWithoutSwitchingLanguage) {
    for (const Voice& voice : allVoices()) {
        if (voice.language != VoiceLanguage::Mandarin) {
            continue;
        }
        SCOPED_TRACE(voice.code);
        ASSERT_TRUE(s_engine->selectVoice(engineVoiceName(voice)));
        const auto phonemes = s_engine->phonemes(samples::kDefaultTemplate);
        ASSERT_TRUE(phonemes.has_value());
        EXPECT_GT(phonemes->size(), 50u);
        EXPECT_EQ(phonemes->find('('), std::string::npos) << *phonemes;
    }
}

// Shows the check above can fail: the engine's plain Mandarin voice reads
// some of these characters as English.
TEST_F(SpeechEngineTest, ThePlainMandarinVoiceSwitchesToEnglish) {
    ASSERT_TRUE(s_engine->selectVoice("cmn"));
    const auto phonemes = s_engine->phonemes(samples::kDefaultTemplate);
    ASSERT_TRUE(phonemes.has_value());
    EXPECT_NE(phonemes->find("(en)"), std::string::npos) << *phonemes;
}

TEST_F(SpeechEngineTest, AfterAnUnknownVoiceNothingIsSpokenUntilAGoodOne) {
    EXPECT_FALSE(s_engine->selectVoice("no-such-voice"));
    const auto ignore = [](std::span<const std::int16_t>) { return true; };
    EXPECT_EQ(s_engine->synthesize("9", SpeechEngine::Markup::PlainText, ignore),
              SpeechEngine::Outcome::Failed);
    EXPECT_FALSE(s_engine->phonemes("9").has_value());

    ASSERT_TRUE(s_engine->selectVoice("cmn-latn-pinyin"));
    EXPECT_EQ(s_engine->synthesize("9", SpeechEngine::Markup::PlainText, ignore),
              SpeechEngine::Outcome::Completed);
}

TEST_F(SpeechEngineTest, AStoppedSynthesisLeavesTheEngineUsable) {
    ASSERT_TRUE(s_engine->selectVoice("cmn-latn-pinyin"));
    int blocks = 0;
    const auto stopAtOnce = [&blocks](std::span<const std::int16_t>) {
        ++blocks;
        return false;
    };
    EXPECT_EQ(s_engine->synthesize(samples::kDefaultTemplate, SpeechEngine::Markup::PlainText,
                                   stopAtOnce),
              SpeechEngine::Outcome::Stopped);
    EXPECT_EQ(blocks, 1);

    std::size_t sampleCount = 0;
    const auto count = [&sampleCount](std::span<const std::int16_t> block) {
        sampleCount += block.size();
        return true;
    };
    EXPECT_EQ(s_engine->synthesize(samples::kHourSentence, SpeechEngine::Markup::PlainText, count),
              SpeechEngine::Outcome::Completed);
    EXPECT_GT(sampleCount, static_cast<std::size_t>(s_engine->sampleRate()) / 2);
}

TEST_F(SpeechEngineTest, OnlyOneEngineLivesAtATime) {
    EXPECT_EQ(SpeechEngine::acquire(), nullptr);
}

}  // namespace
}  // namespace speechlib
