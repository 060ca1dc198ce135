#include "SpeechEngine.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <locale.h>
#include <clocale>
#include <mutex>

namespace speechlib {

namespace {

// Samples per callback, in milliseconds of audio: small enough for a quick
// first chunk, large enough to keep the per-block work negligible.
constexpr int kBufferMilliseconds = 60;

std::mutex s_engineMutex;
bool s_engineLoaded = false;  // guarded by s_engineMutex
bool s_engineHeld = false;    // guarded by s_engineMutex
// The sink of the synthesis under way; only the engine's thread touches it.
const SpeechEngine::SampleSink* s_activeSink = nullptr;
bool s_stopRequested = false;

int onSamples(short* samples, int count, espeak_EVENT* /*events*/) {
    if (s_activeSink == nullptr || samples == nullptr || count <= 0) {
        return 0;
    }
    const bool goOn =
        (*s_activeSink)(std::span<const std::int16_t>(samples, static_cast<std::size_t>(count)));
    s_stopRequested = s_stopRequested || !goOn;
    return goOn ? 0 : 1;
}

bool loadEngine() {
    // Loading sets the process's character-type locale; the host program's
    // own setting is put back, and the engine's thread gets its own instead.
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::string hostLocale = current != nullptr ? current : "C";
    espeak_ng_InitializePath(nullptr);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    espeak_ng_STATUS status = espeak_ng_Initialize(&context);
    espeak_ng_ClearErrorContext(&context);
    std::setlocale(LC_CTYPE, hostLocale.c_str());
    if (status == ENS_OK) {
        status =
            espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, kBufferMilliseconds, nullptr);
    }
    if (status != ENS_OK) {
        return false;
    }
    espeak_SetSynthCallback(&onSamples);
    return true;
}

}  // namespace

std::unique_ptr<SpeechEngine> SpeechEngine::acquire() {
    std::lock_guard lock(s_engineMutex);
    if (s_engineHeld) {
        return nullptr;
    }
    if (!s_engineLoaded) {
        s_engineLoaded = loadEngine();
        if (!s_engineLoaded) {
            return nullptr;
        }
    }
    s_engineHeld = true;
    return std::unique_ptr<SpeechEngine>(new SpeechEngine(espeak_ng_GetSampleRate()));
}

SpeechEngine::SpeechEngine(int sampleRate)
    : m_sampleRate(sampleRate),
      // The engine classifies characters through the C library, which needs a
      // UTF-8 locale to know Chinese letters from punctuation.
      m_threadLocale(newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr)) {
    if (m_threadLocale != nullptr) {
        m_previousLocale = uselocale(m_threadLocale);
    }
}

SpeechEngine::~SpeechEngine() {
    if (m_threadLocale != nullptr) {
        uselocale(m_previousLocale);
        freelocale(m_threadLocale);
    }
    std::lock_guard lock(s_engineMutex);
    s_engineHeld = false;
}

bool SpeechEngine::selectVoice(const std::string& name) {
    // Selecting again even the same voice is what resets the speaking state
    // that markup leaves behind (rate, pauses); it costs under a millisecond.
    // After a failed selection the engine has no usable voice, and speaking
    // without one crashes it.
    m_hasVoice = espeak_ng_SetVoiceByName(name.c_str()) == ENS_OK;
    return m_hasVoice;
}

void SpeechEngine::setProsody(int wordsPerMinute, int pitch, int pitchRange) {
    espeak_ng_SetParameter(espeakRATE, wordsPerMinute, 0);
    espeak_ng_SetParameter(espeakPITCH, pitch, 0);
    espeak_ng_SetParameter(espeakRANGE, pitchRange, 0);
    // Volume is applied afterwards, where 0 can be true silence.
    espeak_ng_SetParameter(espeakVOLUME, 100, 0);
}

SpeechEngine::Outcome SpeechEngine::synthesize(const std::string& utf8, Markup markup,
                                               const SampleSink& sink) {
    if (!m_hasVoice) {
        return Outcome::Failed;
    }
    unsigned flags = espeakCHARS_UTF8;
    if (markup == Markup::Ssml) {
        flags |= espeakSSML;
    }
    s_activeSink = &sink;
    s_stopRequested = false;
    const espeak_ng_STATUS status = espeak_ng_Synthesize(utf8.c_str(), utf8.size() + 1, 0,
                                                         POS_CHARACTER, 0, flags, nullptr, nullptr);
    s_activeSink = nullptr;
    if (s_stopRequested) {
        return Outcome::Stopped;
    }
    return status == ENS_OK ? Outcome::Completed : Outcome::Failed;
}

std::optional<std::string> SpeechEngine::phonemes(const std::string& utf8) {
    if (!m_hasVoice) {
        return std::nullopt;
    }
    std::string result;
    const void* position = utf8.c_str();
    while (position != nullptr) {
        const char* clause = espeak_TextToPhonemes(&position, espeakCHARS_UTF8, 0);
        if (clause != nullptr) {
            result += clause;
            result += ' ';
        }
    }
    return result;
}

}  // namespace speechlib
