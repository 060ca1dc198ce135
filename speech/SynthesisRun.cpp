#include "speech/SynthesisRun.h"

#include <utility>

#include "app/SynthesisSettings.h"
#include "literals/speech_literals.h"
#include "platform/Toolkit.h"
#include "speech/SpeechOutput.h"

namespace tarvane {
namespace {

using namespace literals_speech;

// Marks a collection as under way for as long as it runs, on every path out.
class CollectingFlag {
public:
    explicit CollectingFlag(bool& flag) : m_flag(flag) { m_flag = true; }
    ~CollectingFlag() { m_flag = false; }
    CollectingFlag(const CollectingFlag&) = delete;
    CollectingFlag& operator=(const CollectingFlag&) = delete;

private:
    bool& m_flag;
};

}  // namespace

SynthesisRun::SynthesisRun(SpeechSdk& sdk, Toolkit& window, const SynthesisSettings& settings,
                           SpeechOutput& output)
    : SynthesisRun(sdk, window, settings, output, Timing{}) {}

SynthesisRun::SynthesisRun(SpeechSdk& sdk, Toolkit& window, const SynthesisSettings& settings,
                           SpeechOutput& output, Timing timing)
    : m_sdk(sdk),
      m_window(window),
      m_settings(settings),
      m_output(output),
      m_timing(std::move(timing)) {
    if (!m_timing.now) {
        m_timing.now = &SteadyClock::now;
    }
}

std::int32_t SynthesisRun::endSession() {
    if (m_sessionId.empty()) {
        return 0;
    }
    return m_sdk.sessionEnd(m_sessionId.c_str(), kNormalClose);
}

bool SynthesisRun::beginSession() {
    if (m_collecting || m_shutDown) {
        return false;
    }
    if (!m_sessionId.empty()) {
        (void)endSession();
    }
    const Text params = m_settings.buildSessionParams();
    const char* id = m_sdk.sessionBegin(params.c_str(), nullptr);
    // The library keeps the id's memory; our copy outlives it.
    m_sessionId = id != nullptr ? Text(id) : Text();
    return !m_sessionId.empty();
}

void SynthesisRun::speakText(const Text& text) {
    if (m_collecting || m_shutDown) {
        return;
    }
    const auto byteLength = static_cast<std::uint32_t>(text.size());
    if (m_sdk.textPut(m_sessionId.c_str(), text.c_str(), byteLength, "") != 0) {
        m_window.setStatusText(kTextPutFailed);
        return;
    }
    m_window.setStatusText(kTextPutAccepted);
    AudioCollection collection = collectAudio();
    switch (collection.end) {
        case CollectionEnd::Complete:
            m_output.outputSpeech(collection.audio);
            break;
        case CollectionEnd::LibraryError:
        case CollectionEnd::Silence:
            // A cut-off announcement would go out on the air mid-sentence
            // and read as a success; the partial audio is dropped instead.
            m_window.setStatusText(kSynthesisFailed);
            break;
        case CollectionEnd::ShutDown:
            // The window is closing: nothing more is shown or played.
            break;
    }
}

AudioCollection SynthesisRun::collectAudio() {
    AudioCollection collection;
    if (m_shutDown) {
        collection.end = CollectionEnd::ShutDown;
        return collection;
    }
    CollectingFlag collecting(m_collecting);
    std::int32_t status = 0;
    auto lastChunkAt = m_timing.now();
    while (status != kAudioStatusComplete) {
        std::uint32_t length = 0;
        std::int32_t errorCode = 0;
        const void* chunk = m_sdk.audioGet(m_sessionId.c_str(), &length, &status, &errorCode);
        if (chunk != nullptr && length != 0) {
            // Copied before events are handled: a handler may end the session,
            // and with it the library's memory.
            const auto* bytes = static_cast<const std::uint8_t*>(chunk);
            collection.audio.insert(collection.audio.end(), bytes, bytes + length);
            lastChunkAt = m_timing.now();
            m_window.setStatusText(kSynthesising);
            m_window.pumpEvents();
            if (m_shutDown) {
                collection.end = CollectionEnd::ShutDown;
                return collection;
            }
        }
        if (status == kAudioStatusComplete) {
            break;
        }
        if (errorCode != 0) {
            collection.end = CollectionEnd::LibraryError;
            return collection;
        }
        if (m_timing.now() - lastChunkAt >= m_timing.silenceLimit) {
            collection.end = CollectionEnd::Silence;
            return collection;
        }
    }
    collection.end = CollectionEnd::Complete;
    return collection;
}

void SynthesisRun::shutdownSpeech() {
    if (m_shutDown) {
        return;
    }
    m_shutDown = true;
    if (endSession() == 0) {
        (void)m_sdk.fini();
    }
}

}  // namespace tarvane
