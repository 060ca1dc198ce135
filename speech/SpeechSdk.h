#pragma once

// The six entry points of the speech library, as the program calls them.
// Integers are 32-bit; texts are zero-terminated byte strings; memory the
// library returns stays the library's and is copied by the caller at once.

#include <cstdint>

namespace tarvane {

// Audio status value that marks the last chunk of a session's audio.
inline constexpr std::int32_t kAudioStatusComplete = 2;

class SpeechSdk {
public:
    virtual ~SpeechSdk() = default;
    // 0 when initialised.
    virtual std::int32_t init(const char* config) = 0;
    // The session id text, or null. `errorCode` may be null.
    virtual const char* sessionBegin(const char* params, std::int32_t* errorCode) = 0;
    // 0 when the text was accepted; `length` counts bytes without terminator.
    virtual std::int32_t textPut(const char* sessionId, const char* text, std::uint32_t length,
                                 const char* params) = 0;
    // `*audioLength` bytes of 16-bit mono PCM, or null.
    virtual const void* audioGet(const char* sessionId, std::uint32_t* audioLength,
                                 std::int32_t* audioStatus, std::int32_t* errorCode) = 0;
    // 0 when ended.
    virtual std::int32_t sessionEnd(const char* sessionId, const char* hints) = 0;
    virtual std::int32_t fini() = 0;
};

}  // namespace tarvane
