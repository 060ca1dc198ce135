#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

struct soxr;

namespace speechlib {

// Streaming sample-rate conversion of 16-bit mono audio to float samples in
// [-1, 1], filtered properly rather than by dropping or repeating samples.
class Resampler {
public:
    // Null when the converter cannot be made for these rates.
    [[nodiscard]] static std::unique_ptr<Resampler> create(int inputRate, int outputRate);
    ~Resampler();
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    // Takes all of `input` and appends to `out` whatever output it makes
    // ready; the filter holds some back until more input or the flush.
    [[nodiscard]] bool process(std::span<const std::int16_t> input, std::vector<float>& out);
    // Appends the held-back output at the end of the input.
    [[nodiscard]] bool flush(std::vector<float>& out);

private:
    Resampler(soxr* handle, double ratio) : m_handle(handle), m_ratio(ratio) {}
    [[nodiscard]] bool run(const std::int16_t* input, std::size_t length, std::vector<float>& out);

    soxr* m_handle;
    double m_ratio;
};

}  // namespace speechlib
