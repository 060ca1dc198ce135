#pragma once

#include "text/Text.h"

namespace tarvane {

// The default sound output.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Starts playing a WAV image held in memory and returns at once. Works on
    // its own copy, plays once, neither stops nor waits for an earlier sound,
    // and reports nothing: a machine without sound just stays silent.
    virtual void playWavImage(const Bytes& wavImage) = 0;
};

}  // namespace tarvane
