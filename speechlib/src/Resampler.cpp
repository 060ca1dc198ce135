#include "Resampler.h"

#include <soxr.h>

namespace speechlib {

std::unique_ptr<Resampler> Resampler::create(int inputRate, int outputRate) {
    if (inputRate <= 0 || outputRate <= 0) {
        return nullptr;
    }
    const soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_error_t error = nullptr;
    soxr_t handle = soxr_create(inputRate, outputRate, 1, &error, &io, &quality, nullptr);
    if (error != nullptr || handle == nullptr) {
        soxr_delete(handle);
        return nullptr;
    }
    return std::unique_ptr<Resampler>(
        new Resampler(handle, static_cast<double>(outputRate) / inputRate));
}

Resampler::~Resampler() {
    soxr_delete(m_handle);
}

bool Resampler::process(std::span<const std::int16_t> input, std::vector<float>& out) {
    // A null input would mean end of stream to the converter.
    if (input.empty()) {
        return true;
    }
    return run(input.data(), input.size(), out);
}

bool Resampler::flush(std::vector<float>& out) {
    return run(nullptr, 0, out);
}

bool Resampler::run(const std::int16_t* input, std::size_t length, std::vector<float>& out) {
    std::size_t consumed = 0;
    for (;;) {
        const std::size_t room = static_cast<std::size_t>((length - consumed) * m_ratio) + 256;
        const std::size_t start = out.size();
        out.resize(start + room);
        std::size_t used = 0;
        std::size_t made = 0;
        const soxr_error_t error =
            soxr_process(m_handle, input == nullptr ? nullptr : input + consumed, length - consumed,
                         &used, out.data() + start, room, &made);
        out.resize(start + made);
        if (error != nullptr) {
            return false;
        }
        consumed += used;
        // A full output buffer may mean more is waiting inside the filter.
        if (consumed == length && made < room) {
            return true;
        }
    }
}

}  // namespace speechlib
