#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "AudioStream.h"
#include "SessionSettings.h"

namespace speechlib {

// One open session: its id, its settings, and the audio on its way out.
class Session {
public:
    // What one audio request hands back: `data` stays valid until the next
    // request on this session or the session's end.
    struct Audio {
        const void* data = nullptr;
        std::uint32_t length = 0;  // bytes
        std::int32_t status = 0;
        std::int32_t error = 0;
    };

    Session(std::string id, const SessionSettings& settings);
    // Stops any synthesis still running for this session.
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    [[nodiscard]] const std::string& id() const { return m_id; }
    [[nodiscard]] const SessionSettings& settings() const { return m_settings; }
    // Shared with the synthesis thread, which may outlive the session briefly.
    [[nodiscard]] const std::shared_ptr<AudioStream>& stream() const { return m_stream; }

    [[nodiscard]] Audio takeAudio(std::chrono::milliseconds wait);

private:
    std::string m_id;
    SessionSettings m_settings;
    std::shared_ptr<AudioStream> m_stream = std::make_shared<AudioStream>();
    std::mutex m_takeMutex;
    std::vector<std::int16_t> m_handedOut;
};

}  // namespace speechlib
