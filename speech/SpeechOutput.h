#pragma once

// Wraps collected PCM audio as a WAV image, plays it and, when the hidden
// save option is ticked, writes it to the program's folder.

#include "text/Text.h"

namespace tarvane {

class AudioOutput;
class FileSystem;
class SynthesisSettings;
class Toolkit;

class SpeechOutput {
public:
    SpeechOutput(Toolkit& window, const SynthesisSettings& settings, AudioOutput& audio,
                 FileSystem& files);
    virtual ~SpeechOutput() = default;

    virtual void outputSpeech(const Bytes& audio);

private:
    Toolkit& m_window;
    const SynthesisSettings& m_settings;
    AudioOutput& m_audio;
    FileSystem& m_files;
};

}  // namespace tarvane
