// The entry points' answers to every kind of call, good and bad, without
// caring much about the speech itself.

#include <gtest/gtest.h>

#include <string>

#include "SampleTexts.h"
#include "SpeechLibraryFixture.h"

namespace speechlib::apitest {
namespace {

using ApiContractTest = SpeechLibraryTest;

std::int32_t putText(const char* id, const std::string& text) {
    return QTTSTextPut(id, text.data(), static_cast<std::uint32_t>(text.size()), "");
}

// A GBK text of exactly `bytes` bytes (even), two bytes a character.
std::string gbkTextOfLength(std::size_t bytes) {
    const std::string hour = gbk("整点");
    std::string text;
    while (text.size() < bytes) {
        text += hour;
    }
    return text.substr(0, bytes);
}

TEST(ApiLifecycleTest, InitRefusesBadConfigurationsAndStaysUninitialised) {
    for (const char* config :
         {static_cast<const char*>(nullptr), "", "appid",
          "server_url=host:80/index.htm,timeout=10000", "appid=5b0c2d91,max_text_size=abc"}) {
        SCOPED_TRACE(config == nullptr ? "null" : config);
        EXPECT_NE(QTTSInit(config), MSC_SUCCESS);
        std::int32_t error = 0;
        EXPECT_EQ(QTTSSessionBegin(kProgramParams, &error), nullptr);
        EXPECT_EQ(error, MSC_ERROR_NOT_INITIALIZED);
    }
}

TEST(ApiLifecycleTest, EveryCallBeforeInitIsRefused) {
    std::int32_t error = 0;
    EXPECT_EQ(QTTSSessionBegin(kProgramParams, &error), nullptr);
    EXPECT_EQ(error, MSC_ERROR_NOT_INITIALIZED);
    EXPECT_EQ(QTTSSessionBegin(kProgramParams, nullptr), nullptr);
    EXPECT_EQ(QTTSTextPut("tts-000001", "x", 1, ""), MSC_ERROR_NOT_INITIALIZED);
    std::uint32_t length = 7;
    std::int32_t status = 0;
    EXPECT_EQ(QTTSAudioGet("tts-000001", &length, &status, &error), nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(status, MSC_AUDIO_COMPLETE);
    EXPECT_EQ(error, MSC_ERROR_NOT_INITIALIZED);
    EXPECT_EQ(QTTSSessionEnd("tts-000001", ""), MSC_ERROR_NOT_INITIALIZED);
    EXPECT_EQ(QTTSFini(), MSC_ERROR_NOT_INITIALIZED);
}

TEST(ApiLifecycleTest, InitTwiceIsAnErrorAndTheLibraryCanRestart) {
    ASSERT_EQ(QTTSInit(kProgramConfig), MSC_SUCCESS);
    EXPECT_EQ(QTTSInit(kProgramConfig), MSC_ERROR_ALREADY_INITIALIZED);
    EXPECT_NE(QTTSSessionBegin(kProgramParams, nullptr), nullptr);
    EXPECT_EQ(QTTSFini(), MSC_SUCCESS);

    ASSERT_EQ(QTTSInit(kProgramConfig), MSC_SUCCESS);
    const SpokenAudio audio = speak(kProgramParams, gbk(samples::kHourSentence));
    EXPECT_FALSE(audio.samples.empty());
    EXPECT_EQ(QTTSFini(), MSC_SUCCESS);
}

TEST(ApiLifecycleTest, FiniEndsEverySessionEvenMidSpeech) {
    ASSERT_EQ(QTTSInit(kProgramConfig), MSC_SUCCESS);
    const std::string id = QTTSSessionBegin(kProgramParams, nullptr);
    ASSERT_EQ(putText(id.c_str(), gbkTextOfLength(2048)), MSC_SUCCESS);
    EXPECT_EQ(QTTSFini(), MSC_SUCCESS);

    std::uint32_t length = 0;
    std::int32_t status = 0;
    std::int32_t error = 0;
    EXPECT_EQ(QTTSAudioGet(id.c_str(), &length, &status, &error), nullptr);
    EXPECT_EQ(status, MSC_AUDIO_COMPLETE);
    EXPECT_EQ(error, MSC_ERROR_NOT_INITIALIZED);

    ASSERT_EQ(QTTSInit(kProgramConfig), MSC_SUCCESS);
    EXPECT_EQ(QTTSSessionEnd(id.c_str(), ""), MSC_ERROR_UNKNOWN_SESSION);
    EXPECT_EQ(QTTSFini(), MSC_SUCCESS);
}

TEST_F(ApiContractTest, SessionBeginRefusesParametersOutsideTheOptionLists) {
    for (const std::string& params : {
             paramsWith({{"vcn", "nobody"}}),
             paramsWith({{"ent", "intp65"}}),  // viyping is not a voice of intp65
             paramsWith({{"spd", "11"}}),
             paramsWith({{"tte", "LATIN1"}}),
             paramsWith({{"aue", "speex;11"}}),
             paramsWith({{"auf", "audio/L16;rate=44100"}}),
             paramsWith({{"colour", "blue"}}),
             std::string("ssm=1,"),
         }) {
        SCOPED_TRACE(params);
        std::int32_t error = 0;
        EXPECT_EQ(QTTSSessionBegin(params.c_str(), &error), nullptr);
        EXPECT_EQ(error, MSC_ERROR_INVALID_PARAMS);
        EXPECT_EQ(QTTSSessionBegin(params.c_str(), nullptr), nullptr);
    }
}

TEST_F(ApiContractTest, SessionIdsAreUniqueAndStayPutUntilTheirEnd) {
    std::int32_t error = -1;
    const char* first = QTTSSessionBegin(kProgramParams, &error);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(error, MSC_SUCCESS);
    const std::string firstCopy = first;
    const char* second = QTTSSessionBegin(kProgramParams, nullptr);
    ASSERT_NE(second, nullptr);

    EXPECT_NE(firstCopy, second);
    EXPECT_EQ(firstCopy, first);
    EXPECT_EQ(QTTSSessionEnd(second, ""), MSC_SUCCESS);
    EXPECT_EQ(firstCopy, first);
    EXPECT_EQ(QTTSSessionEnd(first, ""), MSC_SUCCESS);
}

TEST_F(ApiContractTest, UnknownOrEndedSessionsAreRefusedEverywhere) {
    const std::string ended = QTTSSessionBegin(kProgramParams, nullptr);
    ASSERT_EQ(QTTSSessionEnd(ended.c_str(), "正常关闭"), MSC_SUCCESS);

    for (const std::string& id : {ended, std::string("no-such-session"), std::string()}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(putText(id.c_str(), gbk(samples::kHourSentence)), MSC_ERROR_UNKNOWN_SESSION);
        std::uint32_t length = 5;
        std::int32_t status = 0;
        std::int32_t error = 0;
        EXPECT_EQ(QTTSAudioGet(id.c_str(), &length, &status, &error), nullptr);
        EXPECT_EQ(length, 0u);
        EXPECT_EQ(status, MSC_AUDIO_COMPLETE);  // ends a caller's polling loop
        EXPECT_EQ(error, MSC_ERROR_UNKNOWN_SESSION);
        EXPECT_EQ(QTTSSessionEnd(id.c_str(), ""), MSC_ERROR_UNKNOWN_SESSION);
    }
}

TEST_F(ApiContractTest, NullArgumentsAreRefusedNotFollowed) {
    const char* id = QTTSSessionBegin(nullptr, nullptr);  // null params: every default
    ASSERT_NE(id, nullptr);
    EXPECT_EQ(QTTSTextPut(nullptr, "x", 1, ""), MSC_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ(QTTSTextPut(id, nullptr, 1, ""), MSC_ERROR_INVALID_ARGUMENT);

    std::uint32_t length = 0;
    std::int32_t status = 0;
    std::int32_t error = 0;
    EXPECT_EQ(QTTSAudioGet(nullptr, &length, &status, &error), nullptr);
    EXPECT_EQ(error, MSC_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ(QTTSAudioGet(id, nullptr, &status, &error), nullptr);
    EXPECT_EQ(QTTSAudioGet(id, &length, nullptr, nullptr), nullptr);
    EXPECT_EQ(QTTSSessionEnd(nullptr, nullptr), MSC_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ(QTTSSessionEnd(id, nullptr), MSC_SUCCESS);
}

TEST_F(ApiContractTest, TextsLongerThanTheConfiguredMaximumAreRefused) {
    const char* id = QTTSSessionBegin(kProgramParams, nullptr);
    ASSERT_NE(id, nullptr);
    EXPECT_EQ(putText(id, gbkTextOfLength(2050)), MSC_ERROR_TEXT_TOO_LONG);
    EXPECT_EQ(putText(id, gbkTextOfLength(2048) + "x"), MSC_ERROR_TEXT_TOO_LONG);
    // A refusal leaves the session usable.
    EXPECT_EQ(putText(id, gbkTextOfLength(2048)), MSC_SUCCESS);
    // Ending at once stops the long synthesis rather than waiting for it.
    EXPECT_EQ(QTTSSessionEnd(id, "正常关闭"), MSC_SUCCESS);

    const SpokenAudio next = speak(kProgramParams, gbk(samples::kHourSentence));
    EXPECT_GT(rms(next.samples), 0);
}

TEST_F(ApiContractTest, TextsThatCannotBeSpokenAreRefused) {
    const std::string utf8Params = paramsWith({{"tte", "UTF8"}});
    const char* gbkSession = QTTSSessionBegin(kProgramParams, nullptr);
    const char* utf8Session = QTTSSessionBegin(utf8Params.c_str(), nullptr);
    ASSERT_NE(gbkSession, nullptr);
    ASSERT_NE(utf8Session, nullptr);

    EXPECT_EQ(putText(gbkSession, ""), MSC_ERROR_EMPTY_TEXT);
    EXPECT_EQ(QTTSTextPut(gbkSession, "\0abc", 4, ""), MSC_ERROR_EMPTY_TEXT);
    EXPECT_EQ(putText(utf8Session, gbk(samples::kHourSentence)), MSC_ERROR_TEXT_ENCODING);
    EXPECT_EQ(putText(gbkSession, gbk(samples::kHourSentence).substr(0, 3)),
              MSC_ERROR_TEXT_ENCODING);
    const std::string text = gbk(samples::kHourSentence);
    EXPECT_EQ(
        QTTSTextPut(gbkSession, text.data(), static_cast<std::uint32_t>(text.size()), "unexpected"),
        MSC_ERROR_INVALID_ARGUMENT);

    EXPECT_EQ(QTTSSessionEnd(gbkSession, ""), MSC_SUCCESS);
    EXPECT_EQ(QTTSSessionEnd(utf8Session, ""), MSC_SUCCESS);
}

TEST_F(ApiContractTest, AudioBeforeAnyTextEndsAtOnce) {
    const char* id = QTTSSessionBegin(kProgramParams, nullptr);
    ASSERT_NE(id, nullptr);
    std::uint32_t length = 3;
    std::int32_t status = 0;
    std::int32_t error = 0;
    EXPECT_EQ(QTTSAudioGet(id, &length, &status, &error), nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(status, MSC_AUDIO_COMPLETE);
    EXPECT_EQ(error, MSC_ERROR_NO_TEXT);
    EXPECT_EQ(QTTSSessionEnd(id, ""), MSC_SUCCESS);
}

TEST_F(ApiContractTest, ANewTextWaitsForThePreviousAudioToBeTaken) {
    const char* id = QTTSSessionBegin(kProgramParams, nullptr);
    ASSERT_NE(id, nullptr);
    const std::string text = gbk(samples::kHourSentence);
    ASSERT_EQ(putText(id, text), MSC_SUCCESS);
    EXPECT_EQ(putText(id, text), MSC_ERROR_BUSY);

    std::int32_t status = 0;
    const PollDeadline deadline;
    while (status != MSC_AUDIO_COMPLETE) {
        ASSERT_FALSE(deadline.passed()) << "the audio never ended";
        std::uint32_t length = 0;
        (void)QTTSAudioGet(id, &length, &status, nullptr);
    }
    EXPECT_EQ(putText(id, text), MSC_SUCCESS);
    EXPECT_EQ(QTTSSessionEnd(id, ""), MSC_SUCCESS);
}

}  // namespace
}  // namespace speechlib::apitest
