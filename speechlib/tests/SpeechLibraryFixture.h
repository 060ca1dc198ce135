#pragma once

// Helpers for tests that use the library only through its six entry points,
// as any caller would.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "msc.h"

namespace speechlib::apitest {

// What the program sends at start-up and, with its default settings, to
// begin every session.
inline constexpr const char* kProgramConfig =
    "server_url=speech.tarvane.example:80/index.htm,appid=5b0c2d91,timeout=10000,"
    "coding_libs=speex.dll,max_text_size=2048";
inline constexpr const char* kProgramParams =
    "ssm=1,ent=vivi21,vcn=viyping,spd=5,vol=10,ttp=text,tte=GB2312,bgs=0,aue=speex;7,"
    "auf=audio/L16;rate=16000";

// A hang guard, not a speed target: how long a test polls for the end of the
// audio before it declares the library stuck.
class PollDeadline {
public:
    [[nodiscard]] bool passed() const { return std::chrono::steady_clock::now() > m_end; }

private:
    std::chrono::steady_clock::time_point m_end =
        std::chrono::steady_clock::now() + std::chrono::seconds(60);
};

// The program's parameters with some values replaced or added, e.g.
// paramsWith({{"vol", "0"}}).
std::string paramsWith(std::initializer_list<std::pair<std::string, std::string>> changes);

// UTF-8 text converted to an iconv encoding such as "GBK" or "UTF-16LE".
std::string encodeAs(const std::string& utf8, const char* encoding);

// The program's default text encoding, GB2312, which GBK bytes satisfy.
inline std::string gbk(const std::string& utf8) {
    return encodeAs(utf8, "GBK");
}

struct SpokenAudio {
    std::vector<std::int16_t> samples;
    std::int32_t lastError = MSC_SUCCESS;
};

// Begins a session with `params`, puts `text`, polls until the end and ends
// the session; records a test failure on any refusal.
SpokenAudio speak(const std::string& params, const std::string& text);

double rms(std::span<const std::int16_t> samples);

// The engine adds random noise to some sounds, so two renderings of one text
// match in length and loudness contour, not sample for sample.
::testing::AssertionResult isSameSpeech(const std::vector<std::int16_t>& actual,
                                        const std::vector<std::int16_t>& expected);

inline double seconds(const std::vector<std::int16_t>& samples, int rate) {
    return static_cast<double>(samples.size()) / rate;
}

// Initialises the library with the program's configuration around each test.
class SpeechLibraryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(QTTSInit(kProgramConfig), MSC_SUCCESS); }
    void TearDown() override { QTTSFini(); }
};

}  // namespace speechlib::apitest
