// A stand-in speech library for the binding tests: the six entry points as C
// functions, answering in ways a test can check through the binding. Built
// a second time without QTTSAudioGet to show a missing entry point.

#include <cstdint>
#include <cstring>
#include <string>

namespace {

std::string lastSessionId;
const std::int16_t kSamples[] = {100, -100, 200, -200};

}  // namespace

extern "C" {

// The length of the configuration text, so the test sees it arrived whole.
std::int32_t QTTSInit(const char* config) {
    return static_cast<std::int32_t>(std::strlen(config));
}

// "session:" and the parameters; sets a non-null error code to 0.
const char* QTTSSessionBegin(const char* params, std::int32_t* errorCode) {
    if (errorCode != nullptr) {
        *errorCode = 0;
    }
    lastSessionId = std::string("session:") + params;
    return lastSessionId.c_str();
}

// Accepts only the id it gave and a length that matches the text.
std::int32_t QTTSTextPut(const char* sessionId, const char* text, std::uint32_t length,
                         const char* params) {
    if (lastSessionId != sessionId || std::strlen(text) != length || params == nullptr) {
        return 10106;
    }
    return 0;
}

#ifndef TARVANE_FAKE_LIBRARY_WITHOUT_AUDIO_GET
// All of the audio at once, marked as the last chunk.
const void* QTTSAudioGet(const char*, std::uint32_t* audioLength, std::int32_t* audioStatus,
                         std::int32_t* errorCode) {
    *audioLength = sizeof kSamples;
    *audioStatus = 2;
    *errorCode = 0;
    return kSamples;
}
#endif

// 0 for the id it gave, else an error.
std::int32_t QTTSSessionEnd(const char* sessionId, const char* hints) {
    return lastSessionId == sessionId && hints != nullptr ? 0 : 10108;
}

std::int32_t QTTSFini() {
    return 0;
}

}  // extern "C"
