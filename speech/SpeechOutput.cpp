#include "speech/SpeechOutput.h"

#include "app/SynthesisSettings.h"
#include "literals/speech_literals.h"
#include "platform/AudioOutput.h"
#include "platform/FileSystem.h"
#include "platform/Toolkit.h"
#include "speech/WavImage.h"

namespace tarvane {

using namespace literals_speech;

SpeechOutput::SpeechOutput(Toolkit& window, const SynthesisSettings& settings, AudioOutput& audio,
                           FileSystem& files)
    : m_window(window), m_settings(settings), m_audio(audio), m_files(files) {}

void SpeechOutput::outputSpeech(const Bytes& audio) {
    // The rate is read now, not when the session began: the image says what
    // the list shows at this moment.
    const Bytes image = buildWavImage(audio, m_settings.sampleRate());
    m_audio.playWavImage(image);
    m_window.setStatusText(kSynthesised);
    if (!m_window.isTicked(ControlName::选择框1)) {
        return;
    }
    const Text path = m_files.programFolder() + m_files.pathSeparator() + kWavFileName;
    // A failed save is not reported: the status keeps "语音已合成" and the
    // next announcement tries again.
    if (m_files.writeWholeFile(path, image)) {
        m_window.setStatusText(kSavedInProgramFolder);
    }
}

}  // namespace tarvane
