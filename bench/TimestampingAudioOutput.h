#pragma once

// A sound output that notes the moment each WAV image is handed to it. The
// program hands over the whole image at once, so that moment is when the
// first sample reaches the sound output.

#include <chrono>
#include <vector>

#include "platform/AudioOutput.h"

namespace tarvane {

class TimestampingAudioOutput final : public AudioOutput {
public:
    using Moment = std::chrono::steady_clock::time_point;

    struct Play {
        Moment at;
        Bytes wavImage;
    };

    void playWavImage(const Bytes& wavImage) override {
        // The moment first: copying the image is the bench's cost, not the
        // program's.
        const Moment at = std::chrono::steady_clock::now();
        m_plays.push_back({at, wavImage});
    }

    // The images handed over since the last call, oldest first.
    [[nodiscard]] std::vector<Play> takePlays() {
        std::vector<Play> plays;
        plays.swap(m_plays);
        return plays;
    }

private:
    std::vector<Play> m_plays;
};

}  // namespace tarvane
