#pragma once

// Passes every call through to the real speech library and notes when the
// steps of one synthesis run happened.

#include <chrono>
#include <cstddef>

#include "speech/SpeechSdk.h"
#include "text/Text.h"

namespace tarvane {

class TimingSpeechSdk final : public SpeechSdk {
public:
    using Moment = std::chrono::steady_clock::time_point;

    // One run, from the session's begin to the last chunk. A moment that
    // did not happen stays at the epoch.
    struct Run {
        Moment sessionBegun{};
        Moment textPutStart{};
        Moment textPutEnd{};
        Moment firstChunk{};
        Moment lastChunk{};
        Text text;  // as put, code page 936
        std::size_t audioBytes = 0;
        int polls = 0;
        int chunks = 0;  // polls that brought audio
    };

    // `inner` must outlive this object.
    explicit TimingSpeechSdk(SpeechSdk& inner) : m_inner(inner) {}

    // Forgets the previous run.
    void startRun() { m_run = {}; }
    [[nodiscard]] const Run& run() const { return m_run; }

    std::int32_t init(const char* config) override { return m_inner.init(config); }
    const char* sessionBegin(const char* params, std::int32_t* errorCode) override;
    std::int32_t textPut(const char* sessionId, const char* text, std::uint32_t length,
                         const char* params) override;
    const void* audioGet(const char* sessionId, std::uint32_t* audioLength,
                         std::int32_t* audioStatus, std::int32_t* errorCode) override;
    std::int32_t sessionEnd(const char* sessionId, const char* hints) override {
        return m_inner.sessionEnd(sessionId, hints);
    }
    std::int32_t fini() override { return m_inner.fini(); }

private:
    SpeechSdk& m_inner;
    Run m_run;
};

}  // namespace tarvane
