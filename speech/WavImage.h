#pragma once

#include <cstdint>

#include "text/Text.h"

namespace tarvane {

// A 44-byte RIFF/WAVE header for 16-bit mono PCM followed by the samples,
// unchanged; no pad byte, also for an odd length.
[[nodiscard]] Bytes buildWavImage(const Bytes& audio, std::int32_t sampleRate);

}  // namespace tarvane
