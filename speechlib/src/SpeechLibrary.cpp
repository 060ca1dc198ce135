#include "SpeechLibrary.h"

#include <cstdio>

#include "TextDecoder.h"
#include "msc.h"

namespace speechlib {

namespace {

void report(std::int32_t* location, std::int32_t code) {
    if (location != nullptr) {
        *location = code;
    }
}

std::string sessionIdFor(std::uint64_t number) {
    char id[32];
    std::snprintf(id, sizeof id, "tts-%06llu", static_cast<unsigned long long>(number));
    return id;
}

}  // namespace

std::int32_t SpeechLibrary::init(const char* configs) {
    if (configs == nullptr) {
        return MSC_ERROR_INVALID_ARGUMENT;
    }
    std::lock_guard lock(m_mutex);
    if (m_worker) {
        return MSC_ERROR_ALREADY_INITIALIZED;
    }
    auto config = parseSdkConfig(configs);
    if (!config) {
        return MSC_ERROR_INVALID_CONFIG;
    }
    m_worker = SynthesisWorker::start();
    if (!m_worker) {
        return MSC_ERROR_ENGINE;
    }
    m_config = std::move(config);
    return MSC_SUCCESS;
}

const char* SpeechLibrary::sessionBegin(const char* params, std::int32_t* errorCode) {
    std::lock_guard lock(m_mutex);
    if (!m_worker) {
        report(errorCode, MSC_ERROR_NOT_INITIALIZED);
        return nullptr;
    }
    const auto settings = parseSessionParams(params == nullptr ? "" : params);
    if (!settings) {
        report(errorCode, MSC_ERROR_INVALID_PARAMS);
        return nullptr;
    }
    auto session = std::make_shared<Session>(sessionIdFor(++m_sessionCount), *settings);
    const char* id = session->id().c_str();
    m_sessions.emplace(session->id(), std::move(session));
    report(errorCode, MSC_SUCCESS);
    return id;
}

std::int32_t SpeechLibrary::textPut(const char* sessionId, const char* text,
                                    std::uint32_t textLength, const char* params) {
    std::lock_guard lock(m_mutex);
    if (!m_worker) {
        return MSC_ERROR_NOT_INITIALIZED;
    }
    if (sessionId == nullptr || text == nullptr || (params != nullptr && *params != '\0')) {
        return MSC_ERROR_INVALID_ARGUMENT;
    }
    const std::shared_ptr<Session> session = findSession(sessionId);
    if (!session) {
        return MSC_ERROR_UNKNOWN_SESSION;
    }
    if (textLength > m_config->maxTextSize) {
        return MSC_ERROR_TEXT_TOO_LONG;
    }
    const SessionSettings& settings = session->settings();
    auto utf8 = decodeToUtf8(boundedText(text, textLength, settings.encoding), settings.encoding);
    if (!utf8) {
        return MSC_ERROR_TEXT_ENCODING;
    }
    if (utf8->empty()) {
        return MSC_ERROR_EMPTY_TEXT;
    }
    if (!session->stream()->begin()) {
        return MSC_ERROR_BUSY;
    }
    try {
        m_worker->enqueue(SynthesisJob{settings, std::move(*utf8), session->stream()});
    } catch (...) {
        // A begun stream that no job will finish would keep its caller polling.
        session->stream()->finish({}, MSC_ERROR_OUT_OF_MEMORY);
        throw;
    }
    return MSC_SUCCESS;
}

const void* SpeechLibrary::audioGet(const char* sessionId, std::uint32_t* audioLength,
                                    std::int32_t* audioStatus, std::int32_t* errorCode) {
    if (audioLength != nullptr) {
        *audioLength = 0;
    }
    // Whatever goes wrong ends the caller's polling loop: "no more audio".
    if (audioStatus != nullptr) {
        *audioStatus = MSC_AUDIO_COMPLETE;
    }
    if (sessionId == nullptr || audioLength == nullptr || audioStatus == nullptr) {
        report(errorCode, MSC_ERROR_INVALID_ARGUMENT);
        return nullptr;
    }
    std::shared_ptr<Session> session;
    {
        std::lock_guard lock(m_mutex);
        if (!m_worker) {
            report(errorCode, MSC_ERROR_NOT_INITIALIZED);
            return nullptr;
        }
        session = findSession(sessionId);
    }
    if (!session) {
        report(errorCode, MSC_ERROR_UNKNOWN_SESSION);
        return nullptr;
    }
    // Wait outside the library lock, so other sessions and calls go on.
    const Session::Audio audio = session->takeAudio(kAudioWait);
    *audioLength = audio.length;
    *audioStatus = audio.status;
    report(errorCode, audio.error);
    return audio.data;
}

std::int32_t SpeechLibrary::sessionEnd(const char* sessionId) {
    std::shared_ptr<Session> session;
    {
        std::lock_guard lock(m_mutex);
        if (!m_worker) {
            return MSC_ERROR_NOT_INITIALIZED;
        }
        if (sessionId == nullptr) {
            return MSC_ERROR_INVALID_ARGUMENT;
        }
        const auto found = m_sessions.find(std::string_view(sessionId));
        if (found == m_sessions.end()) {
            return MSC_ERROR_UNKNOWN_SESSION;
        }
        session = std::move(found->second);
        m_sessions.erase(found);
    }
    session->stream()->cancel();
    return MSC_SUCCESS;
}

std::int32_t SpeechLibrary::fini() {
    std::lock_guard lock(m_mutex);
    if (!m_worker) {
        return MSC_ERROR_NOT_INITIALIZED;
    }
    for (auto& [id, session] : m_sessions) {
        session->stream()->cancel();
    }
    m_sessions.clear();
    m_worker.reset();
    m_config.reset();
    return MSC_SUCCESS;
}

std::shared_ptr<Session> SpeechLibrary::findSession(const char* sessionId) const {
    if (sessionId == nullptr) {
        return nullptr;
    }
    const auto found = m_sessions.find(std::string_view(sessionId));
    return found == m_sessions.end() ? nullptr : found->second;
}

}  // namespace speechlib
