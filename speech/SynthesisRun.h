#pragma once

// One synthesis run: begin a speech session with the current settings, put
// the announcement text, collect the audio chunk by chunk and hand it to the
// speech output. Owns the held session id between runs.

#include <chrono>
#include <cstdint>
#include <functional>

#include "speech/SpeechSdk.h"
#include "text/Text.h"

namespace tarvane {

class SynthesisSettings;
class SpeechOutput;
class Toolkit;

// Why a collection stopped.
enum class CollectionEnd {
    Complete,      // the library marked the last chunk
    LibraryError,  // the library reported a non-zero error code
    Silence,       // no chunk came within the silence limit
    ShutDown,      // the window closed during the collection
};

struct AudioCollection {
    Bytes audio;  // the chunks in the order received
    CollectionEnd end = CollectionEnd::Complete;
};

class SynthesisRun {
public:
    using SteadyClock = std::chrono::steady_clock;

    // How long the collection waits for a chunk before it gives up on a
    // library that has gone silent.
    static constexpr std::chrono::seconds kSilenceLimit{30};

    // What bounds a collection; tests shorten the limit or bring their own
    // time.
    struct Timing {
        std::chrono::milliseconds silenceLimit = kSilenceLimit;
        std::function<SteadyClock::time_point()> now = &SteadyClock::now;
    };

    // All references must outlive this object.
    SynthesisRun(SpeechSdk& sdk, Toolkit& window, const SynthesisSettings& settings,
                 SpeechOutput& output);
    SynthesisRun(SpeechSdk& sdk, Toolkit& window, const SynthesisSettings& settings,
                 SpeechOutput& output, Timing timing);

    // Ends the held session, if any, with "正常关闭"; 0 when none is held.
    // The held id is kept either way.
    std::int32_t endSession();
    // Ends the held session and begins a new one; true when one is held.
    // Refused (false, no call made) while a collection reads the held
    // session or after shutdownSpeech.
    bool beginSession();
    // Puts the text to the held session, collects the audio and outputs it.
    // Audio that did not come to its end is not played: the status bar then
    // reads "语音合成失败".
    void speakText(const Text& text);
    // Polls the held session until the library marks the last chunk,
    // reports an error, stays silent for the silence limit, or the window
    // closes. Each chunk is copied before window events are handled.
    [[nodiscard]] AudioCollection collectAudio();
    // At window close: ends the held session and finalises the library when
    // that succeeded. Only the first call does anything; afterwards the run
    // makes no more library calls.
    void shutdownSpeech();

    [[nodiscard]] const Text& sessionId() const { return m_sessionId; }
    // At process end: lets go of the held id's memory without any library
    // call; the session itself is left as it is.
    void releaseSessionId() { Text().swap(m_sessionId); }
    // True while a collection reads from the held session; nothing may end
    // that session meanwhile.
    [[nodiscard]] bool isCollecting() const { return m_collecting; }

private:
    SpeechSdk& m_sdk;
    Toolkit& m_window;
    const SynthesisSettings& m_settings;
    SpeechOutput& m_output;
    Timing m_timing;
    Text m_sessionId;
    bool m_collecting = false;
    bool m_shutDown = false;
};

}  // namespace tarvane
