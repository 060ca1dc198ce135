#include "bench/TimingSpeechSdk.h"

namespace tarvane {

namespace {

TimingSpeechSdk::Moment now() {
    return std::chrono::steady_clock::now();
}

}  // namespace

const char* TimingSpeechSdk::sessionBegin(const char* params, std::int32_t* errorCode) {
    const char* id = m_inner.sessionBegin(params, errorCode);
    m_run.sessionBegun = now();
    return id;
}

std::int32_t TimingSpeechSdk::textPut(const char* sessionId, const char* text, std::uint32_t length,
                                      const char* params) {
    m_run.textPutStart = now();
    const std::int32_t result = m_inner.textPut(sessionId, text, length, params);
    m_run.textPutEnd = now();
    m_run.text.assign(text, length);
    return result;
}

const void* TimingSpeechSdk::audioGet(const char* sessionId, std::uint32_t* audioLength,
                                      std::int32_t* audioStatus, std::int32_t* errorCode) {
    const void* chunk = m_inner.audioGet(sessionId, audioLength, audioStatus, errorCode);
    const Moment at = now();
    ++m_run.polls;
    if (chunk != nullptr && audioLength != nullptr && *audioLength != 0) {
        if (m_run.audioBytes == 0) {
            m_run.firstChunk = at;
        }
        m_run.audioBytes += *audioLength;
        ++m_run.chunks;
    }
    if (audioStatus != nullptr && *audioStatus == kAudioStatusComplete) {
        m_run.lastChunk = at;
    }
    return chunk;
}

}  // namespace tarvane
