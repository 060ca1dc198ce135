#pragma once

// Fakes for a month-long run: they keep counts, never a growing record, so
// the memory a run holds can be compared from day to day.

#include <cstdint>
#include <set>
#include <string>

#include "platform/AudioOutput.h"
#include "platform/FileSystem.h"
#include "platform/HttpClient.h"
#include "speech/SpeechSdk.h"

namespace tarvane {

// A speech library that answers every session with two chunks of audio and
// tracks which sessions are open.
class CountingSpeechSdk : public SpeechSdk {
public:
    std::int32_t init(const char*) override { return 0; }
    const char* sessionBegin(const char* params, std::int32_t* errorCode) override;
    std::int32_t textPut(const char* sessionId, const char* text, std::uint32_t length,
                         const char* params) override;
    const void* audioGet(const char* sessionId, std::uint32_t* audioLength,
                         std::int32_t* audioStatus, std::int32_t* errorCode) override;
    std::int32_t sessionEnd(const char* sessionId, const char* hints) override;
    std::int32_t fini() override;

    [[nodiscard]] std::uint64_t sessionsBegun() const { return m_begun; }
    [[nodiscard]] std::uint64_t sessionsEnded() const { return m_ended; }
    [[nodiscard]] std::uint64_t textsPut() const { return m_textsPut; }
    [[nodiscard]] std::size_t openSessions() const { return m_open.size(); }
    // Calls made on a session that was not open: always a fault.
    [[nodiscard]] std::uint64_t strayCalls() const { return m_stray; }
    [[nodiscard]] bool finalised() const { return m_finalised; }

private:
    std::set<std::string> m_open;
    std::string m_lastId;
    std::uint64_t m_begun = 0;
    std::uint64_t m_ended = 0;
    std::uint64_t m_textsPut = 0;
    std::uint64_t m_stray = 0;
    int m_pollsLeft = 0;
    bool m_finalised = false;
    std::uint8_t m_chunk[640] = {};
};

class CountingHttpClient : public HttpClient {
public:
    [[nodiscard]] Bytes get(const HttpRequest& request) override;
    [[nodiscard]] std::uint64_t fetches() const { return m_fetches; }

private:
    std::uint64_t m_fetches = 0;
};

class CountingAudioOutput : public AudioOutput {
public:
    void playWavImage(const Bytes& wavImage) override;
    [[nodiscard]] std::uint64_t plays() const { return m_plays; }
    [[nodiscard]] std::uint64_t bytesPlayed() const { return m_bytes; }

private:
    std::uint64_t m_plays = 0;
    std::uint64_t m_bytes = 0;
};

// The save option stays unticked, so nothing may ever be written.
class RefusingFileSystem : public FileSystem {
public:
    [[nodiscard]] Text programFolder() const override { return "/nonexistent"; }
    [[nodiscard]] Text pathSeparator() const override { return "/"; }
    [[nodiscard]] bool writeWholeFile(const Text&, const Bytes&) override {
        ++m_writes;
        return false;
    }
    [[nodiscard]] std::uint64_t writes() const { return m_writes; }

private:
    std::uint64_t m_writes = 0;
};

}  // namespace tarvane
