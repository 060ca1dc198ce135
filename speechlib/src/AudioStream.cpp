#include "AudioStream.h"

#include "msc.h"

namespace speechlib {

bool AudioStream::begin() {
    std::lock_guard lock(m_mutex);
    if (m_state == State::Running || m_state == State::Finished) {
        return false;
    }
    m_state = State::Running;
    m_pending.clear();
    m_error = MSC_SUCCESS;
    return true;
}

void AudioStream::push(std::vector<std::int16_t> samples) {
    {
        std::lock_guard lock(m_mutex);
        if (m_pending.empty()) {
            m_pending = std::move(samples);
        } else {
            m_pending.insert(m_pending.end(), samples.begin(), samples.end());
        }
    }
    m_ready.notify_all();
}

void AudioStream::finish(std::vector<std::int16_t> lastSamples, std::int32_t error) {
    {
        std::lock_guard lock(m_mutex);
        if (m_pending.empty()) {
            m_pending = std::move(lastSamples);
        } else {
            m_pending.insert(m_pending.end(), lastSamples.begin(), lastSamples.end());
        }
        m_error = error;
        m_state = State::Finished;
    }
    m_ready.notify_all();
}

AudioStream::Chunk AudioStream::take(std::chrono::milliseconds wait) {
    std::unique_lock lock(m_mutex);
    if (m_state == State::Idle) {
        return {{}, MSC_AUDIO_COMPLETE, MSC_ERROR_NO_TEXT};
    }
    if (m_state == State::Delivered) {
        return {{}, MSC_AUDIO_COMPLETE, m_error};
    }
    m_ready.wait_for(lock, wait,
                     [this] { return !m_pending.empty() || m_state == State::Finished; });
    Chunk chunk;
    if (m_pending.size() > kMaxChunkSamples) {
        // Hours of untaken audio would overflow the caller's 32-bit length.
        const auto cut = m_pending.begin() + kMaxChunkSamples;
        chunk.samples.assign(m_pending.begin(), cut);
        m_pending.erase(m_pending.begin(), cut);
        chunk.status = MSC_AUDIO_CONTINUE;
        chunk.error = MSC_SUCCESS;
        return chunk;
    }
    chunk.samples.swap(m_pending);
    if (m_state == State::Finished) {
        m_state = State::Delivered;
        chunk.status = MSC_AUDIO_COMPLETE;
        chunk.error = m_error;
    } else {
        chunk.status = MSC_AUDIO_CONTINUE;
        chunk.error = MSC_SUCCESS;
    }
    return chunk;
}

}  // namespace speechlib
