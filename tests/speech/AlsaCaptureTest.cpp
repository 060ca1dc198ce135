// The ALSA adapter playing into a device that writes to a file: what was
// played must arrive sample for sample.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "platform/audio/AlsaAudioOutput.h"
#include "speech/WavImage.h"
#include "tests/speech/AlsaFileSink.h"

namespace tarvane {
namespace {

// A tone of `milliseconds` as 16-bit little-endian samples.
Bytes tone(std::uint32_t sampleRate, int milliseconds, double frequency) {
    const std::size_t count = sampleRate * static_cast<std::size_t>(milliseconds) / 1000;
    Bytes samples;
    samples.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        const double phase = 2.0 * M_PI * frequency * static_cast<double>(i) / sampleRate;
        const auto value = static_cast<std::int16_t>(12000 * std::sin(phase));
        samples.push_back(static_cast<std::uint8_t>(value));
        samples.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(value) >> 8));
    }
    return samples;
}

class AlsaCaptureTest : public ::testing::Test {
protected:
    AlsaCaptureTest() { clearCaptured(); }
};

TEST_F(AlsaCaptureTest, PlayedSamplesArriveUnchanged) {
    const Bytes samples = tone(16000, 500, 440);
    AlsaAudioOutput output;
    {
        // The caller's image is gone as soon as the call returns.
        auto image = std::make_unique<Bytes>(buildWavImage(samples, 16000));
        output.playWavImage(*image);
    }
    output.waitUntilSilent();
    EXPECT_EQ(readCaptured(16000), samples);
}

TEST_F(AlsaCaptureTest, OverlappingSoundsEachPlayToTheirEnd) {
    const Bytes low = tone(8000, 400, 300);
    const Bytes high = tone(16000, 400, 600);
    AlsaAudioOutput output;
    output.playWavImage(buildWavImage(low, 8000));
    // Started at once, while the first may still be playing.
    output.playWavImage(buildWavImage(high, 16000));
    output.waitUntilSilent();
    EXPECT_EQ(readCaptured(8000), low);
    EXPECT_EQ(readCaptured(16000), high);
}

TEST_F(AlsaCaptureTest, NothingPlayableOpensNoDevice) {
    AlsaAudioOutput output;
    output.playWavImage(buildWavImage({}, 16000));
    output.playWavImage({});
    output.waitUntilSilent();
    EXPECT_FALSE(std::filesystem::exists(capturedFile(16000)));
}

TEST_F(AlsaCaptureTest, MissingDeviceGivesSilence) {
    AlsaAudioOutput output("tarvane_no_such_device");
    output.playWavImage(buildWavImage(tone(8000, 100, 300), 8000));
    output.waitUntilSilent();
    EXPECT_FALSE(std::filesystem::exists(capturedFile(8000)));
}

TEST_F(AlsaCaptureTest, ClosingWithSoundsStillQueuedDoesNotHang) {
    auto output = std::make_unique<AlsaAudioOutput>();
    for (int i = 0; i < 3; ++i) {
        output->playWavImage(buildWavImage(tone(16000, 300, 500), 16000));
    }
    output.reset();
    SUCCEED();
}

}  // namespace
}  // namespace tarvane
