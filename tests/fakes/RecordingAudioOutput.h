#pragma once

#include <vector>

#include "platform/AudioOutput.h"

namespace tarvane {

// An audio output that keeps a copy of every image it was asked to play.
class RecordingAudioOutput : public AudioOutput {
public:
    void playWavImage(const Bytes& wavImage) override { m_played.push_back(wavImage); }

    [[nodiscard]] const std::vector<Bytes>& played() const { return m_played; }

private:
    std::vector<Bytes> m_played;
};

}  // namespace tarvane
