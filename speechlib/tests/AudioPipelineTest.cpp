#include "AudioPipeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace speechlib {
namespace {

constexpr int kEngineRate = 22050;
using Samples = std::vector<std::int16_t>;

Samples sine(double frequency, double amplitude, int rate, int count) {
    Samples samples(count);
    for (int i = 0; i < count; ++i) {
        samples[i] = static_cast<std::int16_t>(
            std::lround(amplitude * 32767 * std::sin(2 * std::numbers::pi * frequency * i / rate)));
    }
    return samples;
}

// Feeds `input` in engine-sized blocks, as the engine hands them over.
Samples runThrough(AudioPipeline& pipeline, const Samples& input) {
    constexpr std::size_t kBlock = kEngineRate * 60 / 1000;
    Samples output;
    for (std::size_t start = 0; start < input.size(); start += kBlock) {
        const std::size_t length = std::min(kBlock, input.size() - start);
        const auto pcm = pipeline.process(std::span(input).subspan(start, length));
        EXPECT_TRUE(pcm.has_value());
        output.insert(output.end(), pcm->begin(), pcm->end());
    }
    const auto tail = pipeline.finish();
    EXPECT_TRUE(tail.has_value());
    output.insert(output.end(), tail->begin(), tail->end());
    return output;
}

int risingZeroCrossings(std::span<const std::int16_t> samples) {
    int count = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        count += samples[i - 1] < 0 && samples[i] >= 0 ? 1 : 0;
    }
    return count;
}

double rms(std::span<const std::int16_t> samples) {
    double sum = 0;
    for (const std::int16_t s : samples) {
        sum += static_cast<double>(s) * s;
    }
    return samples.empty() ? 0 : std::sqrt(sum / samples.size());
}

TEST(AudioPipelineTest, ResamplingKeepsTheDurationAndThePitch) {
    for (const int rate : {8000, 16000}) {
        SCOPED_TRACE(rate);
        auto pipeline = AudioPipeline::create(kEngineRate, rate, 1.0, BackgroundSound::Off);
        ASSERT_NE(pipeline, nullptr);
        // Two seconds of a 1 kHz tone: dropped or repeated samples would
        // shift its pitch, a wrong ratio its length.
        const Samples output = runThrough(*pipeline, sine(1000, 0.5, kEngineRate, 2 * kEngineRate));
        EXPECT_NEAR(static_cast<double>(output.size()), 2.0 * rate, 2);
        const auto middle = std::span(output).subspan(rate / 2, rate);
        EXPECT_NEAR(risingZeroCrossings(middle), 1000, 2);
        EXPECT_NEAR(rms(middle), 0.5 * 32767 / std::sqrt(2.0), 300);
    }
}

TEST(AudioPipelineTest, ZeroGainIsExactSilence) {
    auto pipeline = AudioPipeline::create(kEngineRate, 16000, 0.0, BackgroundSound::On);
    ASSERT_NE(pipeline, nullptr);
    const Samples output = runThrough(*pipeline, sine(440, 0.9, kEngineRate, kEngineRate));
    EXPECT_FALSE(output.empty());
    EXPECT_TRUE(std::all_of(output.begin(), output.end(), [](std::int16_t s) { return s == 0; }));
}

TEST(AudioPipelineTest, FullScaleSpeechWithTheBedClipsInsteadOfWrapping) {
    auto pipeline = AudioPipeline::create(kEngineRate, 16000, 1.0, BackgroundSound::On);
    ASSERT_NE(pipeline, nullptr);
    const Samples loud(kEngineRate, 32767);
    const Samples output = runThrough(*pipeline, loud);
    const auto middle = std::span(output).subspan(4000, 8000);
    EXPECT_TRUE(
        std::all_of(middle.begin(), middle.end(), [](std::int16_t s) { return s > 30000; }));
}

TEST(AudioPipelineTest, TheBedIsQuietAudibleAndFadesOut) {
    auto pipeline = AudioPipeline::create(kEngineRate, 16000, 1.0, BackgroundSound::On);
    ASSERT_NE(pipeline, nullptr);
    const Samples output = runThrough(*pipeline, Samples(2 * kEngineRate, 0));
    const auto body = std::span(output).subspan(16000, 16000);
    const auto peak = *std::max_element(body.begin(), body.end());
    EXPECT_GT(rms(body), 50);
    EXPECT_LT(peak, 0.05 * 32767);  // about -26 dBFS at most
    EXPECT_LE(std::abs(output.back()), 2);
}

}  // namespace
}  // namespace speechlib
