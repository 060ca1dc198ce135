#include "SynthesisWorker.h"

#include <future>

#include "Speaker.h"
#include "SpeechEngine.h"
#include "msc.h"

namespace speechlib {

std::unique_ptr<SynthesisWorker> SynthesisWorker::start() {
    std::unique_ptr<SynthesisWorker> worker(new SynthesisWorker());
    std::promise<bool> started;
    std::future<bool> outcome = started.get_future();
    // The thread owns the promise, so setting it never touches our stack.
    worker->m_thread = std::thread([self = worker.get(), started = std::move(started)]() mutable {
        auto engine = SpeechEngine::acquire();
        const bool ok = engine != nullptr;
        started.set_value(ok);
        if (ok) {
            self->run(std::move(engine));
        }
    });
    if (!outcome.get()) {
        worker->m_thread.join();
        return nullptr;
    }
    return worker;
}

SynthesisWorker::~SynthesisWorker() {
    std::deque<SynthesisJob> abandoned;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        abandoned.swap(m_jobs);
        if (m_current) {
            m_current->cancel();
        }
    }
    m_wake.notify_all();
    // A caller still polling one of these must learn that no audio comes.
    for (SynthesisJob& job : abandoned) {
        job.stream->finish({}, MSC_ERROR_CANCELLED);
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void SynthesisWorker::enqueue(SynthesisJob job) {
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_all();
}

void SynthesisWorker::run(std::unique_ptr<SpeechEngine> engine) {
    while (auto job = nextJob()) {
        speakJob(*engine, *job);
        std::lock_guard lock(m_mutex);
        m_current.reset();
    }
    // The engine is given back on this thread, which it was acquired on.
}

std::optional<SynthesisJob> SynthesisWorker::nextJob() {
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
    if (m_stopping) {
        return std::nullopt;
    }
    SynthesisJob job = std::move(m_jobs.front());
    m_jobs.pop_front();
    m_current = job.stream;
    return job;
}

}  // namespace speechlib
