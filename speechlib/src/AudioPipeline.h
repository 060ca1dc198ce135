#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "BackgroundBed.h"
#include "Resampler.h"
#include "SessionSettings.h"

namespace speechlib {

// Turns the engine's samples into what the caller asked for: the output
// rate, the volume, and the background bed if chosen, as 16-bit PCM.
class AudioPipeline {
public:
    // Null when no resampler can be made for these rates.
    [[nodiscard]] static std::unique_ptr<AudioPipeline> create(int inputRate, int outputRate,
                                                               double gain,
                                                               BackgroundSound background);

    // The output that `input` makes ready; null when the resampler fails.
    [[nodiscard]] std::optional<std::vector<std::int16_t>> process(
        std::span<const std::int16_t> input);
    // The rest of the output at the end of the speech, with the bed faded out.
    [[nodiscard]] std::optional<std::vector<std::int16_t>> finish();

private:
    AudioPipeline(std::unique_ptr<Resampler> resampler, int outputRate, double gain,
                  BackgroundSound background);
    [[nodiscard]] std::vector<std::int16_t> toPcm(std::span<const float> speech);

    std::unique_ptr<Resampler> m_resampler;
    int m_outputRate;
    float m_gain;
    std::optional<BackgroundBed> m_bed;
    std::vector<float> m_scratch;
};

}  // namespace speechlib
