#include "Session.h"

namespace speechlib {

Session::Session(std::string id, const SessionSettings& settings)
    : m_id(std::move(id)), m_settings(settings) {}

Session::~Session() {
    m_stream->cancel();
}

Session::Audio Session::takeAudio(std::chrono::milliseconds wait) {
    // Two threads asking at once must not free each other's chunk mid-copy.
    std::lock_guard lock(m_takeMutex);
    AudioStream::Chunk chunk = m_stream->take(wait);
    m_handedOut = std::move(chunk.samples);
    Audio audio;
    audio.status = chunk.status;
    audio.error = chunk.error;
    if (!m_handedOut.empty()) {
        audio.data = m_handedOut.data();
        audio.length = static_cast<std::uint32_t>(m_handedOut.size() * sizeof(std::int16_t));
    }
    return audio;
}

}  // namespace speechlib
