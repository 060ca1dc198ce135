#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "AudioStream.h"
#include "SessionSettings.h"

namespace speechlib {

class SpeechEngine;

// One text to speak and where its audio goes.
struct SynthesisJob {
    SessionSettings settings;
    std::string utf8Text;
    std::shared_ptr<AudioStream> stream;
};

// The thread that owns the speech engine. The engine keeps global state, so
// every text of every session is spoken here, one after the other.
class SynthesisWorker {
public:
    // Starts the thread and the engine on it; null when the engine fails.
    [[nodiscard]] static std::unique_ptr<SynthesisWorker> start();
    // Stops the text under way, ends every queued one, and joins the thread.
    ~SynthesisWorker();
    SynthesisWorker(const SynthesisWorker&) = delete;
    SynthesisWorker& operator=(const SynthesisWorker&) = delete;

    void enqueue(SynthesisJob job);

private:
    SynthesisWorker() = default;
    void run(std::unique_ptr<SpeechEngine> engine);
    [[nodiscard]] std::optional<SynthesisJob> nextJob();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<SynthesisJob> m_jobs;
    std::shared_ptr<AudioStream> m_current;
    bool m_stopping = false;
    std::thread m_thread;
};

}  // namespace speechlib
