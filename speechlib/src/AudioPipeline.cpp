#include "AudioPipeline.h"

#include <algorithm>
#include <cmath>

namespace speechlib {

namespace {

constexpr double kBedFadeOutSeconds = 0.3;

std::int16_t toSample(float value) {
    // Clamp before converting: speech near full scale plus the bed may pass
    // 1.0, and an out-of-range conversion would wrap to the other extreme.
    const float scaled = std::clamp(value, -1.0f, 1.0f) * 32767.0f;
    return static_cast<std::int16_t>(std::lrint(scaled));
}

}  // namespace

std::unique_ptr<AudioPipeline> AudioPipeline::create(int inputRate, int outputRate, double gain,
                                                     BackgroundSound background) {
    auto resampler = Resampler::create(inputRate, outputRate);
    if (!resampler) {
        return nullptr;
    }
    return std::unique_ptr<AudioPipeline>(
        new AudioPipeline(std::move(resampler), outputRate, gain, background));
}

AudioPipeline::AudioPipeline(std::unique_ptr<Resampler> resampler, int outputRate, double gain,
                             BackgroundSound background)
    : m_resampler(std::move(resampler)),
      m_outputRate(outputRate),
      m_gain(static_cast<float>(gain)) {
    if (background == BackgroundSound::On) {
        m_bed.emplace(outputRate);
    }
}

std::optional<std::vector<std::int16_t>> AudioPipeline::process(
    std::span<const std::int16_t> input) {
    m_scratch.clear();
    if (!m_resampler->process(input, m_scratch)) {
        return std::nullopt;
    }
    return toPcm(m_scratch);
}

std::optional<std::vector<std::int16_t>> AudioPipeline::finish() {
    m_scratch.clear();
    if (!m_resampler->flush(m_scratch)) {
        return std::nullopt;
    }
    std::vector<std::int16_t> pcm = toPcm(m_scratch);
    if (m_bed) {
        const int fadeLength = static_cast<int>(m_outputRate * kBedFadeOutSeconds);
        for (int remaining = fadeLength; remaining > 0; --remaining) {
            pcm.push_back(toSample(m_gain * m_bed->nextFadingOut(remaining, fadeLength)));
        }
    }
    return pcm;
}

std::vector<std::int16_t> AudioPipeline::toPcm(std::span<const float> speech) {
    std::vector<std::int16_t> pcm;
    pcm.reserve(speech.size());
    for (const float sample : speech) {
        const float bed = m_bed ? m_bed->next() : 0.0f;
        pcm.push_back(toSample(m_gain * (sample + bed)));
    }
    return pcm;
}

}  // namespace speechlib
