#pragma once

// A speech library run by a script. Each entry point answers from its own
// queue; an empty queue gives the default answer noted on the method. Every
// call is recorded with its arguments, in order.
//
// Memory handed out (session ids, audio chunks) is scribbled over at the
// next call of any entry point, as a real library may reuse it, so a caller
// that keeps the pointer instead of a copy reads garbage.
//
//   FakeSpeechSdk sdk;
//   sdk.scriptSessionIds({"sid-1"});
//   sdk.scriptAudio({{Bytes{1, 2}, 2, 1, 0}, {std::nullopt, 0, 2, 0}});
//   ... run ...
//   EXPECT_EQ(sdk.calls()[0], (SdkCall{"QTTSSessionBegin", {params, std::nullopt}}));

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "speech/SpeechSdk.h"
#include "text/Text.h"

namespace tarvane {

// One call as the library saw it. Texts are copied as they arrived; a null
// pointer argument is nullopt, a non-null out-parameter reads "out", numbers
// are in decimal.
struct SdkCall {
    std::string entry;  // "QTTSInit", "QTTSSessionBegin", ...
    std::vector<std::optional<std::string>> arguments;

    bool operator==(const SdkCall&) const = default;
};

// What one QTTSAudioGet returns: `data` is the memory behind the returned
// pointer (nullopt for a null pointer), `length` goes to the length
// out-parameter as it stands, so a test can pair a pointer with length 0 or
// null with a non-zero length.
struct AudioPoll {
    std::optional<Bytes> data;
    std::uint32_t length = 0;
    std::int32_t status = 0;
    std::int32_t errorCode = 0;
};

class FakeSpeechSdk : public SpeechSdk {
public:
    FakeSpeechSdk();
    ~FakeSpeechSdk() override;

    // Results of QTTSInit; 0 when the queue is empty.
    void scriptInitResults(std::vector<std::int32_t> results);
    // Ids QTTSSessionBegin returns, nullopt for null; "session-N" counting
    // from 1 when the queue is empty.
    void scriptSessionIds(std::vector<std::optional<std::string>> ids);
    // Results of QTTSTextPut; 0 when the queue is empty.
    void scriptTextPutResults(std::vector<std::int32_t> results);
    // Answers of QTTSAudioGet. An empty queue answers as a library that has
    // gone silent: null, length 0, status 1, error 0.
    void scriptAudio(std::vector<AudioPoll> polls);
    // Results of QTTSSessionEnd; 0 when the queue is empty.
    void scriptSessionEndResults(std::vector<std::int32_t> results);
    // Runs inside every QTTSAudioGet, before it answers (to let time pass).
    void onAudioGet(std::function<void()> action) { m_onAudioGet = std::move(action); }

    [[nodiscard]] const std::vector<SdkCall>& calls() const { return m_calls; }
    // Forgets the calls recorded so far; scripts and handed-out memory stay.
    void clearCalls() { m_calls.clear(); }
    // The recorded calls of one entry point, in order.
    [[nodiscard]] std::vector<SdkCall> callsTo(const std::string& entry) const;
    [[nodiscard]] int countOf(const std::string& entry) const;
    // The entry point names of all calls, in order.
    [[nodiscard]] std::vector<std::string> entries() const;

    std::int32_t init(const char* config) override;
    const char* sessionBegin(const char* params, std::int32_t* errorCode) override;
    std::int32_t textPut(const char* sessionId, const char* text, std::uint32_t length,
                         const char* params) override;
    const void* audioGet(const char* sessionId, std::uint32_t* audioLength,
                         std::int32_t* audioStatus, std::int32_t* errorCode) override;
    std::int32_t sessionEnd(const char* sessionId, const char* hints) override;
    std::int32_t fini() override;

private:
    // Scribbles over the memory handed out by the previous call. The blocks
    // stay allocated, so a missing copy shows as wrong bytes in any build
    // rather than only under a sanitizer.
    void invalidateHandedOut();
    const char* handOut(const void* data, std::size_t size, std::size_t capacity);

    std::deque<std::int32_t> m_initResults;
    std::deque<std::optional<std::string>> m_sessionIds;
    std::deque<std::int32_t> m_textPutResults;
    std::deque<AudioPoll> m_polls;
    std::deque<std::int32_t> m_sessionEndResults;
    std::function<void()> m_onAudioGet;
    int m_sessionsBegun = 0;

    std::vector<SdkCall> m_calls;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_lastHandedOut = nullptr;
    std::size_t m_lastHandedOutSize = 0;
};

}  // namespace tarvane
