#include "tests/soak/SoakFakes.h"

#include <string_view>

namespace tarvane {

const char* CountingSpeechSdk::sessionBegin(const char*, std::int32_t* errorCode) {
    if (errorCode != nullptr) {
        *errorCode = 0;
    }
    ++m_begun;
    m_lastId = "soak-" + std::to_string(m_begun);
    m_open.insert(m_lastId);
    return m_lastId.c_str();
}

std::int32_t CountingSpeechSdk::textPut(const char* sessionId, const char*, std::uint32_t,
                                        const char*) {
    if (m_open.count(sessionId) == 0) {
        ++m_stray;
        return 1;
    }
    ++m_textsPut;
    m_pollsLeft = 2;
    return 0;
}

const void* CountingSpeechSdk::audioGet(const char* sessionId, std::uint32_t* audioLength,
                                        std::int32_t* audioStatus, std::int32_t* errorCode) {
    *errorCode = 0;
    if (m_open.count(sessionId) == 0) {
        ++m_stray;
        *audioLength = 0;
        *audioStatus = kAudioStatusComplete;
        return nullptr;
    }
    --m_pollsLeft;
    *audioLength = sizeof m_chunk;
    *audioStatus = m_pollsLeft <= 0 ? kAudioStatusComplete : 1;
    return m_chunk;
}

std::int32_t CountingSpeechSdk::sessionEnd(const char* sessionId, const char*) {
    if (m_open.erase(sessionId) == 0) {
        ++m_stray;
        return 1;
    }
    ++m_ended;
    return 0;
}

std::int32_t CountingSpeechSdk::fini() {
    m_finalised = true;
    return 0;
}

Bytes CountingHttpClient::get(const HttpRequest& request) {
    ++m_fetches;
    if (request.path.rfind("/x3/weather", 0) == 0) {
        const std::string_view reply =
            R"({"daily":[{"cond":{"txt_d":"多云","txt_n":"阴"},"tmp":{"max":"25","min":"18"}}]})";
        return Bytes(reply.begin(), reply.end());
    }
    const std::string_view notice = "notice";
    return Bytes(notice.begin(), notice.end());
}

void CountingAudioOutput::playWavImage(const Bytes& wavImage) {
    ++m_plays;
    m_bytes += wavImage.size();
}

}  // namespace tarvane
