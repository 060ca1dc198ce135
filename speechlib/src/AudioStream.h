#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace speechlib {

// The audio of one session passed from the synthesis thread to the caller.
// The last samples and the end mark are published together, so the caller
// learns "no more audio" with the last chunk and never a poll later.
class AudioStream {
public:
    // The most one take hands out; the rest waits for the next.
    static constexpr std::size_t kMaxChunkSamples = std::size_t{1} << 26;

    struct Chunk {
        std::vector<std::int16_t> samples;
        std::int32_t status = 0;  // an MscAudioStatus value
        std::int32_t error = 0;   // an MscErrorCode value
    };

    // Readies the stream for a new text. False while the previous text's
    // audio has not all been taken: its end would be lost.
    [[nodiscard]] bool begin();

    void push(std::vector<std::int16_t> samples);
    // Publishes the last samples and the end of the text's audio; a non-zero
    // `error` says why the audio stopped early.
    void finish(std::vector<std::int16_t> lastSamples, std::int32_t error);

    // All audio queued since the last take. Waits up to `wait` when none is
    // queued yet, and returns an empty chunk that is still under way if none
    // comes. Before any text, and after the end was taken, the chunk is
    // empty and complete.
    [[nodiscard]] Chunk take(std::chrono::milliseconds wait);

    // Asks the synthesis to stop; it checks between blocks of samples.
    void cancel() { m_cancelled = true; }
    [[nodiscard]] bool isCancelled() const { return m_cancelled; }

private:
    enum class State { Idle, Running, Finished, Delivered };

    std::mutex m_mutex;
    std::condition_variable m_ready;
    State m_state = State::Idle;
    std::vector<std::int16_t> m_pending;
    std::int32_t m_error = 0;
    std::atomic<bool> m_cancelled = false;
};

}  // namespace speechlib
