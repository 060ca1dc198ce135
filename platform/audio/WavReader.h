#pragma once

#include <cstdint>
#include <optional>

#include "text/Text.h"

namespace tarvane {

// Little-endian 16-bit PCM samples, interleaved when there is more than one
// channel.
struct PcmSound {
    std::uint32_t sampleRate = 0;
    std::uint16_t channels = 0;
    Bytes samples;
};

// The sound inside a RIFF/WAVE image of 16-bit PCM, as a copy. Chunks other
// than "fmt " and "data" are skipped; a data chunk that claims more bytes
// than the image holds is cut to what is there. Nothing for an image that is
// not 16-bit PCM or that holds no whole sample frame.
[[nodiscard]] std::optional<PcmSound> readWavImage(const Bytes& image);

}  // namespace tarvane
