#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "SdkConfig.h"
#include "Session.h"
#include "SynthesisWorker.h"

namespace speechlib {

// The state behind the six entry points: configuration, the synthesis
// thread and the open sessions. Safe to call from any thread; results and
// error codes are MscErrorCode values.
class SpeechLibrary {
public:
    // How long an audio request waits when no audio is ready: short enough
    // that a caller's loop stays responsive, long enough not to spin a core.
    static constexpr std::chrono::milliseconds kAudioWait{20};

    SpeechLibrary() = default;
    SpeechLibrary(const SpeechLibrary&) = delete;
    SpeechLibrary& operator=(const SpeechLibrary&) = delete;

    std::int32_t init(const char* configs);
    const char* sessionBegin(const char* params, std::int32_t* errorCode);
    std::int32_t textPut(const char* sessionId, const char* text, std::uint32_t textLength,
                         const char* params);
    const void* audioGet(const char* sessionId, std::uint32_t* audioLength,
                         std::int32_t* audioStatus, std::int32_t* errorCode);
    std::int32_t sessionEnd(const char* sessionId);
    std::int32_t fini();

private:
    [[nodiscard]] std::shared_ptr<Session> findSession(const char* sessionId) const;

    mutable std::mutex m_mutex;
    std::optional<SdkConfig> m_config;
    // Declared before the sessions so that it outlives them at destruction.
    std::unique_ptr<SynthesisWorker> m_worker;
    std::map<std::string, std::shared_ptr<Session>, std::less<>> m_sessions;
    // Never reset, so an id from before a restart cannot name a new session.
    std::uint64_t m_sessionCount = 0;
};

}  // namespace speechlib
