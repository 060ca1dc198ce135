#pragma once

// One synthesis run: begin a speech session with the current settings, put
// the announcement text, collect the audio chunk by chunk and hand it to the
// speech output. Owns the held session id between runs.

#include <chrono>
#include <cstdint>

#include "speech/SpeechSdk.h"
#include "text/Text.h"

namespace tarvane {

class SynthesisSettings;
class SpeechOutput;
class Toolkit;

class SynthesisRun {
public:
    // How long the collection waits for a chunk before it gives up on a
    // library that has gone silent.
    static constexpr std::chrono::seconds kSilenceLimit{30};

    SynthesisRun(SpeechSdk& sdk, Toolkit& window, const SynthesisSettings& settings,
                 SpeechOutput& output);

    // Ends the held session, if any, with "正常关闭"; 0 when none is held.
    std::int32_t endSession();
    // Ends the held session and begins a new one; true when one is held.
    bool beginSession();
    // Puts the text to the held session, collects the audio and outputs it.
    void speakText(const Text& text);
    [[nodiscard]] Bytes collectAudio();
    // At window close: ends the held session and finalises the library when
    // that succeeded.
    void shutdownSpeech();

    [[nodiscard]] const Text& sessionId() const { return m_sessionId; }
    // True while a collection reads from the held session; nothing may end
    // that session meanwhile.
    [[nodiscard]] bool isCollecting() const { return m_collecting; }

private:
    SpeechSdk& m_sdk;
    Toolkit& m_window;
    const SynthesisSettings& m_settings;
    SpeechOutput& m_output;
    Text m_sessionId;
    bool m_collecting = false;
    bool m_shutDown = false;
};

}  // namespace tarvane
